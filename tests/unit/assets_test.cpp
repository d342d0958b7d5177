// Checks the generated pictures, cursors and icon as the program will carry them.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/formats.h"
#include "platform/bmp_file.h"

namespace pigmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAsset(const std::string& name) {
    std::ifstream in(std::string(PIGMORA_ASSET_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t U32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// ---- the colour block, written out again from its description --------------------------------

constexpr std::array<std::array<Rgb8, 4>, 11> kCellColours{{
    {{{153, 0, 255}, {153, 0, 0}, {0, 0, 255}, {0, 0, 0}}},
    {{{153, 102, 255}, {153, 102, 0}, {0, 102, 255}, {0, 102, 0}}},
    {{{153, 204, 255}, {153, 204, 0}, {0, 153, 255}, {0, 153, 0}}},
    {{{153, 255, 255}, {153, 255, 0}, {0, 255, 255}, {0, 255, 0}}},
    {{{204, 0, 255}, {204, 0, 0}, {51, 0, 255}, {51, 0, 0}}},
    {{{204, 102, 255}, {204, 51, 0}, {51, 102, 255}, {51, 102, 0}}},
    {{{204, 204, 255}, {204, 204, 0}, {51, 204, 255}, {51, 204, 0}}},
    {{{204, 255, 255}, {204, 255, 0}, {51, 255, 255}, {51, 255, 0}}},
    {{{255, 0, 255}, {255, 0, 0}, {102, 0, 255}, {102, 0, 0}}},
    {{{255, 102, 255}, {255, 153, 0}, {102, 102, 255}, {102, 204, 0}}},
    {{{255, 204, 255}, {255, 255, 0}, {102, 255, 255}, {102, 255, 0}}},
}};

Rgb8 ExpectedColorBlockPixel(int x, int y) {
    if (x == 0 || x == 79 || y == 0 || y == 199) return {204, 204, 204};
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 11; ++r) {
            if (x >= 6 + 17 * c && x <= 21 + 17 * c && y >= 7 + 17 * r && y <= 22 + 17 * r) {
                return kCellColours[r][c];
            }
        }
    }
    return {255, 255, 255};
}

TEST(ColorBlockImage, IsOneStillImageOfTheFrameGapsAndCells) {
    const std::optional<GifFile> gif = ReadGif(ReadAsset("ColorBlockImage.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->screenWidth, 80);
    EXPECT_EQ(gif->screenHeight, 200);
    EXPECT_EQ(gif->globalPalette.size(), 256u);
    // No graphic control extension (transparency, delays) and no looping application block.
    EXPECT_TRUE(gif->extensionLabels.empty());
    ASSERT_EQ(gif->images.size(), 1u);
    const GifImage& image = gif->images[0];
    EXPECT_EQ(image.left, 0);
    EXPECT_EQ(image.top, 0);
    EXPECT_EQ(image.width, 80);
    EXPECT_EQ(image.height, 200);
    EXPECT_TRUE(image.localPalette.empty());

    const std::vector<Rgb8> colours = GifImageColours(*gif, 0);
    ASSERT_EQ(colours.size(), 80u * 200u);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 80; ++x) {
            const Rgb8 want = ExpectedColorBlockPixel(x, y);
            const Rgb8 got = colours[y * 80 + x];
            ASSERT_EQ(got, want) << "pixel " << x << "," << y << " is " << +got.r << "," << +got.g
                                 << "," << +got.b;
        }
    }
}

// ---- bitmaps ---------------------------------------------------------------------------------

void ExpectBmp24Headers(const Bytes& file, int width, int height) {
    const std::size_t imageBytes = BmpRowStride(width) * height;
    ASSERT_EQ(file.size(), 54 + imageBytes);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), file.size());
    EXPECT_EQ(U32(file, 6), 0u);
    EXPECT_EQ(U32(file, 10), 54u);
    EXPECT_EQ(U32(file, 14), 40u);
    const std::optional<BmpView> view = ReadBmp(file);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->width, width);
    EXPECT_EQ(view->height, height);
    EXPECT_EQ(view->bitsPerPixel, 24);
    EXPECT_TRUE(view->bottomUp);
    EXPECT_EQ(U32(file, 34), imageBytes);
}

