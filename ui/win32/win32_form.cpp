#include "ui/win32/win32_form.h"

#include <commctrl.h>

#include "platform/win32/base_window.h"
#include "platform/win32/text.h"

namespace pigmora::win32 {

namespace {

constexpr wchar_t kMainWindowClass[] = L"PigmoraMainWindow";
constexpr wchar_t kControlClass[] = L"PigmoraControl";
constexpr wchar_t kRegionFrameClass[] = L"PigmoraRegionFrame";
constexpr int kFirstControlId = 1000;

int IdOf(Control c) { return kFirstControlId + static_cast<int>(c); }

COLORREF ShownColour(ColorValue value) {
    // The empty-slot marker -1 goes to the brush unchanged, like every other value.
    return value == DefaultBackground ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(value);
}

bool IsPointerOver(HWND window) {
    POINT at{};
    return GetCursorPos(&at) && WindowFromPoint(at) == window;
}

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// A group box paints only its frame and caption; the main window clips its children, so the
// inside is filled here with the window's own colour.
LRESULT CALLBACK GroupBoxProc(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                              DWORD_PTR) {
    if (message == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(w), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, GroupBoxProc, 0);
    return DefSubclassProc(window, message, w, l);
}

}  // namespace

LRESULT Win32Form::Host::HandleMessage(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (name) {
        case Control::MainWindow: return form->MainWindowMessage(window, message, w, l);
        case Control::RegionFrame: return form->RegionFrameMessage(window, message, w, l);
        default: return form->ControlMessage(name, window, message, w, l);
    }
}

void Win32Form::Host::OnDestroyed() { form->State(name).window = nullptr; }

Win32Form::Win32Form(HINSTANCE instance)
    : instance_(instance), editBrush_(CreateSolidBrush(RGB(255, 255, 255))) {
    for (int i = 0; i < kControlCount; ++i) hosts_[i] = Host{this, static_cast<Control>(i)};

    WNDCLASSEXW main{sizeof(main)};
    main.lpfnWndProc = BaseWindow<Host>::WindowProc;
    main.hInstance = instance;
    main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszClassName = kMainWindowClass;
    // Shared icons belong to the system, which frees them with the module.
    main.hIcon = static_cast<HICON>(
        LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, 32, 32, LR_SHARED));
    main.hIconSm = static_cast<HICON>(
        LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, 16, 16, LR_SHARED));
    RegisterClassExW(&main);

    // Labels and picture boxes draw themselves. A quick second press arrives as a double
    // click, which no handler takes.
    WNDCLASSEXW control{sizeof(control)};
    control.style = CS_DBLCLKS;
    control.lpfnWndProc = BaseWindow<Host>::WindowProc;
    control.hInstance = instance;
    control.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    control.lpszClassName = kControlClass;
    RegisterClassExW(&control);

    WNDCLASSEXW frame{sizeof(frame)};
    frame.lpfnWndProc = BaseWindow<Host>::WindowProc;
    frame.hInstance = instance;
    frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frame.lpszClassName = kRegionFrameClass;
    RegisterClassExW(&frame);
}

Win32Form::~Win32Form() {
    // RegionFrame outlives MainWindow otherwise: the program ends with its main window.
    for (Control window : {Control::RegionFrame, Control::MainWindow})
        if (HWND h = State(window).window) DestroyWindow(h);
}

bool Win32Form::LoadMainWindow() {
    const int width = kMainWindowSpec.width, height = kMainWindowSpec.height;
    const int left = CentredPosition(GetSystemMetrics(SM_CXSCREEN), width);
    const int top = CentredPosition(GetSystemMetrics(SM_CYSCREEN), height);
    HWND window = CreateWindowExW(
        WS_EX_CONTROLPARENT, kMainWindowClass, Utf8ToWide(kMainWindowSpec.caption).c_str(),
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, left, top,
        width, height, nullptr, nullptr, instance_, &hosts_[static_cast<int>(Control::MainWindow)]);
    if (!window) return false;
    State(Control::MainWindow).window = window;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);

    for (const ControlSpec& row : MainWindowControls())
        if (!CreateControl(row)) return false;
    // Where controls overlap, the one created first lies on top.
    for (auto row = MainWindowControls().rbegin(); row != MainWindowControls().rend(); ++row)
        SetWindowPos(State(row->name).window, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    if (kMainWindowCreated && desktop_) kMainWindowCreated(*this, *desktop_, Control::MainWindow);

    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(State(Control::取色_保存).window);
    UpdateWindow(window);
    return true;
}

