#include "assets/formats.h"

#include <algorithm>
#include <array>
#include <limits>

namespace pigmora {

namespace {

// ---- little-endian bytes -------------------------------------------------------------------

void AppendU8(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
}

void AppendU16(std::vector<std::uint8_t>& out, unsigned v) {
    AppendU8(out, v & 0xFF);
    AppendU8(out, (v >> 8) & 0xFF);
}

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    AppendU16(out, v & 0xFFFF);
    AppendU16(out, v >> 16);
}

std::uint16_t U16At(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32At(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(U16At(b, at)) |
           (static_cast<std::uint32_t>(U16At(b, at + 2)) << 16);
}

// ---- icon and cursor files -----------------------------------------------------------------

constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kMaxIconSide = 256;

std::size_t MaskStride(int width) { return static_cast<std::size_t>((width + 31) / 32) * 4; }

bool ValidIconImage(const BgraImage& image) {
    return image.width >= 1 && image.width <= kMaxIconSide && image.height >= 1 &&
           image.height <= kMaxIconSide &&
           image.pixels.size() == static_cast<std::size_t>(image.width) * image.height;
}

// The BMP form of one image: an information header with the height doubled (colour rows plus
// mask rows), the colour rows bottom-up, then the AND mask bottom-up.
std::vector<std::uint8_t> IconImageData(const BgraImage& image) {
    const std::size_t colourBytes = static_cast<std::size_t>(image.width) * 4 * image.height;
    const std::size_t maskBytes = MaskStride(image.width) * image.height;

    std::vector<std::uint8_t> data;
    data.reserve(kInfoHeaderSize + colourBytes + maskBytes);
    AppendU32(data, kInfoHeaderSize);
    AppendU32(data, static_cast<std::uint32_t>(image.width));
    AppendU32(data, static_cast<std::uint32_t>(image.height * 2));
    AppendU16(data, 1);   // planes
    AppendU16(data, 32);  // bits per pixel
    AppendU32(data, 0);   // BI_RGB
    AppendU32(data, static_cast<std::uint32_t>(colourBytes + maskBytes));
    for (int i = 0; i < 4; ++i) AppendU32(data, 0);  // resolution, colour counts

    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Bgra& p = image.At(x, y);
            data.insert(data.end(), {p.b, p.g, p.r, p.a});
        }
    }
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(MaskStride(image.width), 0);
        for (int x = 0; x < image.width; ++x) {
            if (image.At(x, y).a == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        data.insert(data.end(), row.begin(), row.end());
    }
    return data;
}

struct DirectoryItem {
    const BgraImage* image;
    unsigned field1;  // hotspot x, or colour planes
    unsigned field2;  // hotspot y, or bits per pixel
};

std::vector<std::uint8_t> WriteDirectoryFile(IconFileType type,
                                             std::span<const DirectoryItem> items) {
    if (items.empty() || items.size() > std::numeric_limits<std::uint16_t>::max()) return {};
    std::vector<std::vector<std::uint8_t>> images;
    for (const DirectoryItem& item : items) images.push_back(IconImageData(*item.image));

    std::vector<std::uint8_t> file;
    AppendU16(file, 0);
    AppendU16(file, static_cast<unsigned>(type));
    AppendU16(file, static_cast<unsigned>(items.size()));
    std::size_t offset = kDirectoryHeaderSize + kDirectoryEntrySize * items.size();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const BgraImage& image = *items[i].image;
        AppendU8(file, image.width == kMaxIconSide ? 0 : image.width);
        AppendU8(file, image.height == kMaxIconSide ? 0 : image.height);
        AppendU8(file, 0);  // no palette
        AppendU8(file, 0);
        AppendU16(file, items[i].field1);
        AppendU16(file, items[i].field2);
        AppendU32(file, static_cast<std::uint32_t>(images[i].size()));
        AppendU32(file, static_cast<std::uint32_t>(offset));
        offset += images[i].size();
    }
    for (const std::vector<std::uint8_t>& data : images) {
        file.insert(file.end(), data.begin(), data.end());
    }
    return file;
}