TEST(BitmapAssets, HaveTheirSizesAndPlainHeaders) {
    struct Case {
        const char* name;
        int width, height;
    };
    const Case cases[]{{"DropperBoxImage.bmp", 32, 32},
                       {"EmptyBoxImage.bmp", 32, 32},
                       {"MagnifierBoxImage.bmp", 32, 32},
                       {"HelpImage.bmp", 291, 114}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectBmp24Headers(ReadAsset(c.name), c.width, c.height);
    }
}

bool OnBoxFrame(int x, int y) { return x == 0 || x == 31 || y == 0 || y == 31; }

Bgr ExpectedEmptyBoxPixel(int x, int y) {
    if (OnBoxFrame(x, y)) return Bgr{183, 181, 178};
    if (x >= 1 && x <= 16 && y >= 15 && y <= 30) return Bgr{255, 249, 225};
    return Bgr{255, 255, 255};
}

TEST(EmptyBoxImage, IsTheFramePaleCyanSquareAndWhite) {
    const Bytes file = ReadAsset("EmptyBoxImage.bmp");
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_EQ(GetBmpPixel(file, x, y), ExpectedEmptyBoxPixel(x, y)) << x << "," << y;
        }
    }
}

// The tools are drawn into the same box: its frame stays, and something was drawn.
TEST(ToolBoxImages, AreTheBoxWithAToolInIt) {
    const Bytes empty = ReadAsset("EmptyBoxImage.bmp");
    for (const char* name : {"DropperBoxImage.bmp", "MagnifierBoxImage.bmp"}) {
        SCOPED_TRACE(name);
        const Bytes file = ReadAsset(name);
        int changed = 0, blue = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const std::optional<Bgr> p = GetBmpPixel(file, x, y);
                ASSERT_TRUE(p);
                if (OnBoxFrame(x, y)) {
                    ASSERT_EQ(*p, ExpectedEmptyBoxPixel(x, y)) << x << "," << y;
                }
                if (!(*p == *GetBmpPixel(empty, x, y))) ++changed;
                if (p->b > p->r + 60) ++blue;
            }
        }
        EXPECT_GT(changed, 60);
        EXPECT_GT(blue, 15);  // the light-blue bulb or ring
    }
}

TEST(HelpImage, FiveLinesOfTextOnTheZoomViewGround) {
    const Bytes file = ReadAsset("HelpImage.bmp");
    const Bgr ground{246, 246, 248};
    for (auto [x, y] : {std::pair{0, 0}, {290, 0}, {0, 113}, {290, 113}, {150, 20}}) {
        EXPECT_EQ(GetBmpPixel(file, x, y), ground) << x << "," << y;
    }
    const auto isInk = [&](int x, int y) { return *GetBmpPixel(file, x, y) == Bgr{0, 0, 0}; };
    const auto isBlue = [&](int x, int y) {
        const Bgr p = *GetBmpPixel(file, x, y);
        return p.b > p.r + 40;
    };

    for (int line = 0; line < 5; ++line) {
        SCOPED_TRACE("line " + std::to_string(line + 1));
        const int top = 7 + 24 * line;
        int firstRow = 1000, lastRow = -1, firstColumn = 1000, bluePixels = 0;
        for (int y = 24 * line; y < std::min(114, 24 * line + 24); ++y) {
            for (int x = 0; x < 291; ++x) {
                if (isBlue(x, y)) ++bluePixels;
                if (!isInk(x, y)) continue;
                firstRow = std::min(firstRow, y);
                lastRow = std::max(lastRow, y);
                firstColumn = std::min(firstColumn, x);
            }
        }
        EXPECT_EQ(firstRow, top);
        // Commas and full stops may reach one row below the characters.
        EXPECT_LE(lastRow, top + (line == 0 ? 10 : 11));
        EXPECT_EQ(firstColumn, 7);
        // The dropper stands in the second line, the magnifier in the fourth.
        if (line == 1 || line == 3) {
            EXPECT_GT(bluePixels, 20);
        } else {
            EXPECT_EQ(bluePixels, 0);
        }
    }
    int lastFirstLineRow = -1;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 291; ++x) {
            if (isInk(x, y)) lastFirstLineRow = y;
        }
    }
    EXPECT_EQ(lastFirstLineRow, 17);
}

