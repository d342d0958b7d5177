// The magnifier: press on its box and drag anywhere; the zoom view shows the screen around the
// pointer enlarged by the zoom factor, and the line under the readout names the rectangle.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "harness.h"
#include "magnifier_driver.h"
#include "pattern.h"
#include "readout_view.h"

namespace e2e {
namespace {

using enum pigmora::Control;

// Top left of the screen, clear of the centred main window: blocks of 100 x 50.
constexpr RECT kPatternArea{40, 40, 440, 190};
constexpr COLORREF kViewGround = RGB(248, 246, 246);
constexpr int kViewWidth = 298, kViewHeight = 313;  // the zoom view's client area
// The donation label lies inside the zoom view, over the picture.
constexpr RECT kDonationLabel{244, 289, 292, 313};

TEST(MagnifierTest, DragShowsTheRegionAroundThePointerAndTheReleaseKeepsIt) {
    Pigmora app;
    HoverBox(app);
    ASSERT_TRUE(PressBox(app));
    const std::string line = "区域信息[ X: 475 Y: 374 ] 宽: 49 高: 52";
    ASSERT_TRUE(DragUntilLine(app, {500, 400}, line)) << "shown: " << RegionLine(app);

    // RegionFrame is that rectangle, and hidden.
    const std::vector<HWND> frames = RegionFrames(app);
    ASSERT_EQ(frames.size(), 1u);
    RECT frame{};
    GetWindowRect(frames[0], &frame);
    EXPECT_EQ(frame.left, 475);
    EXPECT_EQ(frame.top, 374);
    EXPECT_EQ(frame.right - frame.left, 49);
    EXPECT_EQ(frame.bottom - frame.top, 52);
    EXPECT_FALSE(IsWindowVisible(frames[0]));

    const std::vector<COLORREF> picture = ZoomViewPixels(app);
    ASSERT_TRUE(ReleaseBox(app));
    // Whatever the release is followed by, the picture and the line stay.
    GlidePointer({900, 200}, 8);
    ASSERT_TRUE(ActivateMainWindow(app));
    EXPECT_EQ(RegionLine(app), line);
    EXPECT_EQ(ZoomViewPixels(app), picture);
}

TEST(MagnifierTest, TopLeftCornerGivesNegativeCoordinatesAndBlackBeyondTheScreen) {
    Pigmora app;
    HoverBox(app);
    ASSERT_TRUE(PressBox(app));
    // trunc(0 - 24.5) is -24, not -25.
    EXPECT_TRUE(DragUntilLine(app, {0, 0}, "区域信息[ X: -24 Y: -26 ] 宽: 49 高: 52"))
        << "shown: " << RegionLine(app);
    // The quarter of the rectangle above and left of the screen shows black; the rest is the
    // desktop, never the view's own grey.
    EXPECT_TRUE(WaitUntil([&] { return ZoomViewPixel(app, 20, 20) == RGB(0, 0, 0); }))
        << Hex(ZoomViewPixel(app, 20, 20));
    EXPECT_EQ(ZoomViewPixel(app, 140, 20), RGB(0, 0, 0)) << "above the screen";
    EXPECT_EQ(ZoomViewPixel(app, 20, 150), RGB(0, 0, 0)) << "left of the screen";
    // View pixel (250, 250) covers screen x 17.1 to 17.3 and y 15.5 to 15.7.
    EXPECT_EQ(ZoomViewPixel(app, 250, 250), ScreenPixel({17, 15})) << "the desktop's corner";
    ReleaseBox(app);
}

// Each zoom view pixel shows the mean of the screen area it covers: the region, 49 x 52 at
// factor 6, stretched over 298 x 313. Where that area lies inside one block of the pattern,
// the pixel has the block's exact colour; pixels that straddle two blocks are left out.
int ExpectPatternEnlarged(const Pigmora& app, const TestPattern& pattern, POINT pointer) {
    const int left = pointer.x - 25, top = pointer.y - 26;  // trunc(x - 24.5), trunc(y - 26)
    const std::vector<COLORREF> view = ZoomViewPixels(app);
    int checked = 0;
    for (int vy = 0; vy < kViewHeight; vy += 12)
        for (int vx = 0; vx < kViewWidth; vx += 11) {
            const POINT inView{vx, vy};
            if (PtInRect(&kDonationLabel, inView)) continue;
            const double x0 = left + vx * 49.0 / kViewWidth,
                         x1 = left + (vx + 1) * 49.0 / kViewWidth;
            const double y0 = top + vy * 52.0 / kViewHeight,
                         y1 = top + (vy + 1) * 52.0 / kViewHeight;
            const POINT first{static_cast<LONG>(std::floor(x0)), static_cast<LONG>(std::floor(y0))};
            const POINT last{static_cast<LONG>(std::ceil(x1)) - 1,
                             static_cast<LONG>(std::ceil(y1)) - 1};
            const int block = pattern.IndexAt(first);
            if (block < 0 || pattern.IndexAt(last) != block) continue;
            ++checked;
            EXPECT_EQ(view[vy * kViewWidth + vx], pattern.ColourOf(block))
                << "view pixel " << vx << "," << vy << " shows " << Hex(view[vy * kViewWidth + vx])
                << ", the screen there (" << first.x << "," << first.y << ") is block " << block
                << " " << Hex(pattern.ColourOf(block));
        }
    return checked;
}

TEST(MagnifierTest, ZoomViewShowsThePatternEnlargedAroundThePointer) {
    TestPattern pattern(kPatternArea);
    Pigmora app;
    HoverBox(app);
    ASSERT_TRUE(PressBox(app));

    // Near the corner of four blocks, and then near another, with the centre of the view
    // inside a block each time.
    const struct {
        POINT pointer;
        const char* line;
        int centreBlock;
    } kPlaces[] = {
        {{130, 80}, "区域信息[ X: 105 Y: 54 ] 宽: 49 高: 52", 0},
        {{250, 125}, "区域信息[ X: 225 Y: 99 ] 宽: 49 高: 52", 6},
    };
    for (const auto& place : kPlaces) {
        ASSERT_TRUE(DragUntilLine(app, place.pointer, place.line)) << "shown: " << RegionLine(app);
        // The picture follows the line's update in the same movement.
        WaitUntil(
            [&] { return ZoomViewPixel(app, 149, 156) == pattern.ColourOf(place.centreBlock); });
        EXPECT_EQ(ZoomViewPixel(app, 149, 156), pattern.ColourOf(place.centreBlock))
            << "the centre of the view, at the pointer";
        EXPECT_GT(ExpectPatternEnlarged(app, pattern, place.pointer), 300)
            << "enough of the view lies inside single blocks";
    }
    SaveScreenshot("magnifier-mid-drag");
    ReleaseBox(app);
}

// The rectangle for every kind of factor, with the pointer in the middle of the screen: the
// sizes of the zoom view divided by the factor, truncated, and centred on the pointer. At the
// smallest factor the rectangle is larger than the screen; the window system keeps that size.
TEST(MagnifierTest, RegionFollowsTheSliderThroughEveryKindOfFactor) {
    Pigmora app;
    const struct {
        int position;
        const char* line;
    } kRows[] = {
        {1, "区域信息[ X: -850 Y: -1053 ] 宽: 2980 高: 3130"},
        {3, "区域信息[ X: 143 Y: -9 ] 宽: 993 高: 1043"},
        {5, "区域信息[ X: 342 Y: 199 ] 宽: 596 高: 626"},
        {10, "区域信息[ X: 491 Y: 355 ] 宽: 298 高: 313"},
        {11, "区域信息[ X: 491 Y: 355 ] 宽: 298 高: 313"},
        {16, "区域信息[ X: 615 Y: 486 ] 宽: 49 高: 52"},
        {20, "区域信息[ X: 625 Y: 496 ] 宽: 29 高: 31"},
        {30, "区域信息[ X: 633 Y: 504 ] 宽: 14 高: 15"},
    };
    ASSERT_TRUE(FocusSlider(app));
    ASSERT_TRUE(SliderKey(app, VK_HOME, 1));
    for (const auto& row : kRows) {
        ASSERT_TRUE(ActivateMainWindow(app));
        ASSERT_TRUE(FocusSlider(app));
        while (SliderPosition(app) < row.position)
            ASSERT_TRUE(SliderKey(app, VK_RIGHT, SliderPosition(app) + 1))
                << "towards position " << row.position << ", the foreground window is "
                << GetForegroundWindow() << ", the main window " << app.window();
        HoverBox(app);
        ASSERT_TRUE(PressBox(app)) << "position " << row.position;
        EXPECT_TRUE(DragUntilLine(app, {640, 512}, row.line))
            << "position " << row.position << ": shown " << RegionLine(app);
        if (row.position == 10) {
            // Unscaled: the view shows the screen pixel for pixel (here a part of the main
            // window that does not change).
            EXPECT_EQ(ZoomViewPixel(app, 5, 5), ScreenPixel({491 + 5, 355 + 5}));
        }
        ASSERT_TRUE(ReleaseBox(app));
    }
}

TEST(MagnifierTest, APressWithoutMovementBlanksTheViewForGood) {
    Pigmora app;
    const std::string credit = RegionLine(app);
    auto blank = [&] {
        const std::vector<COLORREF> view = ZoomViewPixels(app);
        for (int y = 0; y < kViewHeight; ++y)
            for (int x = 0; x < kViewWidth; ++x)
                if (!PtInRect(&kDonationLabel, {x, y}) && view[y * kViewWidth + x] != kViewGround)
                    return false;
        return true;
    };
    // Press and release on the box with the pointer at rest. A movement that Wine delivers
    // late, from the way to the box, would still reach the press as a real one and show up in
    // the region line; such an attempt is made again.
    auto clickAtRest = [&] {
        for (int attempt = 0; attempt < 3; ++attempt) {
            HoverBox(app);
            WaitForPointerToSettle();
            const std::string before = RegionLine(app);
            if (!PressBox(app)) return false;
            if (!ReleaseBox(app)) return false;
            if (RegionLine(app) == before) return true;
        }
        return false;
    };
    ASSERT_FALSE(blank()) << "the usage notes show at start";

    ASSERT_TRUE(clickAtRest());
    EXPECT_TRUE(WaitUntil(blank)) << "the press removed the usage notes and no snapshot came";
    EXPECT_EQ(RegionLine(app), credit) << "no movement, no region line";

    // A drag shows the screen from then on, and a later press blanks the view again.
    HoverBox(app);
    ASSERT_TRUE(PressBox(app));
    ASSERT_TRUE(DragUntilLineChanges(app, {900, 150}, credit));
    EXPECT_TRUE(WaitUntil([&] { return !blank(); }));
    ASSERT_TRUE(ReleaseBox(app));
    EXPECT_FALSE(blank()) << "the release keeps the last picture";
    ASSERT_TRUE(clickAtRest());
    EXPECT_TRUE(WaitUntil(blank));
    EXPECT_NE(RegionLine(app), credit) << "the region line stays";
}

// Press and release so close together that the release may be handled inside the press
// handler: the drag is over at once, and the next click goes where the user clicks.
TEST(MagnifierTest, QuickClickOnTheBoxLeavesThePointerFree) {
    Pigmora app;
    for (int click = 0; click < 3; ++click) {
        HoverBox(app);
        PressLeft();
        ReleaseLeft();
        EXPECT_NE(CopiedHtml(app), "(not copied)")
            << "click " << click << " of the copy button was lost";
        EXPECT_EQ(CaptureOf(app), nullptr);
    }
}

TEST(MagnifierTest, BoxPictureAndPointerChangeForTheDragAndComeBack) {
    TestPattern pattern(kPatternArea);
    Pigmora app;
    const HCURSOR ownHand = PointerShownOver(app, 取色_光标);
    const HCURSOR systemHand = PointerShownOver(app, 取色_保存);
    ASSERT_NE(ownHand, systemHand);
    EXPECT_EQ(PointerShownOver(app, 取色_放大镜), systemHand)
        << "before its first drag the box shows the system's hand; own hand " << ownHand;
    const std::vector<COLORREF> idlePicture = ClientPixels(app, 取色_放大镜);

    HCURSOR magnifier = nullptr;
    for (int drag = 0; drag < 2; ++drag) {
        HoverBox(app);
        ASSERT_TRUE(PressBox(app));
        // The empty box: white, a pale cyan square at its lower left.
        EXPECT_TRUE(WaitUntil([&] {
            return ScreenPixel(app.ClientPoint(取色_放大镜, 8, 22)) == RGB(225, 249, 255) &&
                   ScreenPixel(app.ClientPoint(取色_放大镜, 24, 8)) == RGB(255, 255, 255);
        })) << "drag "
            << drag;
        EXPECT_TRUE(WaitUntil([&] {
            const HCURSOR now = CurrentCursor().handle;
            return now != ownHand && now != systemHand;
        })) << "the magnifier pointer shows from the press on";
        if (drag == 0) magnifier = CurrentCursor().handle;
        EXPECT_EQ(CurrentCursor().handle, magnifier) << "drag " << drag;

        // The captured pointer keeps its shape over other windows and the desktop.
        for (POINT at : {pattern.CentreOf(0), POINT{1100, 900}, app.Centre(取色_色块)}) {
            const std::string before = RegionLine(app);
            EXPECT_TRUE(DragUntilLineChanges(app, at, before, 8));
            EXPECT_EQ(CurrentCursor().handle, magnifier) << "at " << at.x << "," << at.y;
        }
        ASSERT_TRUE(ReleaseBox(app));
        EXPECT_TRUE(WaitUntil([&] { return ClientPixels(app, 取色_放大镜) == idlePicture; }))
            << "the magnifier comes back into its box";
        EXPECT_EQ(PointerShownOver(app, 取色_放大镜), ownHand)
            << "after a drag the box shows the program's own hand";
    }
}

TEST(MagnifierTest, LeavesTheReadoutTheSwatchesAndTheLastPickedColourAlone) {
    TestPattern pattern(kPatternArea);
    Pigmora app;
    // A dropper drag ending on block 3 fills the readout and remembers that colour.
    HoverBox(app, 取色_光标);
    ASSERT_TRUE(PressBox(app, 取色_光标));
    ASSERT_TRUE(MoveUntil(
        pattern.CentreOf(3), [&] { return ShownTexts(app) == TextsOf(pattern.ColourOf(3)); }, 8));
    ASSERT_TRUE(ReleaseBox(app));
    ASSERT_TRUE(WaitForSwatch(app, 取色_当前色, pattern.ColourOf(3)));
    const std::vector<COLORREF> comparison = ClientPixels(app, 取色_对比色);

    HoverBox(app);
    ASSERT_TRUE(PressBox(app));
    for (int block : {0, 6, 9, 1}) {
        const std::string before = RegionLine(app);
        EXPECT_TRUE(DragUntilLineChanges(app, pattern.CentreOf(block), before, 8));
    }
    ASSERT_TRUE(ReleaseBox(app));
    ASSERT_TRUE(ActivateMainWindow(app));
    EXPECT_EQ(ShownTexts(app), TextsOf(pattern.ColourOf(3))) << Describe(ShownTexts(app));
    EXPECT_TRUE(SwatchShows(app, 取色_当前色, pattern.ColourOf(3)));
    EXPECT_EQ(ClientPixels(app, 取色_对比色), comparison);

    // The next dropper drag compares with the colour its last drag picked.
    HoverBox(app, 取色_光标);
    ASSERT_TRUE(PressBox(app, 取色_光标));
    EXPECT_TRUE(WaitForSwatch(app, 取色_对比色, pattern.ColourOf(3)));
    ReleaseBox(app);
}

// After RegionFrame has been closed (Esc closes it once a press has made it the active
// window), the movements of that drag change nothing; the next press makes a new one.
TEST(MagnifierTest, EscClosesTheRegionWindowAndTheNextPressMakesANewOne) {
    Pigmora app;
    HoverBox(app);
    ASSERT_TRUE(PressBox(app));
    ASSERT_TRUE(DragUntilLine(app, {500, 400}, "区域信息[ X: 475 Y: 374 ] 宽: 49 高: 52"));
    ASSERT_TRUE(ReleaseBox(app));
    const std::vector<HWND> first = RegionFrames(app);
    ASSERT_EQ(first.size(), 1u);

    HoverBox(app);
    ASSERT_TRUE(PressBox(app));
    const std::string atTarget = "区域信息[ X: 575 Y: 474 ] 宽: 49 高: 52";
    ASSERT_TRUE(DragUntilLine(app, {600, 500}, atTarget));
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return RegionFrames(app).empty(); }))
        << "Esc closes the active RegionFrame";
    GlidePointer({700, 600}, 8);
    GlidePointer({720, 620}, 4);
    const std::vector<COLORREF> dragPicture = ClientPixels(app, 取色_放大镜);
    ASSERT_TRUE(ReleaseBox(app));
    // The release, handled after the movements before it, puts the box's picture back.
    EXPECT_TRUE(WaitUntil([&] { return ClientPixels(app, 取色_放大镜) != dragPicture; }));
    EXPECT_EQ(RegionLine(app), atTarget) << "movements without RegionFrame change nothing";
    EXPECT_TRUE(IsWindow(app.window()));

    HoverBox(app);
    ASSERT_TRUE(PressBox(app));
    EXPECT_TRUE(DragUntilLine(app, {300, 300}, "区域信息[ X: 275 Y: 274 ] 宽: 49 高: 52"))
        << "a new RegionFrame: " << RegionLine(app);
    EXPECT_EQ(RegionFrames(app).size(), 1u);
    ReleaseBox(app);
}

