// The file formats of the embedded pictures besides BMP: cursor and icon files with 32-bit
// images, and single-image GIF files. Writers for the asset generator, readers that check what
// it wrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pigmora {

struct Bgra {
    std::uint8_t b, g, r, a;
    friend bool operator==(const Bgra&, const Bgra&) = default;
};

// Straight (not premultiplied) alpha, as icon and cursor files hold it; rows from the top.
struct BgraImage {
    int width = 0;
    int height = 0;
    std::vector<Bgra> pixels;

    Bgra& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Bgra& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct CursorImage {
    BgraImage image;
    int hotspotX = 0;
    int hotspotY = 0;
};

// A .cur file (directory type 2): one entry per image, in the order given, each image a
// 32-bit BMP with alpha and an AND mask that is set where alpha is 0. Empty when there is no
// image, an image's width or height lies outside 1..256, its pixel count does not match, or a
// hotspot lies outside its image.
std::vector<std::uint8_t> WriteCursorFile(std::span<const CursorImage> images);

// A .ico file (directory type 1) of 32-bit images with alpha, in BMP form. Empty on the same
// faults as WriteCursorFile.
std::vector<std::uint8_t> WriteIconFile(std::span<const BgraImage> images);

enum class IconFileType : std::uint16_t { Icon = 1, Cursor = 2 };

struct IconFileEntry {
    int directoryWidth;  // as the directory gives them, 0 read as 256
    int directoryHeight;
    // Cursor files: the hotspot. Icon files keep colour planes and bits per pixel here.
    int hotspotX;
    int hotspotY;
    int bitsPerPixel;           // of the image's own header
    BgraImage image;            // size from the image's own header
    std::vector<bool> andMask;  // true = transparent, rows from the top
};

struct IconFile {
    IconFileType type;
    std::vector<IconFileEntry> entries;
};

// Reads icon and cursor files whose images are all uncompressed 32-bit BMPs. Anything else,
// or any size or offset that does not fit the buffer, gives nullopt.
std::optional<IconFile> ReadIconFile(std::span<const std::uint8_t> file);

struct Rgb8 {
    std::uint8_t r, g, b;
    friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

// A picture of at most 256 colours: palette indices, rows from the top.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb8> palette;
    std::vector<std::uint8_t> indices;
};

// The palette in the order colours first appear; nullopt when there are more than 256 colours
// or the pixel count does not match.
std::optional<IndexedImage> IndexColours(int width, int height, std::span<const Rgb8> pixels);

// A GIF89a file: logical screen and one image of the same size at (0, 0), a global colour
// table of 256 entries (the palette padded with black), no extension blocks, LZW data with
// 8-bit literals. Empty when the size is not 1..65535 each way, the index count does not match,
// the palette has more than 256 colours or an index lies beyond it.
std::vector<std::uint8_t> WriteGif(const IndexedImage& image);

struct GifImage {
    int left;
    int top;
    int width;
    int height;
    bool interlaced;
    std::vector<Rgb8> localPalette;     // empty when the image uses the global table
    std::vector<std::uint8_t> indices;  // rows from the top, de-interlaced
};

struct GifFile {
    int screenWidth;
    int screenHeight;
    std::vector<Rgb8> globalPalette;            // empty when the file has none
    std::vector<std::uint8_t> extensionLabels;  // every extension block, in file order
    std::vector<GifImage> images;
};

// Reads GIF87a and GIF89a files. Strict: the LZW data of each image must decode to exactly its
// pixel count and the file must end with its trailer; otherwise nullopt.
std::optional<GifFile> ReadGif(std::span<const std::uint8_t> file);

// The colours of one image through its local or the global palette; empty when an index lies
// beyond the palette or there is no such image.
std::vector<Rgb8> GifImageColours(const GifFile& gif, std::size_t image);

}  // namespace pigmora
