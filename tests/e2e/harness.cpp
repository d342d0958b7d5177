#include "harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <io.h>
#include <thread>
#include <vector>

#include "platform/bmp_file.h"
#include "platform/win32/handles.h"

namespace e2e {

namespace {

constexpr int kFirstControlId = 1000;

struct FindChild {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM l) {
    auto* find = reinterpret_cast<FindChild*>(l);
    if (GetDlgCtrlID(window) == find->id) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void SendKey(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

}  // namespace

Settings& Config() {
    static Settings settings;
    return settings;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

const char* ArgumentValue(const std::string& arg, const char* name) {
    const std::size_t n = std::strlen(name);
    return arg.compare(0, n, name) == 0 ? arg.c_str() + n : nullptr;
}

std::vector<std::string> TakeDriverArguments(int argc, char** argv) {
    std::vector<std::string> others;
    std::string log;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (auto v = ArgumentValue(arg, "--pigmora="))
            Config().pigmoraExe = Wide(v);
        else if (auto v = ArgumentValue(arg, "--artifacts="))
            Config().artifacts = Wide(v);
        else if (auto v = ArgumentValue(arg, "--log="))
            log = v;
        else
            others.push_back(arg);
    }
    if (!log.empty()) {
        std::freopen(log.c_str(), "w", stdout);
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        std::fflush(stderr);
        _dup2(_fileno(stdout), _fileno(stderr));
    }
    return others;
}

int ReportExit(int code) {
    std::printf("PIGMORA_E2E_EXIT=%d\n", code);
    std::fflush(stdout);
    return code;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

Pigmora::Pigmora() {
    // Every test starts with the pointer parked away from the window and the buttons up.
    MovePointer({5, 5});
    std::wstring command = L"\"" + Config().pigmoraExe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        ADD_FAILURE() << "could not start " << Utf8(Config().pigmoraExe);
        return;
    }
    process_.reset(info.hProcess);
    pigmora::win32::unique_kernel_handle thread(info.hThread);
    threadId_ = info.dwThreadId;
    WaitUntil([&] {
        HWND w = FindWindowW(L"PigmoraMainWindow", L"Pigmora");
        DWORD pid = 0;
        if (w) GetWindowThreadProcessId(w, &pid);
        if (w && pid == info.dwProcessId && IsWindowVisible(w)) window_ = w;
        return window_ != nullptr;
    });
    if (!window_) {
        ADD_FAILURE() << "Pigmora's window did not appear";
        return;
    }
    // The first paint of every control has happened once the window answers.
    DWORD_PTR ignored;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine activates a new window a little later; an activation in the middle of the first
    // click would cancel the button's capture and lose the click.
    WaitUntil([&] { return GetForegroundWindow() == window_; }, std::chrono::seconds(3));
}

Pigmora::~Pigmora() {
    if (!process_) return;
    // Leave no button held for the next test.
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) ReleaseLeft();
    if (GetAsyncKeyState(VK_RBUTTON) & 0x8000) ReleaseRight();
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        if (window_ && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.get(), 5000) == WAIT_TIMEOUT) {
            TerminateProcess(process_.get(), 99);
            WaitForSingleObject(process_.get(), 5000);
        }
    }
}

