// A test pattern for the screen-sampling scenarios: a borderless, topmost window of the driver
// that shows a fixed set of colour blocks at known screen positions. The blocks tile the window
// with no gaps or frames, so every pixel of a block's rectangle has exactly that block's colour.
#pragma once

#include <windows.h>

#include <future>
#include <thread>

namespace e2e {

class TestPattern {
  public:
    // The fixed colours, in block order: red, black, white, (0,128,255), (63,30,19), (11,0,0),
    // green, blue, grey (128,128,128), yellow, (1,2,3), silver (192,192,192).
    static constexpr int kCount = 12;
    static constexpr int kColumns = 4;  // blocks fill the window row by row, kColumns a row

    // Opens the window over `where` (screen coordinates) on a thread of its own, so it keeps
    // painting while the test waits, and returns once every block shows on the screen.
    explicit TestPattern(RECT where);
    ~TestPattern();
    TestPattern(const TestPattern&) = delete;
    TestPattern& operator=(const TestPattern&) = delete;

    HWND window() const { return window_; }
    RECT Area() const { return where_; }
    int Count() const { return kCount; }
    RECT BlockOf(int index) const;  // screen rectangle of one block
    POINT CentreOf(int index) const;
    COLORREF ColourOf(int index) const;
    // The block under a screen point, or -1 outside the pattern.
    int IndexAt(POINT at) const;

  private:
    void Run(std::promise<HWND>& opened);

    RECT where_;
    HWND window_ = nullptr;
    std::thread thread_;
};

}  // namespace e2e
