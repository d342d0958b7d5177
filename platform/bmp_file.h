// BMP files in memory: the 24-bit bottom-up form the program builds (snapshots, generated
// pictures) and a checked reader for the uncompressed files that picture boxes are given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pigmora {

// File header (14 bytes) plus BITMAPINFOHEADER (40 bytes), no colour table.
inline constexpr std::size_t kBmpPixelOffset = 54;

// Pictures larger than this are refused: no picture of this program comes near it, and a
// lying header must not make the reader or the writer reach for gigabytes.
inline constexpr std::uint64_t kBmpMaxPixelBytes = std::uint64_t{1} << 30;

// Bytes of one 24-bit pixel row, padded to a multiple of 4; 0 for a negative width.
std::size_t BmpRowStride(int width);

// A complete 24-bit bottom-up BMP file of the given size with every pixel black. Empty for a
// negative size or one whose pixel data would exceed kBmpMaxPixelBytes.
std::vector<std::uint8_t> NewBmp24(int width, int height);

// A parsed view into a BMP file; the pointers point into the buffer given to ReadBmp.
struct BmpView {
    int width;
    int height;        // always >= 0; bottomUp tells the row order
    int bitsPerPixel;  // 24 or 32
    bool bottomUp;
    std::size_t stride;
    const std::uint8_t* pixels;  // the first row stored in the file
    const std::uint8_t* infoHeader;

    // The row y counted from the top of the picture.
    const std::uint8_t* Row(int y) const {
        const int stored = bottomUp ? height - 1 - y : y;
        return pixels + static_cast<std::size_t>(stored) * stride;
    }
};

// Uncompressed 24- or 32-bit files with a BITMAPINFOHEADER or a larger information header,
// rows in either order. Every size and offset is checked against the buffer, so a truncated
// or lying file gives nullopt, never a read outside it.
std::optional<BmpView> ReadBmp(std::span<const std::uint8_t> file);

struct Bgr {
    std::uint8_t b, g, r;
    friend bool operator==(const Bgr&, const Bgr&) = default;
};

// One pixel, x from the left and y from the top, of a file that ReadBmp accepts. Out of range
// or an unreadable file: nullopt, and Set changes nothing and returns false. Each call reads
// the headers again: meant for building small pictures and for tests, not for whole images.
std::optional<Bgr> GetBmpPixel(std::span<const std::uint8_t> file, int x, int y);
bool SetBmpPixel(std::span<std::uint8_t> file, int x, int y, Bgr colour);

}  // namespace pigmora
