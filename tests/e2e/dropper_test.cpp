// The dropper: press on its box, drag anywhere on the screen, and the swatch and the eight boxes
// follow the pixel under the pointer; the release keeps the colour for the next drag.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "harness.h"
#include "pattern.h"
#include "readout_view.h"

namespace e2e {
namespace {

using enum pigmora::Control;
using pigmora::ColorTexts;

// Top left of the screen, clear of the centred main window.
constexpr RECT kPatternArea{40, 40, 440, 190};

// The pattern's colours as the boxes must show them, written out by hand.
const ColorTexts kPatternTexts[TestPattern::kCount] = {
    {"255", "0000FF", "255,0,0", "0,100,50", "#FF0000", "&h0000FF&", "0x0000FF", "$0000FF"},
    {"0", "000000", "0,0,0", "0,0,0", "#000000", "&h000000&", "0x000000", "$000000"},
    {"16777215", "FFFFFF", "255,255,255", "0,0,100", "#FFFFFF", "&hFFFFFF&", "0xFFFFFF", "$FFFFFF"},
    {"16744448", "FF8000", "0,128,255", "209,100,50", "#0080FF", "&hFF8000&", "0xFF8000",
     "$FF8000"},
    {"1252927", "131E3F", "63,30,19", "14,53,16", "#3F1E13", "&h131E3F&", "0x131E3F", "$131E3F"},
    {"11", "00000B", "11,0,0", "0,100,2", "#0B0000", "&h00000B&", "0x00000B", "$00000B"},
    {"65280", "00FF00", "0,255,0", "120,100,50", "#00FF00", "&h00FF00&", "0x00FF00", "$00FF00"},
    {"16711680", "FF0000", "0,0,255", "240,100,50", "#0000FF", "&hFF0000&", "0xFF0000", "$FF0000"},
    {"8421504", "808080", "128,128,128", "0,0,50", "#808080", "&h808080&", "0x808080", "$808080"},
    {"65535", "00FFFF", "255,255,0", "60,100,50", "#FFFF00", "&h00FFFF&", "0x00FFFF", "$00FFFF"},
    {"197121", "030201", "1,2,3", "210,50,0", "#010203", "&h030201&", "0x030201", "$030201"},
    {"12632256", "C0C0C0", "192,192,192", "0,0,75", "#C0C0C0", "&hC0C0C0&", "0xC0C0C0", "$C0C0C0"},
};

// The readout agrees with the pixel under the pointer: all eight boxes and the swatch.
bool ShowsColour(const Pigmora& app, const ColorTexts& texts, COLORREF colour) {
    return ShownTexts(app) == texts && SwatchShows(app, 取色_当前色, colour);
}

TEST(DropperTest, EveryMovementShowsThePixelUnderThePointer) {
    TestPattern pattern(kPatternArea);
    Pigmora app;
    HoverDropperBox(app);
    ASSERT_TRUE(BeginDrag(app));
    for (int i = 0; i < pattern.Count(); ++i)
        EXPECT_TRUE(
            GlideAndWait(pattern.CentreOf(i),
                         [&] { return ShowsColour(app, kPatternTexts[i], pattern.ColourOf(i)); }))
            << "block " << i << ": expected " << Describe(kPatternTexts[i]) << ", shown "
            << Describe(ShownTexts(app));

    // Pixel by pixel across the edge between red and black, and back: each single movement
    // is handled, and the sample is exact to the pixel.
    const RECT red = pattern.BlockOf(0);
    const int y = (red.top + red.bottom) / 2;
    Approach({red.right - 2, y}, 8);
    const struct {
        int x;
        int block;
    } kSteps[] = {{red.right - 1, 0}, {red.right, 1},     {red.right - 1, 0},
                  {red.right, 1},     {red.right + 1, 1}, {red.right - 1, 0}};
    for (const auto& step : kSteps)
        EXPECT_TRUE(GlideAndWait(
            {step.x, y},
            [&] {
                return ShowsColour(app, kPatternTexts[step.block], pattern.ColourOf(step.block));
            },
            1))
            << "at x " << step.x << ": shown " << Describe(ShownTexts(app));
    // Mid-drag, over the blue of (0,128,255): the picture for people to look at.
    EXPECT_TRUE(GlideAndWait(
        pattern.CentreOf(3),
        [&] { return ShowsColour(app, kPatternTexts[3], pattern.ColourOf(3)); }, 8));
    SaveScreenshotMarkingPointer("dropper-mid-drag");
    ReleaseLeft();
}

TEST(DropperTest, ComparisonSwatchShowsThePreviousDragsColourFromItsFirstMoment) {
    TestPattern pattern(kPatternArea);
    Pigmora app;
    const struct {
        int endsOn;           // block where the drag is released
        COLORREF comparison;  // shown from the press on
    } kDrags[] = {
        {0, RGB(0, 0, 0)},  // the first drag of a run compares with black
        {3, pattern.ColourOf(0)},
        {4, pattern.ColourOf(3)},
    };
    for (const auto& drag : kDrags) {
        HoverDropperBox(app);
        ASSERT_TRUE(BeginDrag(app));
        EXPECT_TRUE(WaitUntil([&] { return SwatchShows(app, 取色_对比色, drag.comparison); }))
            << "drag ending on block " << drag.endsOn << ": the comparison shows " << std::hex
            << ScreenPixel(app.ClientPoint(取色_对比色, 40, 15));
        EXPECT_TRUE(GlideAndWait(
            pattern.CentreOf(drag.endsOn),
            [&] {
                return ShowsColour(app, kPatternTexts[drag.endsOn], pattern.ColourOf(drag.endsOn));
            },
            8));
        EXPECT_TRUE(SwatchShows(app, 取色_对比色, drag.comparison))
            << "the comparison keeps its colour through the drag";
        MovePointer(pattern.CentreOf(drag.endsOn));
        ReleaseLeft();
    }
}

TEST(DropperTest, BoxPictureAndPointerChangeForTheDragAndComeBackAfterIt) {
    TestPattern pattern(kPatternArea);
    Pigmora app;
    HoverDropperBox(app);
    const HCURSOR hand = CurrentCursor().handle;
    const std::vector<COLORREF> idlePicture = ClientPixels(app, 取色_光标);

    ASSERT_TRUE(BeginDrag(app));
    EXPECT_TRUE(WaitUntil([&] { return ClientPixels(app, 取色_光标) != idlePicture; }))
        << "the dropper leaves its box";
    const std::vector<COLORREF> dragPicture = ClientPixels(app, 取色_光标);
    ASSERT_TRUE(WaitUntil([&] { return CurrentCursor().handle != hand; }))
        << "the dropper pointer shows from the press on";
    const HCURSOR dropper = CurrentCursor().handle;

    // The captured pointer keeps its shape over other windows and the desktop.
    const POINT desktop{1100, 900};
    for (POINT at : {pattern.CentreOf(0), desktop, app.Centre(取色_色块), pattern.CentreOf(5)}) {
        Approach(at, 8);
        EXPECT_EQ(CurrentCursor().handle, dropper) << "at " << at.x << "," << at.y;
    }
    EXPECT_EQ(ClientPixels(app, 取色_光标), dragPicture) << "the box stays empty while dragging";

    ReleaseLeft();
    EXPECT_TRUE(WaitUntil([&] { return ClientPixels(app, 取色_光标) == idlePicture; }))
        << "the dropper comes back into its box";
    EXPECT_TRUE(WaitUntil([&] { return CaptureOf(app) == nullptr; }));
    // Over the swatch the window's own arrow shows again, over the box its hand.
    Approach(app.Centre(取色_当前色), 8);
    EXPECT_TRUE(WaitUntil([&] {
        const HCURSOR now = CurrentCursor().handle;
        return now != dropper && now != hand;
    }));
    HoverDropperBox(app);
    EXPECT_TRUE(WaitUntil([&] { return CurrentCursor().handle == hand; }));
}

TEST(DropperTest, SamplesTheDesktopOtherProgramsAndItsOwnWindow) {
    TestPattern pattern(kPatternArea);
    Pigmora app;
    const struct {
        const char* what;
        POINT at;
    } kPlaces[] = {
        {"the desktop background", {1100, 900}},
        {"another program's window", pattern.CentreOf(6)},
        {"its own colour block", app.ClientPoint(取色_色块, 14, 15)},
        {"its own zoom view", app.ClientPoint(取色_放大, 150, 150)},
        {"the desktop between windows", {200, 600}},
    };
    HoverDropperBox(app);
    ASSERT_TRUE(BeginDrag(app));
    for (const auto& place : kPlaces) {
        const COLORREF shown = ScreenPixel(place.at);
        EXPECT_TRUE(GlideAndWait(
            place.at, [&] { return ShowsColour(app, TextsOf(shown), shown); }, 8))
            << place.what << ": expected " << Describe(TextsOf(shown)) << ", shown "
            << Describe(ShownTexts(app));
    }
    ReleaseLeft();
}

// A release with no drag begun still stores the colour under the pointer; a double click's
// second press starts no drag.
TEST(DropperTest, ReleaseWithoutDragAndDoubleClickOnlyStoreTheColour) {
    TestPattern pattern(kPatternArea);
    Pigmora app;
    const POINT centre = app.Centre(取色_光标);
    // Presses land a few pixels apart where they must not make a double click.
    const POINT firstPress{centre.x - 6, centre.y - 6},
        clicks = centre, heldAt{centre.x + 1, centre.y}, releasedOn{centre.x + 1, centre.y + 1},
        lastPress{centre.x + 6, centre.y + 6};
    const RECT box = app.ClientRectOnScreen(取色_光标);
    const auto pixelAt = [&](const std::vector<COLORREF>& picture, POINT at) {
        return picture[static_cast<std::size_t>((at.y - box.top) * (box.right - box.left) + at.x -
                                                box.left)];
    };
    // The pointer may end a pixel short of where it was sent (see Approach).
    const auto storedFrom = [&](const std::vector<std::vector<COLORREF>>& pictures,
                                std::initializer_list<POINT> places) {
        std::vector<COLORREF> colours;
        for (const auto& picture : pictures)
            for (POINT at : places) colours.push_back(pixelAt(picture, at));
        return colours;
    };
    const auto comparisonIsOneOf = [&](const std::vector<COLORREF>& colours) {
        return WaitUntil([&] {
            const COLORREF c = ScreenPixel(app.ClientPoint(取色_对比色, 40, 15));
            return std::find(colours.begin(), colours.end(), c) != colours.end();
        });
    };
    const std::vector<COLORREF> idlePicture = ClientPixels(app, 取色_光标);
    const POINT firstNextTo{firstPress.x + 1, firstPress.y};
    ASSERT_NE(pixelAt(idlePicture, firstPress), RGB(0, 0, 0))
        << "the test needs a box pixel that is not black";

    // Pressed over the pattern, released over the idle dropper box. The button is injected:
    // pressed in the X server it would hold the pointer for the pattern's window.
    Approach(pattern.CentreOf(0), 6);
    PressLeft(PointerInput::Injected);
    Approach(firstPress, 8);
    ReleaseLeft(PointerInput::Injected);
    ASSERT_TRUE(BeginDrag(app));
    EXPECT_TRUE(comparisonIsOneOf(storedFrom({idlePicture}, {firstPress, firstNextTo})))
        << "the release over the idle box stored the colour under it";
    WaitUntil([&] { return ClientPixels(app, 取色_光标) != idlePicture; });
    const std::vector<COLORREF> dragPicture = ClientPixels(app, 取色_光标);
    EXPECT_TRUE(
        GlideAndWait(pattern.CentreOf(0), [&] { return ShownTexts(app) == kPatternTexts[0]; }));
    ReleaseLeft();

    // The focus in a box, so that typing can tell when the program has handled the input before.
    ClickAt(app.Centre(取色_C));
    TapKey(VK_END);
    TapKey('1');
    ASSERT_TRUE(WaitUntil([&] { return app.Utf8Text(取色_C) == "0x0000FF1"; }))
        << app.Utf8Text(取色_C);

    // A double click on the box: the first click is a drag without a move, the second press
    // is a double click, and the pointer moves over the box while the button is held.
    Approach(clicks, 8);
    PressLeft();
    ReleaseLeft();
    PressLeft();
    MovePointer(heldAt);
    MovePointer(releasedOn);
    TapKey('2');
    ASSERT_TRUE(WaitUntil([&] { return app.Utf8Text(取色_C) == "0x0000FF12"; }));
    EXPECT_EQ(CaptureOf(app), nullptr) << "the second press began a drag";
    EXPECT_TRUE(WaitUntil([&] { return ClientPixels(app, 取色_光标) == idlePicture; }))
        << "the box shows its dropper while the second press is held";
    ReleaseLeft();
    // The release stored the box's pixel where it happened, as the box showed at that moment
    // (idle, or still empty when its repaint had not come yet).
    Approach(lastPress, 8);
    ASSERT_TRUE(BeginDrag(app));
    EXPECT_TRUE(comparisonIsOneOf(storedFrom({idlePicture, dragPicture}, {releasedOn, heldAt})))
        << "the double click's release stored the colour under the pointer";
    ReleaseLeft();
}

// Press and release so close together that the release is handled inside the press handler:
// the drag is over at once, and the next click goes where the user clicks.
TEST(DropperTest, QuickClickOnTheBoxLeavesThePointerFree) {
    Pigmora app;
    for (int click = 0; click < 3; ++click) {
        HoverDropperBox(app);
        PressLeft();
        ReleaseLeft();
        // What it copies does not matter: a movement handled during the press may have sampled.
        EXPECT_NE(CopiedHtml(app), "(not copied)")
            << "click " << click << " of the copy button was lost";
        EXPECT_EQ(CaptureOf(app), nullptr);
    }
}

}  // namespace
}  // namespace e2e