HWND Pigmora::control(Control c) const {
    FindChild find{kFirstControlId + static_cast<int>(c), nullptr};
    EnumChildWindows(window_, MatchId, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

RECT Pigmora::ScreenRect(Control c) const {
    RECT r{};
    GetWindowRect(c == Control::MainWindow ? window_ : control(c), &r);
    return r;
}

RECT Pigmora::ClientRectOnScreen(Control c) const {
    HWND h = c == Control::MainWindow ? window_ : control(c);
    RECT r{};
    GetClientRect(h, &r);
    MapWindowPoints(h, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT Pigmora::Centre(Control c) const {
    const RECT r = ScreenRect(c);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT Pigmora::ClientPoint(Control c, int x, int y) const {
    const RECT r = ClientRectOnScreen(c);
    return {r.left + x, r.top + y};
}

std::wstring Pigmora::Text(Control c) const {
    HWND h = c == Control::MainWindow ? window_ : control(c);
    DWORD_PTR length = 0;
    SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_BLOCK, 5000, &copied);
    text.resize(copied);
    return text;
}

std::string Pigmora::Utf8Text(Control c) const { return Utf8(Text(c)); }

HWND Pigmora::CaptureHolder() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(threadId_, &info);
    return info.hwndCapture;
}

bool Pigmora::PressAndHold(Control source) { return PressAndHold(source, PointerInputInUse()); }

bool Pigmora::PressAndHold(Control source, PointerInput via) {
    // Presses land on alternate sides of the centre: two quick presses on one spot make a
    // double click, which starts no drag.
    static bool leftSide = false;
    leftSide = !leftSide;
    const RECT r = ScreenRect(source);
    const POINT centre = Centre(source);
    GlidePointer({r.left - 4, centre.y}, 4);
    GlidePointer({centre.x + (leftSide ? -3 : 3), centre.y}, 3);
    PressLeft(via);
    return WaitUntil([&] { return CaptureHolder() == control(source); });
}

bool Pigmora::HasExited(std::chrono::milliseconds wait) const {
    return WaitForSingleObject(process_.get(), static_cast<DWORD>(wait.count())) == WAIT_OBJECT_0;
}

constexpr wchar_t kXdotool[] = L"Z:\\usr\\bin\\xdotool";

PointerInput& PointerInputInUse() {
    static PointerInput input = GetFileAttributesW(kXdotool) != INVALID_FILE_ATTRIBUTES
                                    ? PointerInput::XServer
                                    : PointerInput::Injected;
    return input;
}

namespace {

// Starts xdotool with `arguments`. Wine hands back no handle to wait on for a program of the
// host system (and no thread handle worth closing), so callers wait for what it does. False
// when it could not be started: the driver injects from then on.
bool Xdotool(const std::wstring& arguments) {
    std::wstring command = std::wstring(kXdotool) + L" " + arguments;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        PointerInputInUse() = PointerInput::Injected;
        return false;
    }
    if (info.hProcess) {  // a real process after all
        const pigmora::win32::unique_kernel_handle process(info.hProcess), thread(info.hThread);
        WaitForSingleObject(process.get(), 5000);
    }
    return true;
}

// A button goes down or up in the X server, or is injected. The next event is sent once the
// system has this one: two xdotool runs could otherwise overtake each other.
void SendButton(int button, bool down, PointerInput via) {
    const int key = button == 1 ? VK_LBUTTON : VK_RBUTTON;
    if (via == PointerInput::XServer &&
        Xdotool((down ? L"mousedown " : L"mouseup ") + std::to_wstring(button))) {
        WaitUntil([&] { return ((GetAsyncKeyState(key) & 0x8000) != 0) == down; },
                  std::chrono::seconds(5));
        return;
    }
    const DWORD left = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    const DWORD right = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    SendMouse(button == 1 ? left : right);
}

}  // namespace

void SendPointerMove(POINT to) {
    if (PointerInputInUse() == PointerInput::XServer &&
        Xdotool(L"mousemove " + std::to_wstring(to.x) + L" " + std::to_wstring(to.y))) {
        WaitUntil([&] { return PointerAt(to); }, std::chrono::seconds(2));
        return;
    }
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    // Normalised absolute coordinates, rounded up: the system maps them back truncating.
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
              static_cast<LONG>((to.x * 65536LL + w - 1) / w),
              static_cast<LONG>((to.y * 65536LL + h - 1) / h));
}

void MovePointer(POINT to) {
    bool landed = false;
    for (int attempt = 0; attempt < 3 && !landed; ++attempt) {
        SendPointerMove(to);
        landed = WaitUntil([&] { return PointerAt(to); }, std::chrono::milliseconds(700));
    }
    if (!landed) ADD_FAILURE() << "the pointer did not reach (" << to.x << ", " << to.y << ")";
}

void GlidePointer(POINT to, int steps) {
    const POINT from = PointerPosition();
    for (int i = 1; i <= steps; ++i)
        MovePointer({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
}

void PressLeft() { SendButton(1, true, PointerInputInUse()); }
void ReleaseLeft() { SendButton(1, false, PointerInputInUse()); }
void PressLeft(PointerInput via) { SendButton(1, true, via); }
void ReleaseLeft(PointerInput via) { SendButton(1, false, via); }
void PressRight() { SendButton(3, true, PointerInputInUse()); }
void ReleaseRight() { SendButton(3, false, PointerInputInUse()); }

void ClickLeft(POINT at) {
    MovePointer(at);
    PressLeft();
    ReleaseLeft();
}

void PressKey(WORD key) { SendKey(key, 0); }
void ReleaseKey(WORD key) { SendKey(key, KEYEVENTF_KEYUP); }
void TapKey(WORD key) {
    PressKey(key);
    ReleaseKey(key);
}

POINT PointerPosition() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

bool PointerAt(POINT to) {
    const POINT at = PointerPosition();
    return at.x == to.x && at.y == to.y;
}

COLORREF ScreenPixel(POINT at) {
    pigmora::win32::WindowDc screen(nullptr);
    return GetPixel(screen.get(), at.x, at.y);
}

void SaveScreenshot(const std::string& name) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    std::vector<std::uint8_t> bmp = pigmora::NewBmp24(w, h);
    using namespace pigmora::win32;
    WindowDc screen(nullptr);
    unique_hdc memory(CreateCompatibleDC(screen.get()));
    unique_hbitmap bitmap(CreateCompatibleBitmap(screen.get(), w, h));
    {
        Selection selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, w, h, screen.get(), 0, 0, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    GetDIBits(memory.get(), bitmap.get(), 0, h, bmp.data() + pigmora::kBmpPixelOffset, &info,
              DIB_RGB_COLORS);
    const std::wstring path = Config().artifacts + L"\\" + Wide(name) + L".bmp";
    unique_kernel_handle file =
        OwnFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return;
    DWORD written = 0;
    WriteFile(file.get(), bmp.data(), static_cast<DWORD>(bmp.size()), &written, nullptr);
}

CursorShape CurrentCursor() {
    CURSORINFO info{sizeof(info)};
    GetCursorInfo(&info);
    CursorShape shape{info.hCursor, 0, 0, 0, 0};
    ICONINFO icon{};
    if (info.hCursor && GetIconInfo(info.hCursor, &icon)) {
        pigmora::win32::unique_hbitmap mask(icon.hbmMask), colour(icon.hbmColor);
        BITMAP bits{};
        GetObjectW(mask.get(), sizeof bits, &bits);
        shape.width = bits.bmWidth;
        shape.height = colour ? bits.bmHeight : bits.bmHeight / 2;
        shape.hotX = static_cast<int>(icon.xHotspot);
        shape.hotY = static_cast<int>(icon.yHotspot);
    }
    return shape;
}

std::optional<std::string> ClipboardText() {
    std::optional<std::string> text;
    for (int attempt = 0; attempt < 100 && !OpenClipboard(nullptr); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        pigmora::win32::GlobalLockGuard locked(data);
        if (const char* bytes = static_cast<const char*>(locked.get()))
            text = std::string(bytes, strnlen(bytes, GlobalSize(data)));
    }
    CloseClipboard();
    return text;
}

void PutClipboardText(const std::string& text) {
    pigmora::win32::ClipboardSession clipboard(nullptr);
    if (!clipboard.is_open()) return;
    EmptyClipboard();
    pigmora::win32::unique_hglobal block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!block) return;
    {
        pigmora::win32::GlobalLockGuard locked(block.get());
        memcpy(locked.get(), text.c_str(), text.size() + 1);
    }
    if (SetClipboardData(CF_TEXT, block.get())) block.release();
}

}  // namespace e2e
