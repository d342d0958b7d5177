#include "platform/bmp_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/bmp_file.h"

namespace pigmora {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Paint = std::function<Bgr(int x, int y)>;

Bytes Picture(int width, int height, const Paint& paint) {
    Bytes file = NewBmp24(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetBmpPixel(file, x, y, paint(x, y));
    return file;
}

std::uint32_t Dib(Bgr c) { return c.b | c.g << 8 | static_cast<std::uint32_t>(c.r) << 16; }

std::vector<std::uint32_t> Resample(const Bytes& file, int width, int height) {
    const auto view = ReadBmp(file);
    EXPECT_TRUE(view);
    return view ? ResampleByArea(*view, width, height) : std::vector<std::uint32_t>{};
}

TEST(ResampleByAreaTest, AFlatPictureKeepsItsColourAtEverySize) {
    const Bgr colour{19, 30, 63};
    const struct {
        int sourceWidth, sourceHeight, width, height;
    } kCases[] = {
        {2980, 313, 298, 31},   // the magnifier's widest shrink, one tenth
        {993, 1043, 298, 313},  // a ratio that is no whole number
        {49, 52, 298, 313},     // the initial enlargement, about six
        {14, 15, 298, 313},     // the largest enlargement
        {298, 313, 298, 313},   // unscaled
        {1, 1, 7, 3},          {7, 3, 1, 1},
    };
    for (const auto& c : kCases) {
        const Bytes file = Picture(c.sourceWidth, c.sourceHeight, [&](int, int) { return colour; });
        const auto out = Resample(file, c.width, c.height);
        ASSERT_EQ(out.size(), static_cast<std::size_t>(c.width) * c.height)
            << c.sourceWidth << "x" << c.sourceHeight << " to " << c.width << "x" << c.height;
        for (std::size_t i = 0; i < out.size(); ++i)
            ASSERT_EQ(out[i], Dib(colour)) << c.sourceWidth << "x" << c.sourceHeight << " to "
                                           << c.width << "x" << c.height << ", pixel " << i;
    }
}

// Blocks of a whole number of pixels land on whole target pixels, with nothing of their
// neighbours mixed in: shrinking gives one pixel per block, enlarging a square per pixel.
TEST(ResampleByAreaTest, WholeRatiosKeepBlocksApartBothWays) {
    auto block = [](int column, int row) {
        return Bgr{static_cast<std::uint8_t>(40 * column), static_cast<std::uint8_t>(70 * row),
                   static_cast<std::uint8_t>(255 - 30 * column)};
    };
    const Bytes large = Picture(40, 30, [&](int x, int y) { return block(x / 10, y / 10); });
    const auto shrunk = Resample(large, 4, 3);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(shrunk[row * 4 + column], Dib(block(column, row)))
                << "block " << column << "," << row;

    const Bytes small = Picture(4, 3, block);
    const auto enlarged = Resample(small, 24, 18);
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_EQ(enlarged[y * 24 + x], Dib(block(x / 6, y / 6))) << "pixel " << x << "," << y;
}

TEST(ResampleByAreaTest, EachTargetPixelIsTheMeanOfTheAreaItCovers) {
    const Bgr black{0, 0, 0}, white{255, 255, 255};
    // Two pixels into one: the plain mean, 127.5, rounded up.
    const Bytes pair = Picture(2, 1, [&](int x, int) { return x == 0 ? black : white; });
    EXPECT_EQ(Resample(pair, 1, 1)[0], Dib({128, 128, 128}));

    // Three columns (0, 90, 180 in blue) into two: the first target pixel covers the first
    // column wholly and half of the second, (2 * 0 + 90) / 3 = 30; the second (90 + 2 * 180)
    // / 3 = 150. Green follows the rows in the same way.
    const Bytes three = Picture(3, 3, [](int x, int y) {
        return Bgr{static_cast<std::uint8_t>(90 * x), static_cast<std::uint8_t>(90 * y), 0};
    });
    const auto out = Resample(three, 2, 2);
    EXPECT_EQ(out[0], Dib({30, 30, 0}));
    EXPECT_EQ(out[1], Dib({150, 30, 0}));
    EXPECT_EQ(out[2], Dib({30, 150, 0}));
    EXPECT_EQ(out[3], Dib({150, 150, 0}));
}

// The straightforward definition, pixel by pixel: the overlap of a target pixel with each
// source pixel, in whole units, weights that pixel; the mean is rounded half up.
std::vector<std::uint32_t> ReferenceMean(const Bytes& file, int width, int height) {
    const auto view = ReadBmp(file);
    const std::int64_t sw = view->width, sh = view->height;
    auto overlap = [](std::int64_t s, std::int64_t sourceUnit, std::int64_t t,
                      std::int64_t targetUnit) {
        const std::int64_t lo = std::max(s * sourceUnit, t * targetUnit);
        const std::int64_t hi = std::min((s + 1) * sourceUnit, (t + 1) * targetUnit);
        return hi > lo ? hi - lo : 0;
    };
    std::vector<std::uint32_t> out;
    for (int ty = 0; ty < height; ++ty)
        for (int tx = 0; tx < width; ++tx) {
            std::uint64_t sum[3] = {0, 0, 0};
            for (int y = 0; y < sh; ++y) {
                const std::int64_t wy = overlap(y, height, ty, sh);
                if (!wy) continue;
                for (int x = 0; x < sw; ++x) {
                    const std::int64_t wx = overlap(x, width, tx, sw);
                    const Bgr p = *GetBmpPixel(file, x, y);
                    sum[0] += wx * wy * p.b;
                    sum[1] += wx * wy * p.g;
                    sum[2] += wx * wy * p.r;
                }
            }
            const std::uint64_t total = static_cast<std::uint64_t>(sw * sh);
            auto mean = [&](std::uint64_t v) {
                return static_cast<std::uint32_t>((2 * v + total) / (2 * total));
            };
            out.push_back(mean(sum[0]) | mean(sum[1]) << 8 | mean(sum[2]) << 16);
        }
    return out;
}

// Pictures with black margins, as a snapshot reaching past the screen has them, black rows
// and columns inside, and sizes that share no factor with the target's.
TEST(ResampleByAreaTest, MatchesThePixelByPixelMeanAroundBlackMargins) {
    const struct {
        int sourceWidth, sourceHeight, width, height;
    } kCases[] = {{97, 83, 13, 11}, {31, 29, 12, 7}, {23, 19, 41, 37}, {64, 50, 64, 50}};
    for (const auto& c : kCases) {
        const Bytes file = Picture(c.sourceWidth, c.sourceHeight, [&](int x, int y) {
            const bool margin = x < c.sourceWidth / 4 || y < c.sourceHeight / 3 ||
                                x > c.sourceWidth * 3 / 4 || y % 7 == 3 || x % 11 == 5;
            if (margin) return Bgr{0, 0, 0};
            return Bgr{static_cast<std::uint8_t>(x * 37 + y), static_cast<std::uint8_t>(y * 53),
                       static_cast<std::uint8_t>(255 - x * y % 256)};
        });
        EXPECT_EQ(Resample(file, c.width, c.height), ReferenceMean(file, c.width, c.height))
            << c.sourceWidth << "x" << c.sourceHeight << " to " << c.width << "x" << c.height;
    }
}

// A promise that the picture is black outside a rectangle changes nothing when it holds, also
// for a rectangle larger than needed; pixels it leaves out count as black, which shows that
// they are not read.
TEST(ResampleByAreaTest, APromiseOfBlackOutsideSkipsThoseRowsAndColumns) {
    const int width = 90, height = 70;
    const PixelRect painted{20, 15, 61, 44};
    const Bytes file = Picture(width, height, [&](int x, int y) {
        const bool inside =
            x >= painted.left && x < painted.right && y >= painted.top && y < painted.bottom;
        return inside ? Bgr{static_cast<std::uint8_t>(x * 3), static_cast<std::uint8_t>(y * 3), 200}
                      : Bgr{0, 0, 0};
    });
    const auto view = ReadBmp(file);
    const auto looked = ResampleByArea(*view, 17, 13);
    EXPECT_EQ(ResampleByArea(*view, 17, 13, painted), looked);
    EXPECT_EQ(ResampleByArea(*view, 17, 13, PixelRect{-5, 0, 500, 64}), looked)
        << "a rectangle reaching past the picture is cut to it";
    EXPECT_NE(ResampleByArea(*view, 17, 13, PixelRect{20, 15, 40, 44}), looked);
    const auto none = ResampleByArea(*view, 17, 13, PixelRect{30, 30, 30, 30});
    EXPECT_EQ(none, std::vector<std::uint32_t>(17 * 13, 0u)) << "an empty rectangle: all black";
}

// Rows stored top-down and 32-bit pixels give the same picture as the 24-bit bottom-up files
// the program builds itself: row 0 is always the top.
TEST(ResampleByAreaTest, RowOrderAndPixelSizeOfTheFileDoNotMatter) {
    auto paint = [](int x, int y) {
        return Bgr{static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 20),
                   static_cast<std::uint8_t>((x + y) * 10)};
    };
    const int width = 6, height = 5;
    const auto expected = Resample(Picture(width, height, paint), 3, 10);

    for (const bool topDown : {false, true}) {
        Bytes file(54 + static_cast<std::size_t>(width) * 4 * height, 0);
        file[0] = 'B';
        file[1] = 'M';
        auto put32 = [&](std::size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        };
        put32(2, static_cast<std::uint32_t>(file.size()));
        put32(10, 54);
        put32(14, 40);
        put32(18, width);
        put32(22, static_cast<std::uint32_t>(topDown ? -height : height));
        file[26] = 1;
        file[28] = 32;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int stored = topDown ? y : height - 1 - y;
                const Bgr c = paint(x, y);
                std::uint8_t* p = file.data() + 54 + (stored * width + x) * 4;
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
                p[3] = 0xEE;  // whatever the fourth byte holds stays out of the colour
            }
        EXPECT_EQ(Resample(file, 3, 10), expected) << (topDown ? "top-down" : "bottom-up");
    }
}

TEST(ResampleByAreaTest, RefusesEmptyAndOversizedRequests) {
    const Bytes one = Picture(1, 1, [](int, int) { return Bgr{1, 2, 3}; });
    EXPECT_TRUE(Resample(one, 0, 5).empty());
    EXPECT_TRUE(Resample(one, 5, -1).empty());
    EXPECT_TRUE(Resample(one, kResampleMaxTarget + 1, 1).empty());
    const Bytes empty = NewBmp24(0, 0);
    EXPECT_TRUE(Resample(empty, 5, 5).empty());
}

}  // namespace
}  // namespace pigmora