std::optional<IconFileEntry> ReadDirectoryEntry(std::span<const std::uint8_t> file,
                                                std::size_t at) {
    IconFileEntry entry;
    entry.directoryWidth = file[at] == 0 ? kMaxIconSide : file[at];
    entry.directoryHeight = file[at + 1] == 0 ? kMaxIconSide : file[at + 1];
    entry.hotspotX = U16At(file, at + 4);
    entry.hotspotY = U16At(file, at + 6);
    const std::uint64_t bytes = U32At(file, at + 8);
    const std::uint64_t offset = U32At(file, at + 12);
    if (offset > file.size() || bytes > file.size() - offset || bytes < kInfoHeaderSize) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> data = file.subspan(offset, bytes);

    const std::uint32_t infoSize = U32At(data, 0);
    const std::int32_t width = static_cast<std::int32_t>(U32At(data, 4));
    const std::int32_t doubledHeight = static_cast<std::int32_t>(U32At(data, 8));
    entry.bitsPerPixel = U16At(data, 14);
    if (infoSize < kInfoHeaderSize || infoSize > data.size()) return std::nullopt;
    if (U16At(data, 12) != 1 || entry.bitsPerPixel != 32 || U32At(data, 16) != 0) {
        return std::nullopt;
    }
    if (width < 1 || width > kMaxIconSide || doubledHeight < 2 ||
        doubledHeight > 2 * kMaxIconSide || doubledHeight % 2 != 0) {
        return std::nullopt;
    }
    const int height = doubledHeight / 2;
    const std::size_t colourBytes = static_cast<std::size_t>(width) * 4 * height;
    const std::size_t maskBytes = MaskStride(width) * height;
    if (colourBytes + maskBytes > data.size() - infoSize) return std::nullopt;

    entry.image.width = width;
    entry.image.height = height;
    entry.image.pixels.resize(static_cast<std::size_t>(width) * height);
    entry.andMask.resize(entry.image.pixels.size());
    const std::span<const std::uint8_t> colour = data.subspan(infoSize, colourBytes);
    const std::span<const std::uint8_t> mask = data.subspan(infoSize + colourBytes, maskBytes);
    for (int y = 0; y < height; ++y) {
        const std::size_t stored = static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::size_t p = (stored * width + x) * 4;
            entry.image.At(x, y) = Bgra{colour[p], colour[p + 1], colour[p + 2], colour[p + 3]};
            const std::uint8_t bits = mask[stored * MaskStride(width) + x / 8];
            entry.andMask[static_cast<std::size_t>(y) * width + x] =
                (bits & (0x80 >> (x % 8))) != 0;
        }
    }
    return entry;
}

// ---- GIF -----------------------------------------------------------------------------------

constexpr int kGifMaxSide = 65535;
constexpr int kPaletteSize = 256;
constexpr int kLiteralBits = 8;
constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;

// Codes go out least significant bit first, packed across byte boundaries.
class BitWriter {
  public:
    void Put(unsigned code, int bits) {
        pending_ |= static_cast<std::uint32_t>(code) << pendingBits_;
        pendingBits_ += bits;
        while (pendingBits_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(pending_));
            pending_ >>= 8;
            pendingBits_ -= 8;
        }
    }
    std::vector<std::uint8_t> Finish() {
        if (pendingBits_ > 0) bytes_.push_back(static_cast<std::uint8_t>(pending_));
        pending_ = 0;
        pendingBits_ = 0;
        return std::move(bytes_);
    }

  private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t pending_ = 0;
    int pendingBits_ = 0;
};

// Variable-length LZW as GIF uses it: codes start one bit wider than the literals, grow by one
// bit each time the table passes a power of two, and a clear code restarts the table when it
// would pass 4096 entries.
std::vector<std::uint8_t> LzwEncode(std::span<const std::uint8_t> indices) {
    const unsigned clearCode = 1u << kLiteralBits;
    const unsigned endCode = clearCode + 1;
    const unsigned firstFree = clearCode + 2;

    // child[prefix * 256 + literal] is the code of prefix followed by literal, 0 for none
    // (no string code is ever 0). Slots in use are remembered so a clear is cheap.
    std::vector<std::uint16_t> child(static_cast<std::size_t>(kMaxCodes) * kPaletteSize, 0);
    std::vector<std::size_t> used;
    unsigned nextCode = firstFree;
    int codeBits = kLiteralBits + 1;

    BitWriter out;
    out.Put(clearCode, codeBits);
    if (!indices.empty()) {
        unsigned prefix = indices[0];
        for (std::size_t i = 1; i < indices.size(); ++i) {
            const std::size_t slot = static_cast<std::size_t>(prefix) * kPaletteSize + indices[i];
            if (child[slot] != 0) {
                prefix = child[slot];
                continue;
            }
            out.Put(prefix, codeBits);
            child[slot] = static_cast<std::uint16_t>(nextCode++);
            used.push_back(slot);
            // The decoder learns each entry one code later, so it widens its reads after
            // reading the code that follows this one: the same moment as this.
            if (nextCode == (1u << codeBits) + 1 && codeBits < kMaxCodeBits) ++codeBits;
            if (nextCode == kMaxCodes) {
                out.Put(clearCode, codeBits);
                for (std::size_t s : used) child[s] = 0;
                used.clear();
                nextCode = firstFree;
                codeBits = kLiteralBits + 1;
            }
            prefix = indices[i];
        }
        out.Put(prefix, codeBits);
        // The decoder adds an entry for this last code too and may widen before reading the
        // end code.
        if (nextCode + 1 == (1u << codeBits) + 1 && codeBits < kMaxCodeBits &&
            nextCode < kMaxCodes) {
            ++codeBits;
        }
    }
    out.Put(endCode, codeBits);
    return out.Finish();
}

