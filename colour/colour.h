// The colour model: the packed colour value, its eight text renderings and HSL.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pigmora {

// R + G * 256 + B * 65536, red in the low byte.
using ColorValue = std::int32_t;

// Paints the system's button-face colour; reading the property gives it back unchanged.
inline constexpr ColorValue DefaultBackground = -16777216;

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Hsl {
    int h, s, l;
    friend bool operator==(const Hsl&, const Hsl&) = default;
};

struct ColorTexts {
    std::string decimal, hexadecimal, rgb, hsl, html, vb, c, delphi;
    friend bool operator==(const ColorTexts&, const ColorTexts&) = default;
};

ColorValue PackColor(int r, int g, int b);
Rgb SplitColor(ColorValue value);
std::string HexByteText(std::int32_t n);
std::string DecimalText(std::int32_t n);
// Never fails; reads ANSI (GBK) bytes, full-width forms included.
std::int32_t ParseDecimalText(std::string_view ansi);
Hsl RgbToHsl(int r, int g, int b);
ColorTexts RenderColor(ColorValue value);

}  // namespace pigmora
