// The handlers' steps and their order, against in-memory windows and desktop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "sampling/dropper.h"
#include "sampling/magnifier.h"
#include "sampling/zoom_factor.h"
#include "saved/saved_colours.h"
#include "ui/copy_buttons.h"
#include "ui/readout.h"
#include "ui/start_up.h"

namespace pigmora::testing {
namespace {

using ::testing::ElementsAre;
using enum Control;

class HandlersTest : public ::testing::Test {
protected:
    void SetUp() override { LastPickedColor = 0; }
    Log log;
    FakeForm form{log};
    FakeDesktop desktop{log};
};

TEST_F(HandlersTest, ReadoutWritesTheSwatchThenAllEightBoxes) {
    desktop.pixel = {255, 128, 0};
    UpdateReadout(form, desktop);
    EXPECT_THAT(log.lines,
                ElementsAre("read pixel", "back 取色_当前色 33023", "text 取色_10进制 33023",
                            "text 取色_16进制 0080FF", "text 取色_RGB 255,128,0",
                            "text 取色_HSL 30,100,50", "text 取色_HTML #FF8000",
                            "text 取色_VB &h0080FF&", "text 取色_C 0x0080FF",
                            "text 取色_Delphi $0080FF"));
}

TEST_F(HandlersTest, DropperPressPumpsBeforeCaptureAndShowsTheLastPickLast) {
    // A movement already queued when the press is handled samples inside the pump.
    desktop.queued.push_back([&] { TrackDropper(form, desktop, 取色_光标); });
    BeginDropperDrag(form, desktop, 取色_光标);
    const int pump = log.Find("pump");
    ASSERT_GE(pump, 0);
    EXPECT_EQ(log.Find("picture 取色_光标 EmptyBoxImage"), 0);
    EXPECT_EQ(log.Find("flag 取色_光标 true"), 1);
    EXPECT_EQ(log.Find("pointer 取色_光标 DropperCursor"), 2);
    EXPECT_EQ(pump, 3);
    EXPECT_EQ(log.lines[4], "read pixel") << "the queued movement sampled in the pump";
    EXPECT_GT(log.Find("capture "), pump + 1);
    EXPECT_EQ(log.lines.back(), "back 取色_对比色 0") << "first drag of a run compares with black";
}

TEST_F(HandlersTest, DropperDragSamplesOnlyWhileTrackingAndRemembersTheRelease) {
    TrackDropper(form, desktop, 取色_光标);
    EXPECT_EQ(log.Count("read pixel"), 0) << "no drag, no sampling";

    BeginDropperDrag(form, desktop, 取色_光标);
    desktop.pixel = {255, 0, 0};
    TrackDropper(form, desktop, 取色_光标);
    EXPECT_EQ(form.text[取色_HTML], "#FF0000");
    log.lines.clear();
    desktop.pixel = {0, 0, 255};  // the release lands on another colour
    EndDropperDrag(form, desktop, 取色_光标);
    EXPECT_THAT(log.lines, ElementsAre("flag 取色_光标 false", "release",
                                       "pointer 取色_光标 HandCursor",
                                       "picture 取色_光标 DropperBoxImage", "read pixel"));
    EXPECT_EQ(LastPickedColor, 16711680);
    EXPECT_EQ(form.text[取色_HTML], "#FF0000") << "the release does not update the readout";

    BeginDropperDrag(form, desktop, 取色_光标);
    EXPECT_EQ(form.back[取色_对比色], 16711680) << "the next drag compares with the last pick";
}

TEST_F(HandlersTest, ColourBlockSamplesFromThePressUntilAReleaseOverIt) {
    desktop.pixel = {153, 0, 255};
    BeginBlockSampling(form, desktop, 取色_色块);
    EXPECT_EQ(form.back[取色_当前色], PackColor(153, 0, 255)) << "the press samples at once";
    desktop.pixel = {0, 0, 0};
    TrackBlock(form, desktop, 取色_色块);
    EXPECT_EQ(form.text[取色_10进制], "0");
    // Released elsewhere: the block never hears it and keeps sampling when the pointer returns.
    desktop.pixel = {255, 255, 0};
    TrackBlock(form, desktop, 取色_色块);
    EXPECT_EQ(form.text[取色_HTML], "#FFFF00");
    EndBlockSampling(form, desktop, 取色_色块);
    desktop.pixel = {1, 2, 3};
    TrackBlock(form, desktop, 取色_色块);
    EXPECT_EQ(form.text[取色_HTML], "#FFFF00");
}

TEST_F(HandlersTest, CopyTakesTheBoxAsItStandsAndTheDonationLabelOpensThePage) {
    form.text[取色_10进制] = " 0255";
    CopyBoxText(form, desktop, 取色_10进制);
    EXPECT_EQ(desktop.clipboard, " 0255");
    CopyBoxText(form, desktop, 取色_C);
    EXPECT_EQ(desktop.clipboard, "") << "an empty box copies an empty text";
    OpenDonationPage(form, desktop, 标签1);
    OpenDonationPage(form, desktop, 标签1);
    EXPECT_EQ(log.Count("open " + std::string(kDonationAddress)), 2);
}

TEST_F(HandlersTest, StartUpDressesTheDragSources) {
    InitControlImages(form, desktop, MainWindow);
    EXPECT_THAT(log.lines, ElementsAre("pointer 取色_光标 HandCursor", "pointer 取色_色块 HandCursor",
                                       "picture 取色_光标 DropperBoxImage",
                                       "picture 取色_放大镜 MagnifierBoxImage"));
}

TEST_F(HandlersTest, ZoomFactorCaptionFollowsTheSlider) {
    form.sliderPosition = 3;
    ShowZoomFactor(form, desktop, 取色_倍数);
    EXPECT_EQ(form.caption[取色_倍数标签], "放大倍数:0.3");
}

// --- magnifier ------------------------------------------------------------------------------

TEST_F(HandlersTest, MagnifierPressBlanksTheViewAndLoadsTheRegionWindowLast) {
    BeginMagnifierDrag(form, desktop, 取色_放大镜);
    EXPECT_THAT(log.lines,
                ElementsAre("picture 取色_放大镜 EmptyBoxImage", "flag 取色_放大镜 true",
                            "pointer 取色_放大镜 MagnifierCursor", "pump", "picture 取色_放大 empty",
                            "mode 取色_放大 1", "capture 1010", "load RegionFrame"));
}

TEST_F(HandlersTest, MagnifierSizesAndCentresTheRegionFromWhatTheWindowReallyGot) {
    BeginMagnifierDrag(form, desktop, 取色_放大镜);
    desktop.pointerX = 500;
    desktop.pointerY = 400;
    UpdateMagnifier(form, desktop, 取色_放大镜);
    EXPECT_EQ(form.caption[取色_X], "区域信息[ X: 475 Y: 374 ] 宽: 49 高: 52");

    // A window system that will not go below 100 pixels: centring and the line use 100.
    form.adjustWidth = [](int w) { return std::max(w, 100); };
    form.adjustHeight = [](int h) { return std::max(h, 100); };
    desktop.pointerX = 0;
    desktop.pointerY = 0;
    UpdateMagnifier(form, desktop, 取色_放大镜);
    EXPECT_EQ(form.caption[取色_X], "区域信息[ X: -50 Y: -50 ] 宽: 100 高: 100");
    EXPECT_EQ(form.picture[取色_放大], "bytes:54");
    EXPECT_EQ(form.back[取色_当前色], 16777215) << "the magnifier reads no colour";
    EXPECT_EQ(log.Count("read pixel"), 0);
}

TEST_F(HandlersTest, MagnifierFinishesItsStepsAfterAReleaseInsideItsPump) {
    BeginMagnifierDrag(form, desktop, 取色_放大镜);
    desktop.pointerX = 500;
    desktop.pointerY = 400;
    desktop.queued.push_back([&] { EndMagnifierDrag(form, desktop, 取色_放大镜); });
    UpdateMagnifier(form, desktop, 取色_放大镜);
    EXPECT_FALSE(form.animation[取色_放大镜]);
    EXPECT_EQ(form.picture[取色_放大], "bytes:54");
    EXPECT_EQ(form.caption[取色_X], "区域信息[ X: 475 Y: 374 ] 宽: 49 高: 52");
    log.lines.clear();
    UpdateMagnifier(form, desktop, 取色_放大镜);
    EXPECT_TRUE(log.lines.empty()) << "after the release movements do nothing";
}

TEST_F(HandlersTest, MagnifierStopsWhenTheRegionWindowGoesAway) {
    UpdateMagnifier(form, desktop, 取色_放大镜);
    BeginMagnifierDrag(form, desktop, 取色_放大镜);
    // Esc closes the region window while the first pump runs.
    desktop.queued.push_back([&] { desktop.regionFrameLoaded = false; });
    log.lines.clear();
    UpdateMagnifier(form, desktop, 取色_放大镜);
    EXPECT_EQ(log.Count("snapshot"), 0);
    EXPECT_EQ(form.caption.count(取色_X), 0u);
    log.lines.clear();
    UpdateMagnifier(form, desktop, 取色_放大镜);
    EXPECT_TRUE(log.lines.empty());
    BeginMagnifierDrag(form, desktop, 取色_放大镜);
    EXPECT_TRUE(desktop.regionFrameLoaded) << "the next press loads a new one";
}

// --- saved colours ----------------------------------------------------------------------------

TEST_F(HandlersTest, SaveGoesOnOnlyForAPlainDecimalNumber) {
    const struct {
        const char* text;
        bool saves;
    } kCases[] = {
        {"", false},
        {"255", true},
        {"0", true},
        {"0255", false},
        {" 255", false},
        {"255 ", false},
        {"+255", false},
        {"-0", false},
        {"-1", true},
        {"2147483647", true},
        {"2147483648", false},
        {"-2147483648", true},
        {"\xA3\xB2\xA3\xB5\xA3\xB5", false},  // full-width 255
        {"0x1F", false},
        {"#FF0000", false},
    };
    for (const auto& c : kCases) {
        form.back[取色_颜色1] = kEmptySlot;
        form.back[取色_当前色] = 255;
        form.text[取色_10进制] = c.text;
        desktop.registry.clear();
        SaveCurrentColor(form, desktop, 取色_保存);
        EXPECT_EQ(form.back[取色_颜色1] == 255, c.saves) << "text \"" << c.text << "\"";
        EXPECT_EQ(desktop.registry.count("SOFTWARE\\Quov\\Tallowin\\ColorSave1") == 1, c.saves)
            << "text \"" << c.text << "\"";
    }
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(HandlersTest, AMegabytePastedIntoTheDecimalBoxSavesNothing) {
    form.back[取色_颜色2] = kEmptySlot;
    form.text[取色_10进制] = std::string(1 << 20, '7');
    SaveCurrentColor(form, desktop, 取色_保存);
    EXPECT_EQ(form.back[取色_颜色2], kEmptySlot);
    EXPECT_TRUE(desktop.registry.empty());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(HandlersTest, SaveFillsTheFirstEmptySlotInOrderWithTheSwatchColour) {
    form.text[取色_10进制] = "12345";   // typed over: the swatch decides the colour
    form.back[取色_当前色] = 65280;
    ClearSlot(form, desktop, 取色_颜色4);
    ClearSlot(form, desktop, 取色_颜色2);
    SaveCurrentColor(form, desktop, 取色_保存);
    EXPECT_EQ(form.back[取色_颜色2], 65280);
    EXPECT_EQ(desktop.registry["SOFTWARE\\Quov\\Tallowin\\ColorSave2"], 65280);
    SaveCurrentColor(form, desktop, 取色_保存);
    EXPECT_EQ(form.back[取色_颜色4], 65280);
    EXPECT_TRUE(desktop.messages.empty());

    log.lines.clear();
    SaveCurrentColor(form, desktop, 取色_保存);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0], kSlotsFullText);
    EXPECT_THAT(log.lines, ElementsAre("message 提示 4144")) << "0x1030 and nothing else";
}

TEST_F(HandlersTest, ClearingDeletesTheValueThenEmptiesTheSlotAndLeftReleaseCompares) {
    ClearSlot(form, desktop, 取色_颜色3);
    EXPECT_THAT(log.lines, ElementsAre("reg delete SOFTWARE\\Quov\\Tallowin\\ColorSave3",
                                       "back 取色_颜色3 -1"));
    form.back[取色_对比色] = 255;
    UseSlotAsComparison(form, desktop, 取色_颜色3);
    EXPECT_EQ(form.back[取色_对比色], 255) << "an empty slot sets nothing";
    UseSlotAsComparison(form, desktop, 取色_颜色1);
    EXPECT_EQ(form.back[取色_对比色], DefaultBackground) << "an initial slot passes its value on";
}

}  // namespace
}  // namespace pigmora::testing
