#include "platform/bmp_scale.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace pigmora {

namespace {

// Which source pixels one target pixel covers, and by how much. Measured in 1/target of a
// source pixel, source pixel s spans [s * target, (s + 1) * target) and target pixel t spans
// [t * source, (t + 1) * source), so every overlap is a whole number and the overlaps of one
// target pixel add up to `source`: the averages come out exact, with no rounding drift.
struct Taps {
    std::vector<int> first;              // per target pixel: its first source pixel
    std::vector<std::size_t> begin;      // per target pixel, plus one: where its overlaps start
    std::vector<std::uint32_t> overlap;  // one entry per covered source pixel
};

Taps MakeTaps(int source, int target) {
    Taps taps;
    taps.first.reserve(static_cast<std::size_t>(target));
    taps.begin.reserve(static_cast<std::size_t>(target) + 1);
    taps.overlap.reserve(static_cast<std::size_t>(source) + static_cast<std::size_t>(target));
    for (int t = 0; t < target; ++t) {
        const std::int64_t lo = std::int64_t{t} * source, hi = lo + source;
        const int s0 = static_cast<int>(lo / target), s1 = static_cast<int>((hi - 1) / target);
        taps.first.push_back(s0);
        taps.begin.push_back(taps.overlap.size());
        for (int s = s0; s <= s1; ++s) {
            const std::int64_t from = std::max<std::int64_t>(lo, std::int64_t{s} * target);
            const std::int64_t to = std::min<std::int64_t>(hi, std::int64_t{s + 1} * target);
            taps.overlap.push_back(static_cast<std::uint32_t>(to - from));
        }
    }
    taps.begin.push_back(taps.overlap.size());
    return taps;
}

// Kept as plain loops over bytes so that the compiler turns them into vector code: this is
// where a large source spends its time.
void AddRow(std::uint32_t* sum, const std::uint8_t* row, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) sum[i] += row[i];
}

void AddWeightedRow(std::uint32_t* sum, const std::uint8_t* row, std::size_t n,
                    std::uint32_t weight) {
    for (std::size_t i = 0; i < n; ++i) sum[i] += weight * row[i];
}

// The bytes [first, last) of a row outside which it is all zero; first == last for a row that
// is zero throughout. Black borders (a snapshot reaching past the screen) then cost one quick
// scan instead of a sum.
struct Span {
    std::size_t first, last;
};

Span NonZeroSpan(const std::uint8_t* row, std::size_t n) {
    constexpr std::size_t kBlock = 64;  // looked at as one, so a black run costs little more
                                        // than reading it
    auto zeroBlock = [&](std::size_t at) {
        std::uint64_t words[kBlock / 8];
        std::memcpy(words, row + at, kBlock);
        std::uint64_t any = 0;
        for (std::uint64_t w : words) any |= w;
        return any == 0;
    };
    std::size_t first = 0, last = n;
    while (first + kBlock <= n && zeroBlock(first)) first += kBlock;
    while (first < n && row[first] == 0) ++first;
    if (first == n) return {n, n};
    while (last >= first + kBlock && zeroBlock(last - kBlock)) last -= kBlock;
    while (row[last - 1] == 0) --last;
    return {first, last};
}

// sum / total rounded half up, total being the source's pixel count: the double gives the
// answer but for an exact half, which the integer check below settles.
std::uint32_t Channel(std::uint64_t sum, std::uint64_t total, double scale) {
    std::uint64_t value = static_cast<std::uint64_t>(static_cast<double>(sum) * scale + 0.5);
    if (value > 0 && value * total * 2 > sum * 2 + total) --value;
    if ((value + 1) * total * 2 <= sum * 2 + total) ++value;
    return value > 255 ? 255u : static_cast<std::uint32_t>(value);
}

}  // namespace

