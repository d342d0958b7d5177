#include "platform/bmp_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pigmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutU16(Bytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A file in the layout other programs write: any bit depth, rows in either order, an
// information header of any size.
Bytes HandMadeBmp(int width, int height, int bitsPerPixel, std::uint32_t infoSize = 40) {
    const std::size_t stride = (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
    const std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
    const std::size_t offset = 14 + infoSize;
    Bytes file(offset + stride * rows, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, 2, static_cast<std::uint32_t>(file.size()));
    PutU32(file, 10, static_cast<std::uint32_t>(offset));
    PutU32(file, 14, infoSize);
    PutU32(file, 18, static_cast<std::uint32_t>(width));
    PutU32(file, 22, static_cast<std::uint32_t>(height));
    PutU16(file, 26, 1);
    PutU16(file, 28, static_cast<std::uint16_t>(bitsPerPixel));
    return file;
}

TEST(NewBmp24, HeaderLayoutAndRowPadding) {
    struct Case {
        int width;
        std::size_t stride;
    };
    const Case cases[]{{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE("width " + std::to_string(c.width));
        const int height = 3;
        EXPECT_EQ(BmpRowStride(c.width), c.stride);
        const Bytes file = NewBmp24(c.width, height);
        const std::size_t imageBytes = c.stride * height;
        ASSERT_EQ(file.size(), 54 + imageBytes);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(U32(file, 2), file.size());
        EXPECT_EQ(U16(file, 6), 0);
        EXPECT_EQ(U16(file, 8), 0);
        EXPECT_EQ(U32(file, 10), kBmpPixelOffset);
        EXPECT_EQ(U32(file, 14), 40u);
        EXPECT_EQ(static_cast<std::int32_t>(U32(file, 18)), c.width);
        EXPECT_EQ(static_cast<std::int32_t>(U32(file, 22)), height);  // positive: bottom-up
        EXPECT_EQ(U16(file, 26), 1);
        EXPECT_EQ(U16(file, 28), 24);
        EXPECT_EQ(U32(file, 30), 0u);
        EXPECT_EQ(U32(file, 34), imageBytes);
        for (std::size_t i = 38; i < file.size(); ++i) ASSERT_EQ(file[i], 0) << "byte " << i;
    }
}

TEST(NewBmp24, EmptyAndRefusedSizes) {
    EXPECT_EQ(NewBmp24(0, 0).size(), 54u);
    EXPECT_EQ(NewBmp24(0, 7).size(), 54u);
    EXPECT_EQ(NewBmp24(7, 0).size(), 54u);
    EXPECT_TRUE(NewBmp24(-1, 1).empty());
    EXPECT_TRUE(NewBmp24(1, -1).empty());
    // Pixel data far beyond a gigabyte, and sizes whose product overflows 32 bits.
    EXPECT_TRUE(NewBmp24(100000, 100000).empty());
    EXPECT_TRUE(NewBmp24(0x7FFFFFFF, 0x7FFFFFFF).empty());
    EXPECT_TRUE(NewBmp24(0x7FFFFFFF, 1).empty());
    EXPECT_EQ(BmpRowStride(-5), 0u);
}

TEST(BmpPixels, BottomUpRowsAddressedFromTheTop) {
    Bytes file = NewBmp24(3, 2);
    ASSERT_TRUE(SetBmpPixel(file, 0, 0, Bgr{1, 2, 3}));
    ASSERT_TRUE(SetBmpPixel(file, 2, 1, Bgr{4, 5, 6}));
    // The top row is stored last.
    const std::size_t lastRow = 54 + BmpRowStride(3);
    EXPECT_EQ(file[lastRow], 1);
    EXPECT_EQ(file[lastRow + 2], 3);
    EXPECT_EQ(file[54 + 6], 4);
    EXPECT_EQ(GetBmpPixel(file, 0, 0), (Bgr{1, 2, 3}));
    EXPECT_EQ(GetBmpPixel(file, 2, 1), (Bgr{4, 5, 6}));
    EXPECT_EQ(GetBmpPixel(file, 1, 1), (Bgr{0, 0, 0}));

    for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, 2}, {0, -1}}) {
        EXPECT_FALSE(GetBmpPixel(file, x, y)) << x << "," << y;
        EXPECT_FALSE(SetBmpPixel(file, x, y, Bgr{9, 9, 9})) << x << "," << y;
    }
    EXPECT_EQ(file, [] {
        Bytes expected = NewBmp24(3, 2);
        SetBmpPixel(expected, 0, 0, Bgr{1, 2, 3});
        SetBmpPixel(expected, 2, 1, Bgr{4, 5, 6});
        return expected;
    }());
}

TEST(ReadBmp, AcceptsWhatNewBmp24Writes) {
    const Bytes file = NewBmp24(5, 4);
    const std::optional<BmpView> view = ReadBmp(file);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->width, 5);
    EXPECT_EQ(view->height, 4);
    EXPECT_EQ(view->bitsPerPixel, 24);
    EXPECT_TRUE(view->bottomUp);
    EXPECT_EQ(view->stride, 16u);
    EXPECT_EQ(view->pixels, file.data() + 54);
    EXPECT_EQ(view->infoHeader, file.data() + 14);
    EXPECT_EQ(view->Row(0), file.data() + 54 + 3 * 16);

    EXPECT_TRUE(ReadBmp(NewBmp24(0, 0)));
}

