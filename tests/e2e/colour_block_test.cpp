// The colour block: holding the left button on it samples its cells; it holds no capture, so
// leaving it stops the sampling.
#include <gtest/gtest.h>
#include <windows.h>

#include "harness.h"
#include "pattern.h"
#include "readout_view.h"

namespace e2e {
namespace {

using enum pigmora::Control;

constexpr RECT kPatternArea{40, 40, 440, 190};

// The block's 44 cells, 16 x 16 each on a 17-pixel pitch, the first at 6,7 inside the block;
// written out from the picture, row by row.
constexpr int kColumns = 4, kRows = 11;
const COLORREF kCells[kRows][kColumns] = {
    {RGB(153, 0, 255), RGB(153, 0, 0), RGB(0, 0, 255), RGB(0, 0, 0)},
    {RGB(153, 102, 255), RGB(153, 102, 0), RGB(0, 102, 255), RGB(0, 102, 0)},
    {RGB(153, 204, 255), RGB(153, 204, 0), RGB(0, 153, 255), RGB(0, 153, 0)},
    {RGB(153, 255, 255), RGB(153, 255, 0), RGB(0, 255, 255), RGB(0, 255, 0)},
    {RGB(204, 0, 255), RGB(204, 0, 0), RGB(51, 0, 255), RGB(51, 0, 0)},
    {RGB(204, 102, 255), RGB(204, 51, 0), RGB(51, 102, 255), RGB(51, 102, 0)},
    {RGB(204, 204, 255), RGB(204, 204, 0), RGB(51, 204, 255), RGB(51, 204, 0)},
    {RGB(204, 255, 255), RGB(204, 255, 0), RGB(51, 255, 255), RGB(51, 255, 0)},
    {RGB(255, 0, 255), RGB(255, 0, 0), RGB(102, 0, 255), RGB(102, 0, 0)},
    {RGB(255, 102, 255), RGB(255, 153, 0), RGB(102, 102, 255), RGB(102, 204, 0)},
    {RGB(255, 204, 255), RGB(255, 255, 0), RGB(102, 255, 255), RGB(102, 255, 0)},
};

POINT CellCentre(const Pigmora& app, int column, int row) {
    return app.ClientPoint(取色_色块, 6 + 17 * column + 8, 7 + 17 * row + 8);
}

TEST(ColourBlockTest, PressingACellShowsItsColour) {
    Pigmora app;
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            const COLORREF cell = kCells[row][column];
            Approach(CellCentre(app, column, row), 3);
            PressLeft();
            EXPECT_TRUE(WaitForTexts(app, TextsOf(cell)))
                << "cell " << column << "," << row << ": expected " << Describe(TextsOf(cell))
                << ", shown " << Describe(ShownTexts(app));
            EXPECT_TRUE(WaitForSwatch(app, 取色_当前色, cell)) << "cell " << column << "," << row;
            ReleaseLeft();
        }
}

TEST(ColourBlockTest, HeldButtonFollowsThePointerInsideTheBlockOnly) {
    TestPattern pattern(kPatternArea);
    Pigmora app;
    Approach(CellCentre(app, 0, 0), 6);
    PressLeft();
    ASSERT_TRUE(WaitForTexts(app, TextsOf(kCells[0][0])));
    EXPECT_TRUE(GlideAndWait(CellCentre(app, 2, 5), [&] {
        return ShownTexts(app) == TextsOf(kCells[5][2]);
    })) << "the held button samples moves";

    // Out of the block and over the pattern, released there: the block hears neither. The last
    // movement it handled may have read a pixel just past its edge, where the pointer had got
    // to by then, but nothing further on.
    Approach({app.ScreenRect(取色_色块).left - 4, CellCentre(app, 0, 5).y}, 2);
    Approach(pattern.CentreOf(0), 10);
    ReleaseLeft();
    const std::string leftWith = CopiedHtml(app);
    EXPECT_NE(leftWith, "#FF0000") << "sampled over the pattern";
    Approach(pattern.CentreOf(2), 10);
    Approach(pattern.CentreOf(7), 10);
    EXPECT_EQ(CopiedHtml(app), leftWith) << "sampling stopped at the block's edge";

    // It never saw the release, so it still samples, now with no button held...
    EXPECT_TRUE(GlideAndWait(
        CellCentre(app, 3, 8), [&] { return ShownTexts(app) == TextsOf(kCells[8][3]); }, 10))
        << "moves sample until a release";
    // ... until a release over the block.
    Approach(CellCentre(app, 1, 9), 4);
    PressLeft();
    ReleaseLeft();
    ASSERT_TRUE(WaitForTexts(app, TextsOf(kCells[9][1])));
    Approach(CellCentre(app, 2, 2), 4);
    EXPECT_EQ(CopiedHtml(app), TextsOf(kCells[9][1]).html)
        << "after a release over the block, moves do not sample";
}

}  // namespace
}  // namespace e2e
