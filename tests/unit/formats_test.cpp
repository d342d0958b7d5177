#include "assets/formats.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace pigmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

IndexedImage RandomImage(int width, int height, int colours, std::uint32_t seed) {
    std::mt19937 random(seed);
    IndexedImage image{width, height, {}, {}};
    for (int i = 0; i < colours; ++i) {
        image.palette.push_back(Rgb8{static_cast<std::uint8_t>(random()),
                                     static_cast<std::uint8_t>(random()),
                                     static_cast<std::uint8_t>(random())});
    }
    std::uniform_int_distribution<int> index(0, colours - 1);
    for (int i = 0; i < width * height; ++i) {
        image.indices.push_back(static_cast<std::uint8_t>(index(random)));
    }
    return image;
}

// Runs of one index: long strings, so the table grows through every code width.
IndexedImage RunsImage(int width, int height) {
    IndexedImage image{width, height, {Rgb8{0, 0, 0}, Rgb8{255, 255, 255}, Rgb8{9, 8, 7}}, {}};
    for (int i = 0; i < width * height; ++i) {
        image.indices.push_back(static_cast<std::uint8_t>((i / 997) % 3));
    }
    return image;
}

TEST(Gif, RoundTripsThroughWriterAndReader) {
    struct Case {
        const char* name;
        IndexedImage image;
    };
    const Case cases[]{
        {"one pixel", RandomImage(1, 1, 1, 1)},
        {"one row", RandomImage(300, 1, 7, 2)},
        {"one column", RandomImage(1, 300, 7, 3)},
        // Random data fills the 4096-entry table many times over: clear codes.
        {"random, 256 colours", RandomImage(311, 207, 256, 4)},
        {"random, 2 colours", RandomImage(640, 480, 2, 5)},
        {"random, 17 colours", RandomImage(123, 456, 17, 6)},
        {"long runs", RunsImage(1000, 700)},
        {"one colour", RandomImage(2000, 1000, 1, 7)},
        {"widest", RandomImage(65535, 2, 200, 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = WriteGif(c.image);
        ASSERT_FALSE(file.empty());
        const std::optional<GifFile> gif = ReadGif(file);
        ASSERT_TRUE(gif);
        EXPECT_EQ(gif->screenWidth, c.image.width);
        EXPECT_EQ(gif->screenHeight, c.image.height);
        ASSERT_EQ(gif->globalPalette.size(), 256u);
        for (std::size_t i = 0; i < c.image.palette.size(); ++i) {
            ASSERT_EQ(gif->globalPalette[i], c.image.palette[i]) << "palette entry " << i;
        }
        EXPECT_TRUE(gif->extensionLabels.empty());
        ASSERT_EQ(gif->images.size(), 1u);
        const GifImage& image = gif->images[0];
        EXPECT_EQ(image.left, 0);
        EXPECT_EQ(image.top, 0);
        EXPECT_EQ(image.width, c.image.width);
        EXPECT_EQ(image.height, c.image.height);
        EXPECT_FALSE(image.interlaced);
        EXPECT_TRUE(image.localPalette.empty());
        ASSERT_TRUE(image.indices == c.image.indices);
    }
}

TEST(Gif, CompressesRepetitiveData) {
    const IndexedImage flat = RandomImage(400, 400, 1, 9);
    EXPECT_LT(WriteGif(flat).size(), 3000u);  // 160000 pixels
}

TEST(Gif, WriterRefusesWhatCannotBeWritten) {
    struct Case {
        const char* name;
        IndexedImage image;
    };
    IndexedImage beyondPalette = RandomImage(2, 2, 3, 10);
    beyondPalette.indices[3] = 3;
    IndexedImage tooManyColours = RandomImage(2, 2, 3, 11);
    tooManyColours.palette.resize(257);
    IndexedImage shortIndices = RandomImage(2, 2, 3, 12);
    shortIndices.indices.pop_back();
    const Case cases[]{
        {"index beyond the palette", beyondPalette},
        {"257 colours", tooManyColours},
        {"too few indices", shortIndices},
        {"no pixels", IndexedImage{0, 0, {Rgb8{}}, {}}},
        {"too wide", RandomImage(65536, 1, 2, 13)},
        {"negative", IndexedImage{-1, -1, {Rgb8{}}, {0}}},
    };
    for (const Case& c : cases) EXPECT_TRUE(WriteGif(c.image).empty()) << c.name;
}

TEST(Gif, ReaderRejectsEveryTruncation) {
    const Bytes file = WriteGif(RandomImage(40, 30, 50, 14));
    ASSERT_TRUE(ReadGif(file));
    for (std::size_t n = 0; n < file.size(); ++n) {
        const std::span<const std::uint8_t> cut(file.data(), n);
        ASSERT_FALSE(ReadGif(cut)) << n << " of " << file.size() << " bytes";
    }
}

TEST(Gif, ReaderRejectsBrokenCodes) {
    Bytes file = WriteGif(RandomImage(40, 30, 50, 15));
    // The first code after the clear must be a literal; 0xFF... gives a code of the table.
    const std::size_t data = 6 + 7 + 768 + 10 + 1 + 1;  // first LZW byte
    file[data] = 0xFF;
    file[data + 1] = 0xFF;
    EXPECT_FALSE(ReadGif(file));
}

TEST(Gif, IndexColoursKeepsFirstAppearanceOrder) {
    const std::vector<Rgb8> pixels{{1, 1, 1}, {2, 2, 2}, {1, 1, 1}, {3, 3, 3}};
    const std::optional<IndexedImage> image = IndexColours(2, 2, pixels);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->palette, (std::vector<Rgb8>{{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}));
    EXPECT_EQ(image->indices, (std::vector<std::uint8_t>{0, 1, 0, 2}));

    std::vector<Rgb8> many;
    for (int i = 0; i < 257; ++i) {
        many.push_back(Rgb8{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0});
    }
    EXPECT_FALSE(IndexColours(257, 1, many));
    EXPECT_TRUE(IndexColours(256, 1, std::span(many).first(256)));
    EXPECT_FALSE(IndexColours(3, 1, pixels));
}

BgraImage PatternImage(int width, int height) {
    BgraImage image{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t a = (x + y) % 3 == 0 ? 0 : static_cast<std::uint8_t>(x * 7 + y);
            image.pixels.push_back(
                a == 0 ? Bgra{0, 0, 0, 0}
                       : Bgra{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 200, a});
        }
    }
    return image;
}

void ExpectSameImage(const IconFileEntry& entry, const BgraImage& expected) {
    ASSERT_EQ(entry.image.width, expected.width);
    ASSERT_EQ(entry.image.height, expected.height);
    EXPECT_EQ(entry.bitsPerPixel, 32);
    ASSERT_TRUE(entry.image.pixels == expected.pixels);
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            ASSERT_EQ(entry.andMask[y * expected.width + x], expected.At(x, y).a == 0)
                << x << "," << y;
        }
    }
}