TEST(ReadBmp, TopDownAnd32BitFiles) {
    Bytes topDown = HandMadeBmp(2, -2, 24);
    topDown[54] = 11;  // first stored row is the top row
    const std::optional<BmpView> view = ReadBmp(topDown);
    ASSERT_TRUE(view);
    EXPECT_FALSE(view->bottomUp);
    EXPECT_EQ(view->height, 2);
    EXPECT_EQ(view->Row(0), topDown.data() + 54);
    EXPECT_EQ(GetBmpPixel(topDown, 0, 0), (Bgr{11, 0, 0}));

    Bytes wide = HandMadeBmp(3, 2, 32);
    const std::optional<BmpView> view32 = ReadBmp(wide);
    ASSERT_TRUE(view32);
    EXPECT_EQ(view32->bitsPerPixel, 32);
    EXPECT_EQ(view32->stride, 12u);
    ASSERT_TRUE(SetBmpPixel(wide, 2, 0, Bgr{7, 8, 9}));
    // Top row stored last; 4 bytes a pixel, the fourth left alone.
    EXPECT_EQ(wide[54 + 12 + 8], 7);
    EXPECT_EQ(wide[54 + 12 + 10], 9);
    EXPECT_EQ(wide[54 + 12 + 11], 0);

    // A version 5 information header (124 bytes) with the pixels after it.
    Bytes v5 = HandMadeBmp(1, 1, 24, 124);
    const std::optional<BmpView> view5 = ReadBmp(v5);
    ASSERT_TRUE(view5);
    EXPECT_EQ(view5->pixels, v5.data() + 14 + 124);
}

TEST(ReadBmp, RejectsTruncatedAndLyingFiles) {
    struct Case {
        const char* name;
        std::function<void(Bytes&)> corrupt;
    };
    const Case cases[]{
        {"empty", [](Bytes& f) { f.clear(); }},
        {"file header only", [](Bytes& f) { f.resize(14); }},
        {"info header cut", [](Bytes& f) { f.resize(53); }},
        {"last pixel byte missing", [](Bytes& f) { f.pop_back(); }},
        {"not BM", [](Bytes& f) { f[1] = 'A'; }},
        {"file size beyond the buffer", [](Bytes& f) { PutU32(f, 2, f.size() + 1); }},
        {"info header of 12 bytes", [](Bytes& f) { PutU32(f, 14, 12); }},
        {"info header larger than the file", [](Bytes& f) { PutU32(f, 14, 0xFFFFFFF0); }},
        {"pixel offset inside the headers", [](Bytes& f) { PutU32(f, 10, 40); }},
        {"pixel offset past the end", [](Bytes& f) { PutU32(f, 10, 0xFFFFFFFF); }},
        {"pixel offset leaves too few bytes", [](Bytes& f) { PutU32(f, 10, 58); }},
        {"negative width", [](Bytes& f) { PutU32(f, 18, 0xFFFFFFFF); }},
        {"huge width", [](Bytes& f) { PutU32(f, 18, 0x7FFFFFFF); }},
        {"height beyond the data", [](Bytes& f) { PutU32(f, 22, 3); }},
        {"top-down height beyond the data", [](Bytes& f) { PutU32(f, 22, 0xFFFFFFFD); }},
        {"most negative height", [](Bytes& f) { PutU32(f, 22, 0x80000000); }},
        {"size product past 32 bits",
         [](Bytes& f) {
             PutU32(f, 18, 0x10000);
             PutU32(f, 22, 0x10000);
         }},
        {"two planes", [](Bytes& f) { PutU16(f, 26, 2); }},
        {"8 bits per pixel", [](Bytes& f) { PutU16(f, 28, 8); }},
        {"16 bits per pixel", [](Bytes& f) { PutU16(f, 28, 16); }},
        {"0 bits per pixel", [](Bytes& f) { PutU16(f, 28, 0); }},
        {"run-length compressed", [](Bytes& f) { PutU32(f, 30, 1); }},
        {"bit fields", [](Bytes& f) { PutU32(f, 30, 3); }},
    };
    for (const Case& c : cases) {
        Bytes file = NewBmp24(3, 2);
        ASSERT_TRUE(ReadBmp(file));
        c.corrupt(file);
        EXPECT_FALSE(ReadBmp(file)) << c.name;
        EXPECT_FALSE(GetBmpPixel(file, 0, 0)) << c.name;
    }
}

// Whatever a header says, an accepted view lies inside the buffer.
TEST(ReadBmp, AnyHeaderByteChangeStaysInsideTheBuffer) {
    const Bytes original = NewBmp24(3, 2);
    for (std::size_t at = 0; at < 54; ++at) {
        for (std::uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF}) {
            Bytes file = original;
            file[at] = value;
            const std::optional<BmpView> view = ReadBmp(file);
            if (!view) continue;
            const std::uint8_t* end = file.data() + file.size();
            ASSERT_GE(view->pixels, file.data() + 54) << "byte " << at << " = " << +value;
            ASSERT_LE(view->stride * view->height, static_cast<std::size_t>(end - view->pixels))
                << "byte " << at << " = " << +value;
        }
    }
}

}  // namespace
}  // namespace pigmora