bool Win32Form::CreateControl(const ControlSpec& row) {
    ControlState& state = State(row.name);
    state.backColor = row.backColor;
    state.caption = Utf8ToWide(row.text);
    state.displayMode = row.displayMode;
    state.pointer = row.pointer;
    if (row.picture) state.picture = Picture(std::vector<std::uint8_t>(
                          EmbeddedImage(*row.picture).begin(), EmbeddedImage(*row.picture).end()));

    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const wchar_t* windowClass = kControlClass;
    const wchar_t* text = L"";
    switch (row.kind) {
        case Kind::Label:
            style |= WS_CLIPCHILDREN;
            text = state.caption.c_str();
            break;
        case Kind::PictureBox: style |= WS_CLIPCHILDREN; break;
        case Kind::Button:
            windowClass = WC_BUTTONW;
            style |= BS_PUSHBUTTON | WS_TABSTOP;
            text = state.caption.c_str();
            break;
        case Kind::EditBox:
            windowClass = WC_EDITW;
            style |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
            break;
        case Kind::GroupBox:
            windowClass = WC_BUTTONW;
            style |= BS_GROUPBOX | WS_CLIPCHILDREN;
            text = state.caption.c_str();
            break;
        case Kind::Slider:
            windowClass = TRACKBAR_CLASSW;
            style |= TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP;
            break;
    }
    if (row.border == Border::SingleLine) style |= WS_BORDER;
    if (row.border == Border::Sunken) exStyle |= WS_EX_CLIENTEDGE;

    const bool ownClass = windowClass == kControlClass;
    HWND window = CreateWindowExW(exStyle, windowClass, text, style, row.rect.left, row.rect.top,
                                  row.rect.width, row.rect.height, State(row.parent).window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(row.name))),
                                  instance_,
                                  ownClass ? &hosts_[static_cast<int>(row.name)] : nullptr);
    if (!window) return false;
    state.window = window;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    if (row.kind == Kind::EditBox) SendMessageW(window, EM_SETLIMITTEXT, 0, 0);  // no limit
    if (row.kind == Kind::GroupBox) SetWindowSubclass(window, GroupBoxProc, 0, 0);
    if (row.kind == Kind::Slider) {
        const SliderRange& r = row.slider;
        SendMessageW(window, TBM_SETRANGE, FALSE, MAKELPARAM(r.minimum, r.maximum));
        SendMessageW(window, TBM_SETPAGESIZE, 0, r.pageStep);
        SendMessageW(window, TBM_SETLINESIZE, 0, r.lineStep);
        SendMessageW(window, TBM_SETTICFREQ, 1, 0);
        SendMessageW(window, TBM_SETPOS, TRUE, r.position);
    }
    return true;
}

void Win32Form::LoadRegionFrame() {
    HWND existing = State(Control::RegionFrame).window;
    if (existing && IsWindow(existing)) {
        // A drag source captures the pointer just before this; Wine ends that capture when
        // the active window changes, which would leave the drag without its movements and
        // its release. The capture is the caller's, so it is put back.
        HWND captured = GetCapture();
        if (IsIconic(existing))
            ShowWindow(existing, SW_RESTORE);
        else
            SetActiveWindow(existing);
        if (captured && GetCapture() != captured) SetCapture(captured);
        return;
    }
    const int size = kRegionFrameSpec.width;
    HWND window = CreateWindowExW(
        0, kRegionFrameClass, Utf8ToWide(kRegionFrameSpec.caption).c_str(), WS_POPUP,
        CentredPosition(GetSystemMetrics(SM_CXSCREEN), kRegionFrameSpec.width),
        CentredPosition(GetSystemMetrics(SM_CYSCREEN), kRegionFrameSpec.height), size,
        kRegionFrameSpec.height, nullptr, nullptr, instance_,
        &hosts_[static_cast<int>(Control::RegionFrame)]);
    State(Control::RegionFrame).window = window;
}

bool Win32Form::IsLoaded(Control window) const {
    HWND h = states_[static_cast<std::size_t>(window)].window;
    return h && IsWindow(h);
}