std::vector<std::uint32_t> ResampleByArea(const BmpView& source, int width, int height,
                                          std::optional<PixelRect> content) {
    if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0) return {};
    if (width > kResampleMaxTarget || height > kResampleMaxTarget ||
        source.height > kResampleMaxSourceHeight)
        return {};
    const std::size_t bytesPerPixel = static_cast<std::size_t>(source.bitsPerPixel / 8);
    const std::size_t rowBytes = static_cast<std::size_t>(source.width) * bytesPerPixel;
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height, 0u);

    if (width == source.width && height == source.height) {  // the mean of one pixel is itself
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* p = source.Row(y);
            std::uint32_t* target = out.data() + static_cast<std::size_t>(y) * width;
            for (int x = 0; x < width; ++x, p += bytesPerPixel)
                target[x] = p[0] | p[1] << 8 | static_cast<std::uint32_t>(p[2]) << 16;
        }
        return out;
    }

    const Taps across = MakeTaps(source.width, width);
    const Taps down = MakeTaps(source.height, height);
    if (content) {
        content->left = std::clamp(content->left, 0, source.width);
        content->right = std::clamp(content->right, content->left, source.width);
        content->top = std::clamp(content->top, 0, source.height);
        content->bottom = std::clamp(content->bottom, content->top, source.height);
    }
    // The bytes of source row y that may be other than zero.
    auto spanOf = [&](int y, const std::uint8_t* row) {
        if (!content) return NonZeroSpan(row, rowBytes);
        if (y < content->top || y >= content->bottom || content->left == content->right)
            return Span{0, 0};
        return Span{static_cast<std::size_t>(content->left) * bytesPerPixel,
                    static_cast<std::size_t>(content->right) * bytesPerPixel};
    };

    // A source row lying wholly inside a target row overlaps it by `height` units; those rows
    // are summed unweighted and scaled once. Only the (at most two) rows cut by a target
    // row's edges need a weight. When enlarging, every row is cut.
    const std::uint64_t wholeRow = static_cast<std::uint64_t>(height);
    std::vector<std::uint32_t> whole(rowBytes, 0u), cut(rowBytes, 0u);
    const std::uint64_t total = static_cast<std::uint64_t>(source.width) * source.height;
    const double scale = 1.0 / static_cast<double>(total);

    for (int t = 0; t < height; ++t) {
        // The bytes that the source rows of this target row touched; the sums are zero
        // elsewhere and are cleared again afterwards over this span only.
        std::size_t touchedFirst = rowBytes, touchedLast = 0;
        for (std::size_t k = down.begin[t]; k < down.begin[t + 1]; ++k) {
            const int y = down.first[t] + static_cast<int>(k - down.begin[t]);
            const std::uint8_t* row = source.Row(y);
            const Span span = spanOf(y, row);
            if (span.first == span.last) continue;
            const std::size_t n = span.last - span.first;
            if (down.overlap[k] == wholeRow)
                AddRow(whole.data() + span.first, row + span.first, n);
            else
                AddWeightedRow(cut.data() + span.first, row + span.first, n, down.overlap[k]);
            touchedFirst = std::min(touchedFirst, span.first);
            touchedLast = std::max(touchedLast, span.last);
        }
        if (touchedFirst >= touchedLast) continue;  // a black row

        std::uint32_t* target = out.data() + static_cast<std::size_t>(t) * width;
        for (int c = 0; c < width; ++c) {
            const std::size_t from = static_cast<std::size_t>(across.first[c]) * bytesPerPixel;
            const std::size_t to = from + (across.begin[c + 1] - across.begin[c]) * bytesPerPixel;
            if (to <= touchedFirst || from >= touchedLast) continue;  // black
            // Each column's sum over the target row, in units of 1/height, weighted by how
            // much of the column the target pixel covers: at most 255 * width * height.
            std::uint64_t blue = 0, green = 0, red = 0;
            std::size_t at = from;
            for (std::size_t k = across.begin[c]; k < across.begin[c + 1]; ++k) {
                const std::uint64_t weight = across.overlap[k];
                blue += weight * (wholeRow * whole[at] + cut[at]);
                green += weight * (wholeRow * whole[at + 1] + cut[at + 1]);
                red += weight * (wholeRow * whole[at + 2] + cut[at + 2]);
                at += bytesPerPixel;
            }
            target[c] = Channel(blue, total, scale) | Channel(green, total, scale) << 8 |
                        Channel(red, total, scale) << 16;
        }
        std::fill(whole.begin() + touchedFirst, whole.begin() + touchedLast, 0u);
        std::fill(cut.begin() + touchedFirst, cut.begin() + touchedLast, 0u);
    }
    return out;
}

}  // namespace pigmora