void AppendSubBlocks(std::vector<std::uint8_t>& file, std::span<const std::uint8_t> data) {
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        AppendU8(file, static_cast<unsigned>(n));
        file.insert(file.end(), data.begin() + at, data.begin() + at + n);
    }
    AppendU8(file, 0);
}

// Reads a GIF file front to back; every read is checked against the end.
class GifReader {
  public:
    explicit GifReader(std::span<const std::uint8_t> file) : file_(file) {}

    bool Has(std::size_t n) const { return n <= file_.size() - at_; }
    std::uint8_t U8() { return file_[at_++]; }
    std::uint16_t U16() {
        const std::uint16_t v = U16At(file_, at_);
        at_ += 2;
        return v;
    }
    std::span<const std::uint8_t> Bytes(std::size_t n) {
        const std::span<const std::uint8_t> b = file_.subspan(at_, n);
        at_ += n;
        return b;
    }

    std::optional<std::vector<Rgb8>> Palette(unsigned packed) {
        const std::size_t entries = std::size_t{2} << (packed & 7);
        if (!Has(entries * 3)) return std::nullopt;
        std::vector<Rgb8> palette(entries);
        for (Rgb8& c : palette) {
            c.r = U8();
            c.g = U8();
            c.b = U8();
        }
        return palette;
    }

    // The data of a run of sub-blocks up to its terminator, joined.
    std::optional<std::vector<std::uint8_t>> SubBlocks() {
        std::vector<std::uint8_t> data;
        for (;;) {
            if (!Has(1)) return std::nullopt;
            const std::size_t n = U8();
            if (n == 0) return data;
            if (!Has(n)) return std::nullopt;
            const std::span<const std::uint8_t> block = Bytes(n);
            data.insert(data.end(), block.begin(), block.end());
        }
    }

  private:
    std::span<const std::uint8_t> file_;
    std::size_t at_ = 0;
};

std::optional<std::vector<std::uint8_t>> LzwDecode(std::span<const std::uint8_t> data,
                                                   int literalBits, std::size_t pixelCount) {
    const unsigned clearCode = 1u << literalBits;
    const unsigned endCode = clearCode + 1;
    std::array<std::uint16_t, kMaxCodes> prefix{};
    std::array<std::uint8_t, kMaxCodes> suffix{};
    std::array<std::uint8_t, kMaxCodes> first{};
    std::array<std::uint16_t, kMaxCodes> length{};
    for (unsigned c = 0; c < clearCode; ++c) {
        suffix[c] = static_cast<std::uint8_t>(c);
        first[c] = static_cast<std::uint8_t>(c);
        length[c] = 1;
    }

    std::vector<std::uint8_t> out;
    // The header's size may lie: grow with what the data really yields, not with its claim.
    out.reserve(std::min(pixelCount, data.size() * 4));
    // Writes the string of a code, last byte first, at the end of the output.
    const auto emit = [&](unsigned code) {
        const std::size_t n = length[code];
        if (n > pixelCount - out.size()) return false;
        out.resize(out.size() + n);
        std::size_t at = out.size();
        for (std::size_t k = 0; k < n; ++k) {
            out[--at] = suffix[code];
            code = prefix[code];
        }
        return true;
    };

    int codeBits = literalBits + 1;
    unsigned nextCode = endCode + 1;
    int previous = -1;
    std::size_t bitPos = 0;
    const std::size_t totalBits = data.size() * 8;
    for (;;) {
        if (totalBits - bitPos < static_cast<std::size_t>(codeBits)) return std::nullopt;
        unsigned code = 0;
        for (int k = 0; k < codeBits; ++k, ++bitPos) {
            code |= static_cast<unsigned>((data[bitPos / 8] >> (bitPos % 8)) & 1) << k;
        }
        if (code == clearCode) {
            codeBits = literalBits + 1;
            nextCode = endCode + 1;
            previous = -1;
            continue;
        }
        if (code == endCode) break;
        if (previous < 0) {
            if (code >= clearCode || !emit(code)) return std::nullopt;
            previous = static_cast<int>(code);
            continue;
        }
        std::uint8_t firstOfNew;
        if (code < nextCode) {
            firstOfNew = first[code];
        } else if (code == nextCode && nextCode < kMaxCodes) {
            firstOfNew = first[previous];
        } else {
            return std::nullopt;
        }
        if (nextCode < kMaxCodes) {
            prefix[nextCode] = static_cast<std::uint16_t>(previous);
            suffix[nextCode] = firstOfNew;
            first[nextCode] = first[previous];
            length[nextCode] = static_cast<std::uint16_t>(length[previous] + 1);
            ++nextCode;
        }
        if (!emit(code)) return std::nullopt;
        if (nextCode == (1u << codeBits) && codeBits < kMaxCodeBits) ++codeBits;
        previous = static_cast<int>(code);
    }
    if (out.size() != pixelCount) return std::nullopt;
    return out;
}