HWND Win32Form::HandleOf(Control c) const { return states_[static_cast<std::size_t>(c)].window; }

void Win32Form::Dispatch(MSG& message) {
    HWND main = State(Control::MainWindow).window;
    if (!main || !IsDialogMessageW(main, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // Input outranks repaints in the queue: while the pointer moves faster than the readout
    // follows, the controls it rewrote would not repaint until the pointer stops. What an input
    // changed goes on the screen before the next input is taken.
    const bool input = (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) ||
                       (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST);
    if (HWND shown = State(Control::MainWindow).window; input && shown)
        RedrawWindow(shown, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::optional<Control> Win32Form::FindByWindow(HWND window) {
    if (!window) return std::nullopt;
    const int index = GetDlgCtrlID(window) - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(Control::MainWindow)) return std::nullopt;
    if (states_[index].window != window) return std::nullopt;
    return static_cast<Control>(index);
}

void Win32Form::Raise(Control c, Handler Events::*event) {
    const ControlSpec& row = SpecOf(c);
    if (Handler handler = row.on.*event; handler && desktop_)
        handler(*this, *desktop_, row.subject.value_or(c));
}

bool Win32Form::ShowPointer(Control c) {
    HCURSOR cursor = cursors_.Get(State(c).pointer);
    if (!cursor) return false;
    SetCursor(cursor);
    return true;
}

LRESULT Win32Form::MainWindowMessage(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(w) == BN_CLICKED)
                if (auto c = FindByWindow(reinterpret_cast<HWND>(l))) Raise(*c, &Events::clicked);
            return 0;
        case WM_HSCROLL:
            // Every movement notification but the one that only marks the end of a movement.
            if (LOWORD(w) != TB_ENDTRACK)
                if (auto c = FindByWindow(reinterpret_cast<HWND>(l)))
                    Raise(*c, &Events::positionChanged);
            return 0;
        case WM_CTLCOLOREDIT:
            if (auto c = FindByWindow(reinterpret_cast<HWND>(l))) {
                HDC dc = reinterpret_cast<HDC>(w);
                SetTextColor(dc, ShownColour(SpecOf(*c).textColor));
                SetBkColor(dc, ShownColour(State(*c).backColor));
                return reinterpret_cast<LRESULT>(editBrush_.get());
            }
            break;
        case WM_SETCURSOR:
            // Standard controls ask their parent first; ours answer for themselves.
            if (LOWORD(l) == HTCLIENT)
                if (auto c = FindByWindow(reinterpret_cast<HWND>(w)); c && ShowPointer(*c))
                    return TRUE;
            break;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

LRESULT Win32Form::ControlMessage(Control c, HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_PAINT: PaintControl(c); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_LBUTTONDOWN: Raise(c, &Events::leftDown); return 0;
        case WM_LBUTTONUP: Raise(c, &Events::leftUp); return 0;
        case WM_RBUTTONDOWN: Raise(c, &Events::rightDown); return 0;
        case WM_RBUTTONUP: Raise(c, &Events::rightUp); return 0;
        case WM_MOUSEMOVE: Raise(c, &Events::mouseMove); return 0;
        case WM_SETCURSOR:
            if (LOWORD(l) == HTCLIENT && ShowPointer(c)) return TRUE;
            break;
    }
    return DefWindowProcW(window, message, w, l);
}

LRESULT Win32Form::RegionFrameMessage(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_KEYDOWN && w == VK_ESCAPE) {
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

void Win32Form::PaintControl(Control c) {
    ControlState& state = State(c);
    const ControlSpec& row = SpecOf(c);
    PaintDc paint(state.window);
    RECT client{};
    GetClientRect(state.window, &client);
    const SIZE size{client.right, client.bottom};
    if (size.cx <= 0 || size.cy <= 0) return;
    unique_hbrush background(CreateSolidBrush(ShownColour(state.backColor)));
    // A label with no caption, such as the swatches that the readout repaints on every
    // movement, is one fill: nothing to flicker, so it goes straight to the screen.
    if (row.kind == Kind::Label && state.caption.empty()) {
        FillRect(paint.get(), &client, background.get());
        return;
    }

    // Drawn off screen and copied in one go, so a live zoom view never flickers.
    unique_hdc memory(CreateCompatibleDC(paint.get()));
    unique_hbitmap canvas(CreateCompatibleBitmap(paint.get(), size.cx, size.cy));
    Selection canvasSelected(memory.get(), canvas.get());
    FillRect(memory.get(), &client, background.get());
    if (row.kind == Kind::PictureBox) {
        state.picture.Draw(memory.get(), size, state.displayMode);
    } else {
        Selection font(memory.get(), GuiFont());
        SetBkMode(memory.get(), TRANSPARENT);
        SetTextColor(memory.get(), ShownColour(row.textColor));
        const UINT align = row.align == Align::Centre ? DT_CENTER : DT_LEFT;
        DrawTextW(memory.get(), state.caption.c_str(), static_cast<int>(state.caption.size()),
                  &client, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | align);
    }
    BitBlt(paint.get(), 0, 0, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY);
}

// --- properties -------------------------------------------------------------------------

ColorValue Win32Form::BackColor(Control c) { return State(c).backColor; }

void Win32Form::SetBackColor(Control c, ColorValue value) {
    State(c).backColor = value;
    InvalidateRect(State(c).window, nullptr, FALSE);
}

void Win32Form::SetCaption(Control c, std::string_view utf8) {
    State(c).caption = Utf8ToWide(utf8);
    // Also the window's own text, so that screen readers and tests can read the label.
    SetWindowTextW(State(c).window, State(c).caption.c_str());
    InvalidateRect(State(c).window, nullptr, FALSE);
}

std::string Win32Form::Text(Control c) {
    HWND window = State(c).window;
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return WideToAnsi(text);
}

void Win32Form::SetText(Control c, std::string_view ansi) {
    SetWindowTextW(State(c).window, AnsiToWide(ansi).c_str());
}

void Win32Form::SetPicture(Control c, Asset image) {
    const auto file = EmbeddedImage(image);
    SetPicture(c, std::vector<std::uint8_t>(file.begin(), file.end()));
}

void Win32Form::SetPicture(Control c, std::vector<std::uint8_t> file) {
    State(c).picture = Picture(std::move(file));
    InvalidateRect(State(c).window, nullptr, FALSE);
}

void Win32Form::SetDisplayMode(Control c, int mode) {
    State(c).displayMode = mode < 0 ? 0 : mode > 2 ? 2 : mode;
    InvalidateRect(State(c).window, nullptr, FALSE);
}

bool Win32Form::PlayAnimation(Control c) { return State(c).playAnimation; }

void Win32Form::SetPlayAnimation(Control c, bool on) { State(c).playAnimation = on; }

void Win32Form::SetPointer(Control c, Pointer pointer) {
    State(c).pointer = pointer;
    if (IsPointerOver(State(c).window)) ShowPointer(c);
}

int Win32Form::SliderPosition(Control c) {
    return static_cast<int>(SendMessageW(State(c).window, TBM_GETPOS, 0, 0));
}

RECT Win32Form::WindowRectIn(Control c) {
    HWND window = State(c).window;
    RECT rect{};
    GetWindowRect(window, &rect);
    if (HWND parent = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr)
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int Win32Form::Left(Control c) { return WindowRectIn(c).left; }
int Win32Form::Top(Control c) { return WindowRectIn(c).top; }
int Win32Form::Width(Control c) {
    const RECT r = WindowRectIn(c);
    return r.right - r.left;
}
int Win32Form::Height(Control c) {
    const RECT r = WindowRectIn(c);
    return r.bottom - r.top;
}

void Win32Form::MoveTo(Control c, int left, int top, int width, int height, UINT flags) {
    SetWindowPos(State(c).window, nullptr, left, top, width, height,
                 flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::SetLeft(Control c, int value) { MoveTo(c, value, Top(c), 0, 0, SWP_NOSIZE); }
void Win32Form::SetTop(Control c, int value) { MoveTo(c, Left(c), value, 0, 0, SWP_NOSIZE); }
void Win32Form::SetWidth(Control c, int value) { MoveTo(c, 0, 0, value, Height(c), SWP_NOMOVE); }
void Win32Form::SetHeight(Control c, int value) { MoveTo(c, 0, 0, Width(c), value, SWP_NOMOVE); }

}  // namespace pigmora::win32
