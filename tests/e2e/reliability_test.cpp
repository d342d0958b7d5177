// What must survive a long day and a hostile desktop: a soak with resource figures, faults of
// the clipboard, the registry, the pointer capture and the region window, and bad input.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"
#include "registry.h"
#include "soak.h"

namespace e2e {
namespace {

using enum pigmora::Control;

void ForgetSavedColours() { DeleteMachineKeyTree(kQuovKey); }

HWND MessageBoxOf(const Pigmora& app) {
    HWND box = FindWindowW(L"#32770", nullptr);
    DWORD pid = 0;
    if (box) GetWindowThreadProcessId(box, &pid);
    return box && pid == GetProcessId(app.process()) ? box : nullptr;
}

// A press on the colour block picks that cell's colour at once.
void PickFromBlock(Pigmora& app, int x, int y, const char* html) {
    MovePointer(app.ClientPoint(取色_色块, x, y));
    PressLeft();
    ReleaseLeft();
    const bool shown = WaitUntil([&] { return app.Utf8Text(取色_HTML) == html; });
    if (!shown) SaveScreenshot(std::string("pick-failed-") + html);
    ASSERT_TRUE(shown) << html << ", shown " << app.Utf8Text(取色_HTML)
                       << (MessageBoxOf(app) ? ", a message box is open" : "");
}

void RightClick(POINT at) {
    MovePointer(at);
    PressRight();
    ReleaseRight();
}

std::string RegionLine(const Pigmora& app) { return app.Utf8Text(取色_X); }

// A few pixels across a drag source's box, enough to tell its pictures apart.
std::vector<COLORREF> BoxPicture(const Pigmora& app, Control box) {
    std::vector<COLORREF> pixels;
    for (int i = 2; i < 30; i += 3) pixels.push_back(ScreenPixel(app.ClientPoint(box, i, i)));
    return pixels;
}

class ReliabilityTest : public ::testing::Test {
protected:
    void SetUp() override { ForgetSavedColours(); }
    void TearDown() override { ForgetSavedColours(); }
};

TEST_F(ReliabilityTest, ShortSoakLeavesResourceUseFlat) {
    Pigmora app;
    const SoakReport report = RunSoak(app, {.dropperMoves = 1000,
                                            .magnifierMovesAt16 = 100,
                                            .magnifierMovesAt1 = 10,
                                            .copyClicks = 100,
                                            .saveClearCycles = 10});
    std::printf("soak before: %s\nsoak after:  %s\nphases: %.1f %.1f %.1f %.1f %.1f s\n",
                Describe(report.before).c_str(), Describe(report.after).c_str(),
                report.seconds[0], report.seconds[1], report.seconds[2], report.seconds[3],
                report.seconds[4]);
    EXPECT_TRUE(report.answering);
    EXPECT_LE(report.after.gdiObjects, report.before.gdiObjects + 10);
    EXPECT_LE(report.after.userObjects, report.before.userObjects + 10);
    // A position-1 snapshot alone is 28 MB: a leak of one per movement would show at once.
    // Wine reports no private bytes, so the working set is checked too.
    EXPECT_LE(report.after.privateBytes, report.before.privateBytes + 32 * 1048576ull);
    EXPECT_LE(report.after.workingSet, report.before.workingSet + 32 * 1048576ull);
    PickFromBlock(app, 13, 14, "#9900FF");
}

// A parent key made volatile refuses lasting subkeys, so the slots' key can be neither opened
// nor created: the registry cannot be written.
TEST_F(ReliabilityTest, UnwritableRegistryKeepsTheSlotAndLaterSavesStillWork) {
    pigmora::win32::unique_hkey blocker;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quov", 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, blocker.put(), nullptr),
              ERROR_SUCCESS);
    Pigmora app;
    PickFromBlock(app, 13, 14, "#9900FF");
    RightClick(app.Centre(取色_颜色3));
    ClickLeft(app.Centre(取色_保存));
    const POINT inside = app.ClientPoint(取色_颜色3, 16, 16);
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(inside) == RGB(153, 0, 255); }))
        << "the slot keeps its colour";
    EXPECT_FALSE(SlotStored(3));
    EXPECT_EQ(MessageBoxOf(app), nullptr) << "nothing is reported";

    blocker.reset();
    ForgetSavedColours();
    RightClick(app.Centre(取色_颜色3));
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(inside) != RGB(153, 0, 255); }));
    ClickLeft(app.Centre(取色_保存));
    EXPECT_TRUE(WaitUntil([] { return SlotStored(3); })) << "saving works again";
}