TEST(CursorFile, RoundTripsImagesAndHotspotsInOrder) {
    // Odd widths need AND mask rows padded to 32 bits; 256 is written as 0 in the directory.
    const std::vector<CursorImage> images{
        {PatternImage(48, 48), 15, 0},
        {PatternImage(33, 17), 32, 16},
        {PatternImage(256, 256), 128, 255},
    };
    const Bytes file = WriteCursorFile(images);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file[6 + 32], 0);  // third entry's width byte
    const std::optional<IconFile> cursor = ReadIconFile(file);
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->type, IconFileType::Cursor);
    ASSERT_EQ(cursor->entries.size(), images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i));
        const IconFileEntry& e = cursor->entries[i];
        EXPECT_EQ(e.directoryWidth, images[i].image.width);
        EXPECT_EQ(e.directoryHeight, images[i].image.height);
        EXPECT_EQ(e.hotspotX, images[i].hotspotX);
        EXPECT_EQ(e.hotspotY, images[i].hotspotY);
        ExpectSameImage(e, images[i].image);
    }
}

TEST(IconFile, RoundTripsWithPlanesAndBitCount) {
    const std::vector<BgraImage> images{PatternImage(100, 100)};
    const std::optional<IconFile> icon = ReadIconFile(WriteIconFile(images));
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->type, IconFileType::Icon);
    ASSERT_EQ(icon->entries.size(), 1u);
    EXPECT_EQ(icon->entries[0].hotspotX, 1);   // colour planes
    EXPECT_EQ(icon->entries[0].hotspotY, 32);  // bits per pixel
    ExpectSameImage(icon->entries[0], images[0]);
}

TEST(CursorFile, WriterRefusesBadImages) {
    BgraImage shortPixels = PatternImage(4, 4);
    shortPixels.pixels.pop_back();
    struct Case {
        const char* name;
        std::vector<CursorImage> images;
    };
    const Case cases[]{
        {"no image", {}},
        {"hotspot right of the image", {{PatternImage(4, 4), 4, 0}}},
        {"hotspot below the image", {{PatternImage(4, 4), 0, 4}}},
        {"negative hotspot", {{PatternImage(4, 4), -1, 0}}},
        {"empty image", {{BgraImage{}, 0, 0}}},
        {"257 wide", {{PatternImage(257, 1), 0, 0}}},
        {"pixel count", {{shortPixels, 0, 0}}},
        {"second image bad", {{PatternImage(4, 4), 0, 0}, {PatternImage(4, 4), 9, 9}}},
    };
    for (const Case& c : cases) EXPECT_TRUE(WriteCursorFile(c.images).empty()) << c.name;
}

TEST(IconFile, ReaderRejectsEveryTruncationAndBadOffsets) {
    const std::vector<CursorImage> images{{PatternImage(5, 3), 1, 1}, {PatternImage(2, 2), 0, 0}};
    const Bytes file = WriteCursorFile(images);
    ASSERT_TRUE(ReadIconFile(file));
    for (std::size_t n = 0; n < file.size(); ++n) {
        ASSERT_FALSE(ReadIconFile(std::span(file.data(), n))) << n << " bytes";
    }
    Bytes lying = file;
    lying[6 + 12] = 0xF0;  // first image's offset far beyond the file
    EXPECT_FALSE(ReadIconFile(lying));
    lying = file;
    lying[6 + 11] = 0x10;  // first image's byte count beyond the file
    EXPECT_FALSE(ReadIconFile(lying));
    lying = file;
    lying[2] = 3;  // neither icon nor cursor
    EXPECT_FALSE(ReadIconFile(lying));
}

}  // namespace
}  // namespace pigmora
