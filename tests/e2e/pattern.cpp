#include "pattern.h"

#include <gtest/gtest.h>

#include <future>

#include "harness.h"
#include "platform/win32/base_window.h"
#include "platform/win32/handles.h"

namespace e2e {

namespace {

constexpr COLORREF kColours[TestPattern::kCount] = {
    RGB(255, 0, 0),     RGB(0, 0, 0),     RGB(255, 255, 255), RGB(0, 128, 255),
    RGB(63, 30, 19),    RGB(11, 0, 0),    RGB(0, 255, 0),     RGB(0, 0, 255),
    RGB(128, 128, 128), RGB(255, 255, 0), RGB(1, 2, 3),       RGB(192, 192, 192),
};
constexpr int kRows = (TestPattern::kCount + TestPattern::kColumns - 1) / TestPattern::kColumns;
constexpr wchar_t kClassName[] = L"PigmoraTestPattern";

// Block rectangles relative to the pattern's top left; the last column and row take the
// remainder, so the blocks cover the whole window.
RECT LocalBlock(const RECT& where, int index) {
    const int width = where.right - where.left, height = where.bottom - where.top;
    const int column = index % TestPattern::kColumns, row = index / TestPattern::kColumns;
    const int w = width / TestPattern::kColumns, h = height / kRows;
    return {column * w, row * h, column == TestPattern::kColumns - 1 ? width : (column + 1) * w,
            row == kRows - 1 ? height : (row + 1) * h};
}

class PatternWindow : public pigmora::win32::BaseWindow<PatternWindow> {
  public:
    explicit PatternWindow(RECT where) : where_(where) {}

    LRESULT HandleMessage(HWND window, UINT message, WPARAM w, LPARAM l) {
        switch (message) {
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT:
                OnPaint(window);
                return 0;
            case WM_MOUSEACTIVATE:
                return MA_NOACTIVATE;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                return DefWindowProcW(window, message, w, l);
        }
    }
    void OnDestroyed() {}

  private:
    void OnPaint(HWND window) {
        pigmora::win32::PaintDc paint(window);
        // Blocks beyond the colour list (a window taller than the grid) stay black.
        for (int i = 0; i < kRows * TestPattern::kColumns; ++i) {
            pigmora::win32::unique_hbrush brush(
                CreateSolidBrush(i < TestPattern::kCount ? kColours[i] : RGB(0, 0, 0)));
            const RECT block = LocalBlock(where_, i);
            FillRect(paint.get(), &block, brush.get());
        }
    }

    RECT where_;
};

void RegisterPatternClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = PatternWindow::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

TestPattern::TestPattern(RECT where) : where_(where) {
    std::promise<HWND> opened;
    std::future<HWND> window = opened.get_future();
    thread_ = std::thread([this, &opened] { Run(opened); });
    window_ = window.get();
    if (!window_) {
        ADD_FAILURE() << "the test pattern window did not open";
        return;
    }
    const bool shown = WaitUntil([&] {
        for (int i = 0; i < kCount; ++i)
            if (ScreenPixel(CentreOf(i)) != ColourOf(i)) return false;
        return true;
    });
    if (!shown) ADD_FAILURE() << "the test pattern does not show on the screen";
}

TestPattern::~TestPattern() {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (thread_.joinable()) thread_.join();
}

void TestPattern::Run(std::promise<HWND>& opened) {
    RegisterPatternClass();
    PatternWindow pattern(where_);
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName,
                                  L"Pigmora test pattern", WS_POPUP, where_.left, where_.top,
                                  where_.right - where_.left, where_.bottom - where_.top, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), &pattern);
    if (window) {
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
    }
    opened.set_value(window);
    if (!window) return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

RECT TestPattern::BlockOf(int index) const {
    RECT r = LocalBlock(where_, index);
    OffsetRect(&r, where_.left, where_.top);
    return r;
}

POINT TestPattern::CentreOf(int index) const {
    const RECT r = BlockOf(index);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

COLORREF TestPattern::ColourOf(int index) const { return kColours[index]; }

int TestPattern::IndexAt(POINT at) const {
    for (int i = 0; i < kCount; ++i) {
        const RECT r = BlockOf(i);
        if (PtInRect(&r, at)) return i;
    }
    return -1;
}

}  // namespace e2e