// RegionFrame closed with Esc in the middle of a magnifier drag is covered by the magnifier's
// own scenarios (MagnifierTest.EscClosesTheRegionWindowAndTheNextPressMakesANewOne).

// Another program's window that takes the foreground and the pointer capture on request.
class CaptureThief {
public:
    CaptureThief() {
        thread_ = std::thread([this] { Run(); });
        WaitUntil([&] { return window_.load() != nullptr; });
    }
    ~CaptureThief() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    void Steal() { PostMessageW(window_, WM_APP, 0, 0); }
    bool HasCapture() const { return captured_; }

private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<CaptureThief*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        if (m == WM_APP && self) {
            SetForegroundWindow(w);
            SetCapture(w);
            self->captured_ = GetCapture() == w;
            return 0;
        }
        if (m == WM_LBUTTONUP) ReleaseCapture();  // as a window that took it for a drag does
        if (m == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(w, m, wp, lp);
    }
    void Run() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PigmoraCaptureThief";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        RegisterClassW(&wc);
        HWND w = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"thief", WS_POPUP | WS_VISIBLE,
                                 1000, 900, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        window_ = w;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    }
    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> captured_{false};
};

// With the capture gone the release lands elsewhere: the dropper stays in its drag, samples
// while the pointer is over its box, and ends with a release over it. The button is injected:
// pressed in the X server, Wine would send its release to the window it went down on.
TEST_F(ReliabilityTest, CaptureTakenAwayMidDrag) {
    CaptureThief thief;
    Pigmora app;
    const auto idleBox = BoxPicture(app, 取色_光标);
    ASSERT_TRUE(app.PressAndHold(取色_光标, PointerInput::Injected));
    const POINT red = app.ClientPoint(取色_色块, 30, 150);  // the (255, 0, 0) cell
    GlidePointer(red);
    ASSERT_TRUE(WaitUntil([&] { return app.Utf8Text(取色_HTML) == "#FF0000"; }));
    thief.Steal();
    ASSERT_TRUE(WaitUntil([&] { return thief.HasCapture(); })) << "the other window took the capture";
    GlidePointer({1100, 950});
    ReleaseLeft(PointerInput::Injected);
    ASSERT_TRUE(WaitUntil([] { return !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); }));
    EXPECT_NE(BoxPicture(app, 取色_光标), idleBox) << "the box never saw the release";

    // Over its own box the dropper still samples, with no button held: the box's own pixels.
    GlidePointer(app.ClientPoint(取色_光标, 1, 16));
    EXPECT_TRUE(WaitUntil([&] { return app.Utf8Text(取色_HTML) != "#FF0000"; }))
        << "movements over the box keep sampling";
    PressLeft();
    ReleaseLeft();
    EXPECT_TRUE(WaitUntil([&] { return BoxPicture(app, 取色_光标) == idleBox; }))
        << "a release over the box ends the drag";
}

