// The zoom factor: every movement of the slider, by keyboard or mouse, shows its factor in the
// label above it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "harness.h"
#include "magnifier_driver.h"
#include "readout_view.h"

namespace e2e {
namespace {

using enum pigmora::Control;

// Written out by hand: the factor each position shows, 0.1 ... 0.9, 1 twice, then 2 ... 20.
std::string CaptionAt(int position) {
    static const char* const kFactors[] = {"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8",
                                           "0.9", "1",   "1",   "2",   "3",   "4",   "5",   "6",
                                           "7",   "8",   "9",   "10",  "11",  "12",  "13",  "14",
                                           "15",  "16",  "17",  "18",  "19",  "20"};
    return std::string("放大倍数:") + kFactors[position - 1];
}

bool ShowsPosition(const Pigmora& app, int position) {
    return SliderPosition(app) == position && ZoomCaption(app) == CaptionAt(position);
}

TEST(ZoomTest, KeyboardStepsShowTheFactorOfEachNewPosition) {
    Pigmora app;
    EXPECT_EQ(ZoomCaption(app), "放大倍数:6") << "the form's caption, before any movement";
    ASSERT_TRUE(FocusSlider(app));
    const struct {
        WORD key;
        const char* name;
        int position;
    } kSteps[] = {
        {VK_RIGHT, "Right", 17},   {VK_LEFT, "Left", 16},      {VK_DOWN, "Down", 17},
        {VK_UP, "Up", 16},         {VK_NEXT, "Page Down", 21}, {VK_PRIOR, "Page Up", 16},
        {VK_PRIOR, "Page Up", 11}, {VK_LEFT, "Left", 10},  // 11 and 10 both show 1
        {VK_PRIOR, "Page Up", 5},  {VK_HOME, "Home", 1},       {VK_RIGHT, "Right", 2},
        {VK_RIGHT, "Right", 3},    // 0.3, not the double's 0.30000000000000004
        {VK_PRIOR, "Page Up", 1},  // stops at the minimum
        {VK_END, "End", 30},       {VK_LEFT, "Left", 29},      {VK_NEXT, "Page Down", 30},
    };
    for (const auto& step : kSteps) {
        TapKey(step.key);
        EXPECT_TRUE(WaitUntil([&] { return ShowsPosition(app, step.position); }))
            << step.name << " to position " << step.position << ": slider at "
            << SliderPosition(app) << ", caption " << ZoomCaption(app);
    }
    SaveScreenshot("zoom-keyboard");
}

// With the thumb held, moves the pointer to where `position` is drawn and then on a pixel at a
// time, until the slider takes it: the place of each position is only known to a pixel or so.
bool DragThumbTo(const Pigmora& app, const ThumbTrack& thumb, int position) {
    const POINT target = thumb.Centre(position);
    const int direction = target.x > PointerPosition().x ? 1 : -1;
    Approach(target, 3);
    for (int nudge = 0; nudge < 4; ++nudge) {
        if (WaitUntil([&] { return ShowsPosition(app, position); }, std::chrono::milliseconds(700)))
            return true;
        MovePointer({PointerPosition().x + direction, target.y});
    }
    return WaitUntil([&] { return ShowsPosition(app, position); });
}

TEST(ZoomTest, ClicksAndThumbDragsShowTheFactorOfEachNewPosition) {
    Pigmora app;
    ASSERT_TRUE(FocusSlider(app));
    const ThumbTrack thumb(app);  // leaves the slider at 30
    ASSERT_TRUE(thumb.ok()) << "the thumb could not be found on the slider";
    ASSERT_TRUE(ShowsPosition(app, 30));

    // A click on the track beside the thumb moves it a page towards the click. Clicked where
    // the thumb then arrives, as a late movement under Wine makes the held button page on
    // until the thumb is under the pointer.
    const struct {
        int clickAt;
        int position;
    } kClicks[] = {{25, 25}, {20, 20}, {25, 25}, {20, 20}, {15, 15}};
    for (const auto& click : kClicks) {
        Approach(thumb.Centre(click.clickAt), 6);
        PressLeft();
        ReleaseLeft();
        EXPECT_TRUE(WaitUntil([&] { return ShowsPosition(app, click.position); }))
            << "click towards " << click.clickAt << ": slider at " << SliderPosition(app)
            << ", caption " << ZoomCaption(app);
    }
    ASSERT_TRUE(FocusSlider(app));
    ASSERT_TRUE(SliderKey(app, VK_RIGHT, 16));

    // The thumb dragged from 16 to 20: each position on the way shows, and 20 stays after the
    // release, which only ends the movement.
    Approach(thumb.Centre(16), 6);
    PressLeft();
    for (int position = 17; position <= 20; ++position) {
        EXPECT_TRUE(DragThumbTo(app, thumb, position))
            << "thumb dragged to " << position << ": slider at " << SliderPosition(app)
            << ", caption " << ZoomCaption(app);
    }
    ReleaseLeft();
    DWORD_PTR ignored;
    SendMessageTimeoutW(app.window(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    EXPECT_EQ(ZoomCaption(app), "放大倍数:10");
    EXPECT_EQ(SliderPosition(app), 20);

    // And back down to the minimum, past the positions below 10.
    Approach(thumb.Centre(20), 6);
    PressLeft();
    for (int position = 19; position >= 1; --position) {
        EXPECT_TRUE(DragThumbTo(app, thumb, position))
            << "thumb dragged to " << position << ": slider at " << SliderPosition(app)
            << ", caption " << ZoomCaption(app);
    }
    ReleaseLeft();
    SaveScreenshot("zoom-mouse");
}

}  // namespace
}  // namespace e2e
