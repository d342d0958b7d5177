#include "platform/bmp_file.h"

#include <limits>

namespace pigmora {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;

std::uint16_t ReadU16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::int32_t ReadI32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(ReadU32(b, at));
}

void PutU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint64_t StrideFor(std::uint64_t width, std::uint64_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

}  // namespace

std::size_t BmpRowStride(int width) {
    if (width < 0) return 0;
    return static_cast<std::size_t>(StrideFor(static_cast<std::uint64_t>(width), 24));
}

std::vector<std::uint8_t> NewBmp24(int width, int height) {
    if (width < 0 || height < 0) return {};
    const std::uint64_t imageBytes = StrideFor(width, 24) * static_cast<std::uint64_t>(height);
    if (imageBytes > kBmpMaxPixelBytes) return {};
    const std::uint64_t fileBytes = kBmpPixelOffset + imageBytes;

    std::vector<std::uint8_t> file(static_cast<std::size_t>(fileBytes), 0);
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, 2, static_cast<std::uint32_t>(fileBytes));
    // Bytes 6..9 are the two reserved words, left zero.
    PutU32(file, 10, static_cast<std::uint32_t>(kBmpPixelOffset));

    PutU32(file, 14, static_cast<std::uint32_t>(kInfoHeaderSize));
    PutU32(file, 18, static_cast<std::uint32_t>(width));
    PutU32(file, 22, static_cast<std::uint32_t>(height));  // positive: rows bottom-up
    PutU16(file, 26, 1);
    PutU16(file, 28, 24);
    PutU32(file, 30, kBiRgb);
    PutU32(file, 34, static_cast<std::uint32_t>(imageBytes));
    // Resolution and colour counts stay zero: no colour table, no preferred resolution.
    return file;
}

std::optional<BmpView> ReadBmp(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderSize + kInfoHeaderSize) return std::nullopt;
    if (file[0] != 'B' || file[1] != 'M') return std::nullopt;
    // A file that says it is longer than what we hold has been cut short.
    if (ReadU32(file, 2) > file.size()) return std::nullopt;
    const std::uint64_t pixelOffset = ReadU32(file, 10);

    const std::uint64_t infoSize = ReadU32(file, 14);
    if (infoSize < kInfoHeaderSize || infoSize > file.size() - kFileHeaderSize) {
        return std::nullopt;
    }
    const std::int32_t width = ReadI32(file, 18);
    const std::int32_t rawHeight = ReadI32(file, 22);
    const std::uint16_t planes = ReadU16(file, 26);
    const std::uint16_t bitsPerPixel = ReadU16(file, 28);
    const std::uint32_t compression = ReadU32(file, 30);

    if (width < 0 || rawHeight == std::numeric_limits<std::int32_t>::min()) return std::nullopt;
    if (planes != 1 || (bitsPerPixel != 24 && bitsPerPixel != 32) || compression != kBiRgb) {
        return std::nullopt;
    }
    const bool bottomUp = rawHeight >= 0;
    const std::int32_t height = bottomUp ? rawHeight : -rawHeight;

    const std::uint64_t stride = StrideFor(static_cast<std::uint64_t>(width), bitsPerPixel);
    const std::uint64_t imageBytes = stride * static_cast<std::uint64_t>(height);
    if (imageBytes > kBmpMaxPixelBytes) return std::nullopt;
    if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset > file.size()) {
        return std::nullopt;
    }
    if (imageBytes > file.size() - pixelOffset) return std::nullopt;

    return BmpView{
        .width = width,
        .height = height,
        .bitsPerPixel = bitsPerPixel,
        .bottomUp = bottomUp,
        .stride = static_cast<std::size_t>(stride),
        .pixels = file.data() + pixelOffset,
        .infoHeader = file.data() + kFileHeaderSize,
    };
}

namespace {

// Offset of pixel (x, y) inside the file, or nullopt when it lies outside the picture.
std::optional<std::size_t> PixelOffset(std::span<const std::uint8_t> file, int x, int y) {
    const std::optional<BmpView> view = ReadBmp(file);
    if (!view || x < 0 || y < 0 || x >= view->width || y >= view->height) return std::nullopt;
    const std::size_t bytesPerPixel = static_cast<std::size_t>(view->bitsPerPixel / 8);
    return static_cast<std::size_t>(view->Row(y) - file.data()) +
           static_cast<std::size_t>(x) * bytesPerPixel;
}

}  // namespace

std::optional<Bgr> GetBmpPixel(std::span<const std::uint8_t> file, int x, int y) {
    const std::optional<std::size_t> at = PixelOffset(file, x, y);
    if (!at) return std::nullopt;
    return Bgr{file[*at], file[*at + 1], file[*at + 2]};
}

bool SetBmpPixel(std::span<std::uint8_t> file, int x, int y, Bgr colour) {
    const std::optional<std::size_t> at = PixelOffset(file, x, y);
    if (!at) return false;
    file[*at] = colour.b;
    file[*at + 1] = colour.g;
    file[*at + 2] = colour.r;
    return true;
}

}  // namespace pigmora