// Closing MainWindow ends the process also once RegionFrame exists, and when the hidden
// RegionFrame is the active window (as after a second press).
TEST(MagnifierTest, ClosingTheWindowAfterMagnifierDragsEndsTheProcess) {
    Pigmora app;
    for (int drag = 0; drag < 2; ++drag) {
        HoverBox(app);
        ASSERT_TRUE(PressBox(app));
        const std::string before = RegionLine(app);
        ASSERT_TRUE(DragUntilLineChanges(app, {800 + 40 * drag, 200}, before));
        ASSERT_TRUE(ReleaseBox(app));
    }
    ASSERT_EQ(RegionFrames(app).size(), 1u);

    // The close box, found where the title bar answers HTCLOSE.
    const RECT window = app.ScreenRect(MainWindow);
    POINT closeBox{};
    for (int x = window.right - 1; x > window.right - 60 && !closeBox.x; --x)
        for (int y = window.top + 2; y < window.top + 30; y += 2) {
            DWORD_PTR hit = 0;
            SendMessageTimeoutW(app.window(), WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_BLOCK, 5000,
                                &hit);
            if (hit == HTCLOSE) {
                closeBox = {x - 3, y};
                break;
            }
        }
    ASSERT_NE(closeBox.x, 0) << "no close box found";
    Approach(closeBox, 8);
    PressLeft();
    ReleaseLeft();
    EXPECT_TRUE(app.HasExited(std::chrono::seconds(10)));
}

}  // namespace
}  // namespace e2e