TEST_F(ReliabilityTest, MagnifierAtPositionOneNearTheCorner) {
    Pigmora app;
    SendMessageW(app.control(取色_倍数), TBM_SETPOS, TRUE, 1);
    ASSERT_TRUE(app.PressAndHold(取色_放大镜));
    GlidePointer({2, 3}, 20);
    std::string line;
    ASSERT_TRUE(WaitUntil([&] {
        RECT r{};
        HWND frame = FindWindowW(L"PigmoraRegionFrame", nullptr);
        if (!frame || !GetWindowRect(frame, &r)) return false;
        const int w = r.right - r.left, h = r.bottom - r.top;
        line = "区域信息[ X: " + std::to_string(static_cast<int>(2 - w / 2.0)) + " Y: " +
               std::to_string(static_cast<int>(3 - h / 2.0)) + " ] 宽: " + std::to_string(w) +
               " 高: " + std::to_string(h);
        return RegionLine(app) == line;
    })) << RegionLine(app);
    std::printf("region line at (2, 3), position 1: %s\n", line.c_str());
    EXPECT_NE(line.find("X: -"), std::string::npos);
    SaveScreenshot("magnifier-position-1-corner");
    ReleaseLeft();
    DWORD_PTR ignored;
    EXPECT_NE(SendMessageTimeoutW(app.window(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored), 0);
}

TEST_F(ReliabilityTest, LongPasteIntoTheDecimalBoxSavesNothing) {
    Pigmora app;
    PickFromBlock(app, 13, 14, "#9900FF");
    RightClick(app.Centre(取色_颜色2));
    // 64 KiB pasted: Wine's edit box takes many seconds for each further piece of that size,
    // so the megabyte itself goes through the save handler in the unit tests.
    constexpr LRESULT kPasted = 1 << 16;
    PutClipboardText(std::string(kPasted, '7'));
    ClickLeft(app.Centre(取色_10进制));
    ASSERT_TRUE(WaitUntil([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(app.threadId(), &info);
        return info.hwndFocus == app.control(取色_10进制);
    }));
    SendMessageW(app.control(取色_10进制), EM_SETSEL, 0, -1);
    PressKey(VK_CONTROL);
    TapKey('V');
    ReleaseKey(VK_CONTROL);
    ASSERT_TRUE(WaitUntil([&] {
        return SendMessageW(app.control(取色_10进制), WM_GETTEXTLENGTH, 0, 0) == kPasted;
    })) << "the box holds " << SendMessageW(app.control(取色_10进制), WM_GETTEXTLENGTH, 0, 0);
    ClickLeft(app.Centre(取色_保存));
    // The next pick proves the save click was handled before it.
    PickFromBlock(app, 30, 14, "#990000");
    EXPECT_FALSE(SlotStored(2));
    EXPECT_EQ(MessageBoxOf(app), nullptr);
    ClickLeft(app.Centre(取色_保存));
    EXPECT_TRUE(WaitUntil([] { return SlotStored(2); })) << "a real number saves again";
}

TEST_F(ReliabilityTest, AnyTextInAnyBoxCopiesAsTheSystemCodePageHasIt) {
    Pigmora app;
    const std::wstring kTexts[] = {
        L"", L"   ", L"颜色 #FF0000", L"\U0001F3A8 palette", L"tab\there", L"0x1F&h00FF&$",
        std::wstring(5000, L'9'), L"line\r\nbreak",
    };
    const Control rows[][2] = {{取色_HTML, 取色_按钮5},     {取色_10进制, 取色_按钮1},
                               {取色_16进制, 取色_按钮2},   {取色_RGB, 取色_按钮3},
                               {取色_HSL, 取色_按钮4},      {取色_VB, 取色_按钮6},
                               {取色_C, 取色_按钮7},        {取色_Delphi, 取色_按钮8}};
    for (const std::wstring& text : kTexts) {
        for (const auto& row : rows) {
            SendMessageW(app.control(row[0]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
            const std::wstring shown = app.Text(row[0]);  // what the box really holds
            const int n = WideCharToMultiByte(CP_ACP, 0, shown.data(), static_cast<int>(shown.size()),
                                              nullptr, 0, nullptr, nullptr);
            std::string expected(static_cast<std::size_t>(n), '\0');
            WideCharToMultiByte(CP_ACP, 0, shown.data(), static_cast<int>(shown.size()),
                                expected.data(), n, nullptr, nullptr);
            PutClipboardText("sentinel");
            ClickLeft(app.Centre(row[1]));
            EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == expected; }))
                << "row " << static_cast<int>(row[0]) << ", text of " << text.size() << " units";
        }
    }
}

}  // namespace
}  // namespace e2e