// Interlaced rows are stored in four passes: every 8th row from 0, every 8th from 4, every
// 4th from 2, every 2nd from 1.
std::vector<std::uint8_t> Deinterlace(std::span<const std::uint8_t> stored, int width, int height) {
    std::vector<std::uint8_t> rows(stored.size());
    constexpr std::array<std::array<int, 2>, 4> kPasses{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
    std::size_t next = 0;
    for (const auto& [start, step] : kPasses) {
        for (int y = start; y < height; y += step) {
            std::copy_n(stored.begin() + next * width, width,
                        rows.begin() + static_cast<std::size_t>(y) * width);
            ++next;
        }
    }
    return rows;
}

std::optional<GifImage> ReadGifImage(GifReader& in) {
    if (!in.Has(9)) return std::nullopt;
    GifImage image;
    image.left = in.U16();
    image.top = in.U16();
    image.width = in.U16();
    image.height = in.U16();
    const unsigned packed = in.U8();
    image.interlaced = (packed & 0x40) != 0;
    if (packed & 0x80) {
        std::optional<std::vector<Rgb8>> palette = in.Palette(packed);
        if (!palette) return std::nullopt;
        image.localPalette = std::move(*palette);
    }
    if (!in.Has(1)) return std::nullopt;
    const int literalBits = in.U8();
    if (literalBits < 2 || literalBits > kLiteralBits) return std::nullopt;
    const std::optional<std::vector<std::uint8_t>> data = in.SubBlocks();
    if (!data) return std::nullopt;
    const std::size_t pixelCount = static_cast<std::size_t>(image.width) * image.height;
    std::optional<std::vector<std::uint8_t>> indices = LzwDecode(*data, literalBits, pixelCount);
    if (!indices) return std::nullopt;
    image.indices =
        image.interlaced ? Deinterlace(*indices, image.width, image.height) : std::move(*indices);
    return image;
}

}  // namespace

std::vector<std::uint8_t> WriteCursorFile(std::span<const CursorImage> images) {
    std::vector<DirectoryItem> items;
    for (const CursorImage& c : images) {
        if (!ValidIconImage(c.image) || c.hotspotX < 0 || c.hotspotX >= c.image.width ||
            c.hotspotY < 0 || c.hotspotY >= c.image.height) {
            return {};
        }
        items.push_back(
            {&c.image, static_cast<unsigned>(c.hotspotX), static_cast<unsigned>(c.hotspotY)});
    }
    return WriteDirectoryFile(IconFileType::Cursor, items);
}

std::vector<std::uint8_t> WriteIconFile(std::span<const BgraImage> images) {
    std::vector<DirectoryItem> items;
    for (const BgraImage& image : images) {
        if (!ValidIconImage(image)) return {};
        items.push_back({&image, 1, 32});
    }
    return WriteDirectoryFile(IconFileType::Icon, items);
}

std::optional<IconFile> ReadIconFile(std::span<const std::uint8_t> file) {
    if (file.size() < kDirectoryHeaderSize || U16At(file, 0) != 0) return std::nullopt;
    const unsigned type = U16At(file, 2);
    if (type != static_cast<unsigned>(IconFileType::Icon) &&
        type != static_cast<unsigned>(IconFileType::Cursor)) {
        return std::nullopt;
    }
    const std::size_t count = U16At(file, 4);
    if (count == 0 || kDirectoryHeaderSize + count * kDirectoryEntrySize > file.size()) {
        return std::nullopt;
    }
    IconFile result{static_cast<IconFileType>(type), {}};
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<IconFileEntry> entry =
            ReadDirectoryEntry(file, kDirectoryHeaderSize + i * kDirectoryEntrySize);
        if (!entry) return std::nullopt;
        result.entries.push_back(std::move(*entry));
    }
    return result;
}