// ---- cursors and icon -----------------------------------------------------------------------

struct ExpectedImage {
    int width, height, hotspotX, hotspotY;
};

void ExpectCursorFile(const char* name, std::vector<ExpectedImage> expected) {
    SCOPED_TRACE(name);
    const std::optional<IconFile> cursor = ReadIconFile(ReadAsset(name));
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->type, IconFileType::Cursor);
    ASSERT_EQ(cursor->entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i));
        const IconFileEntry& e = cursor->entries[i];
        EXPECT_EQ(e.directoryWidth, expected[i].width);
        EXPECT_EQ(e.directoryHeight, expected[i].height);
        EXPECT_EQ(e.image.width, expected[i].width);
        EXPECT_EQ(e.image.height, expected[i].height);
        EXPECT_EQ(e.hotspotX, expected[i].hotspotX);
        EXPECT_EQ(e.hotspotY, expected[i].hotspotY);
        EXPECT_EQ(e.bitsPerPixel, 32);
        int opaque = 0, partial = 0;
        for (const Bgra& p : e.image.pixels) {
            if (p.a == 255) ++opaque;
            if (p.a > 0 && p.a < 255) ++partial;
        }
        EXPECT_GT(opaque, 40);
        EXPECT_GT(partial, 0);  // smooth edges
        for (std::size_t p = 0; p < e.image.pixels.size(); ++p) {
            ASSERT_EQ(e.andMask[p], e.image.pixels[p].a == 0) << "mask at " << p;
        }
    }
}

TEST(Cursors, HaveTheirImagesSizesAndHotspots) {
    ExpectCursorFile("HandCursor.cur", {{48, 48, 15, 0}, {32, 32, 7, 0}});
    ExpectCursorFile("DropperCursor.cur", {{32, 32, 8, 22}});
    ExpectCursorFile("MagnifierCursor.cur", {{32, 32, 14, 12}});
}

// The hotspot is where the pointer acts, so the drawing must be there: the fingertip at the
// very top of the hand, the dropper's tip at its lower left end.
TEST(Cursors, HotspotsLieOnTheTipOfTheTool) {
    const std::optional<IconFile> hand = ReadIconFile(ReadAsset("HandCursor.cur"));
    ASSERT_TRUE(hand);
    for (const IconFileEntry& e : hand->entries) {
        SCOPED_TRACE(e.image.width);
        EXPECT_GE(e.image.At(e.hotspotX, e.hotspotY).a, 200);
        for (int x = 0; x < e.image.width; ++x) {
            if (e.image.At(x, 0).a > 0) {
                EXPECT_LE(std::abs(x - e.hotspotX), 2) << x;
            }
        }
    }
    const std::optional<IconFile> dropper = ReadIconFile(ReadAsset("DropperCursor.cur"));
    ASSERT_TRUE(dropper);
    const IconFileEntry& d = dropper->entries[0];
    EXPECT_GE(d.image.At(8, 22).a, 200);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            // Nothing further down and to the left than the tip.
            if (d.image.At(x, y).a > 0) {
                EXPECT_LE((y - 22) - (x - 8), 2) << x << "," << y;
            }
        }
    }
}

TEST(ProgramIcon, IsOne100PixelImageWithAlpha) {
    const std::optional<IconFile> icon = ReadIconFile(ReadAsset("pigmora.ico"));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->type, IconFileType::Icon);
    ASSERT_EQ(icon->entries.size(), 1u);
    const IconFileEntry& e = icon->entries[0];
    EXPECT_EQ(e.directoryWidth, 100);
    EXPECT_EQ(e.directoryHeight, 100);
    EXPECT_EQ(e.hotspotX, 1);   // colour planes, in an icon directory
    EXPECT_EQ(e.hotspotY, 32);  // bits per pixel
    EXPECT_EQ(e.bitsPerPixel, 32);
    EXPECT_EQ(e.image.width, 100);
    EXPECT_EQ(e.image.height, 100);
    int transparent = 0, opaque = 0;
    for (const Bgra& p : e.image.pixels) {
        if (p.a == 0) ++transparent;
        if (p.a == 255) ++opaque;
    }
    EXPECT_GT(transparent, 100);
    EXPECT_GT(opaque, 5000);
}

}  // namespace
}  // namespace pigmora
