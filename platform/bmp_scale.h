// Area-averaging resampling of a BMP picture: every target pixel is the mean of the part of
// the source that it covers. This is the filtering a halftone stretch stands for; done here
// once per picture it is also far cheaper than asking GDI to shrink a large picture on every
// paint (and Wine's halftone stretch does not filter at all).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/bmp_file.h"

namespace pigmora {

// Target sizes beyond this, and sources taller than kResampleMaxSourceHeight, are refused:
// the integer sums below are sized for them.
inline constexpr int kResampleMaxTarget = 1 << 16;
inline constexpr int kResampleMaxSourceHeight = 1 << 24;

// Pixels [left, right) x [top, bottom) of a picture, rows counted from the top.
struct PixelRect {
    int left, top, right, bottom;
};

// The picture resampled to width x height, rows top-down, one 32-bit value per pixel laid out
// as a 32-bit DIB pixel (0x00RRGGBB: blue in the low byte). Empty for an empty source, a
// size below 1 or a refused size. `content`, when given, promises that the source is black
// outside it, so that those pixels need not be read; without it black margins are found by
// looking.
std::vector<std::uint32_t> ResampleByArea(const BmpView& source, int width, int height,
                                          std::optional<PixelRect> content = std::nullopt);

}  // namespace pigmora