std::optional<IndexedImage> IndexColours(int width, int height, std::span<const Rgb8> pixels) {
    if (width < 0 || height < 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return std::nullopt;
    }
    IndexedImage image{width, height, {}, {}};
    image.indices.reserve(pixels.size());
    for (const Rgb8& p : pixels) {
        std::size_t i = 0;
        while (i < image.palette.size() && !(image.palette[i] == p)) ++i;
        if (i == image.palette.size()) {
            if (i == kPaletteSize) return std::nullopt;
            image.palette.push_back(p);
        }
        image.indices.push_back(static_cast<std::uint8_t>(i));
    }
    return image;
}

std::vector<std::uint8_t> WriteGif(const IndexedImage& image) {
    if (image.width < 1 || image.width > kGifMaxSide || image.height < 1 ||
        image.height > kGifMaxSide || image.palette.size() > kPaletteSize ||
        image.indices.size() != static_cast<std::size_t>(image.width) * image.height) {
        return {};
    }
    for (std::uint8_t i : image.indices) {
        if (i >= image.palette.size()) return {};
    }

    std::vector<std::uint8_t> file{'G', 'I', 'F', '8', '9', 'a'};
    AppendU16(file, static_cast<unsigned>(image.width));
    AppendU16(file, static_cast<unsigned>(image.height));
    // Global table present, 8 bits of colour resolution, unsorted, 2^(7+1) entries.
    AppendU8(file, 0x80 | (7 << 4) | 7);
    AppendU8(file, 0);  // background colour index
    AppendU8(file, 0);  // no aspect ratio
    for (int i = 0; i < kPaletteSize; ++i) {
        const Rgb8 c = i < static_cast<int>(image.palette.size()) ? image.palette[i] : Rgb8{};
        file.insert(file.end(), {c.r, c.g, c.b});
    }

    AppendU8(file, 0x2C);  // image descriptor
    AppendU16(file, 0);
    AppendU16(file, 0);
    AppendU16(file, static_cast<unsigned>(image.width));
    AppendU16(file, static_cast<unsigned>(image.height));
    AppendU8(file, 0);  // no local table, not interlaced
    AppendU8(file, kLiteralBits);
    AppendSubBlocks(file, LzwEncode(image.indices));
    AppendU8(file, 0x3B);  // trailer
    return file;
}

std::optional<GifFile> ReadGif(std::span<const std::uint8_t> file) {
    GifReader in(file);
    if (!in.Has(13)) return std::nullopt;
    const std::span<const std::uint8_t> signature = in.Bytes(6);
    const bool known = std::equal(signature.begin(), signature.end(), "GIF89a") ||
                       std::equal(signature.begin(), signature.end(), "GIF87a");
    if (!known) return std::nullopt;
    GifFile gif;
    gif.screenWidth = in.U16();
    gif.screenHeight = in.U16();
    const unsigned packed = in.U8();
    in.U8();  // background colour index
    in.U8();  // aspect ratio
    if (packed & 0x80) {
        std::optional<std::vector<Rgb8>> palette = in.Palette(packed);
        if (!palette) return std::nullopt;
        gif.globalPalette = std::move(*palette);
    }
    for (;;) {
        if (!in.Has(1)) return std::nullopt;
        const std::uint8_t block = in.U8();
        if (block == 0x3B) return gif;
        if (block == 0x21) {
            if (!in.Has(1)) return std::nullopt;
            gif.extensionLabels.push_back(in.U8());
            if (!in.SubBlocks()) return std::nullopt;
        } else if (block == 0x2C) {
            std::optional<GifImage> image = ReadGifImage(in);
            if (!image) return std::nullopt;
            gif.images.push_back(std::move(*image));
        } else {
            return std::nullopt;
        }
    }
}

std::vector<Rgb8> GifImageColours(const GifFile& gif, std::size_t image) {
    if (image >= gif.images.size()) return {};
    const GifImage& source = gif.images[image];
    const std::vector<Rgb8>& palette =
        source.localPalette.empty() ? gif.globalPalette : source.localPalette;
    std::vector<Rgb8> colours;
    colours.reserve(source.indices.size());
    for (std::uint8_t i : source.indices) {
        if (i >= palette.size()) return {};
        colours.push_back(palette[i]);
    }
    return colours;
}

}  // namespace pigmora
