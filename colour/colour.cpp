#include "colour/colour.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <initializer_list>

namespace pigmora {
namespace {

// Tolerance of the HSL comparisons and clamps.
constexpr double kEpsilon = 0.0000001;

bool IsBlank(unsigned char c) { return c == 0x20 || (c >= 0x09 && c <= 0x0D); }

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The full-width and ideographic forms that a Chinese input method may put into the decimal
// box, folded to the ASCII characters they stand for. Other double-byte characters stay as
// they are, so their second byte can never be mistaken for a digit or sign.
std::string FoldFullWidth(std::string_view ansi) {
    std::string folded;
    folded.reserve(ansi.size());
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const auto lead = static_cast<unsigned char>(ansi[i]);
        if (lead < 0x80) {
            folded.push_back(static_cast<char>(lead));
            continue;
        }
        if (i + 1 >= ansi.size()) break;  // a lead byte without its partner is dropped
        const auto trail = static_cast<unsigned char>(ansi[++i]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded.push_back(static_cast<char>(trail - 0x80));
        } else if (lead == 0xA1 && trail == 0xA1) {
            folded.push_back(' ');
        } else if (lead == 0xA1 && trail == 0xAB) {
            folded.push_back('~');
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            folded.push_back('*');
        } else {
            folded.push_back(static_cast<char>(lead));
            folded.push_back(static_cast<char>(trail));
        }
    }
    return folded;
}

}  // namespace

ColorValue PackColor(int r, int g, int b) {
    return (r & 255) + (g & 255) * 256 + (b & 255) * 65536;
}

Rgb SplitColor(ColorValue value) {
    // The masked values are whole multiples of the divisors, so the shifts are exact quotients.
    return Rgb{value & 255, (value & 65280) >> 8, (value & 16711680) >> 16};
}

std::string HexByteText(std::int32_t n) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char text[8];
    char* start = text + sizeof text;
    auto bits = static_cast<std::uint32_t>(n);
    do {
        *--start = kDigits[bits & 15u];
        bits >>= 4;
    } while (bits != 0);
    if (start == text + sizeof text - 1) *--start = '0';
    return std::string(start, text + sizeof text);
}

std::string DecimalText(std::int32_t n) {
    char digits[12];
    char* end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    return std::string(digits, end);
}

std::int32_t ParseDecimalText(std::string_view ansi) {
    const std::string text = FoldFullWidth(ansi);
    std::size_t i = 0;
    while (i < text.size() && IsBlank(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    // Unsigned arithmetic wraps modulo 2^32 without undefined behaviour; the final conversion
    // to int32_t is the two's-complement reading of those bits.
    std::uint32_t value = 0;
    for (; i < text.size() && IsDigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

Hsl RgbToHsl(int red, int green, int blue) {
    // The single-precision variables decide the last digit for some colours (63,30,19 gives a
    // hue just below 15): each expression is worked out in double and rounded on assignment.
    const float r = static_cast<float>(static_cast<double>(red) / 255.0);
    const float g = static_cast<float>(static_cast<double>(green) / 255.0);
    const float b = static_cast<float>(static_cast<double>(blue) / 255.0);

    float max = r;
    if (g > max) max = g;
    if (b > max) max = b;
    float min = r;
    if (g < min) min = g;
    if (b < min) min = b;
    const double spread = static_cast<double>(max) - static_cast<double>(min);

    float h;
    if (max == min) {
        h = 0.0f;
    } else if (max == r && g >= b) {
        h = static_cast<float>((static_cast<double>(g) - static_cast<double>(b)) * 60.0 / spread);
    } else if (max == r) {
        h = static_cast<float>((static_cast<double>(g) - static_cast<double>(b)) * 60.0 / spread +
                               360.0);
    } else if (max == g) {
        h = static_cast<float>((static_cast<double>(b) - static_cast<double>(r)) * 60.0 / spread +
                               120.0);
    } else {
        h = static_cast<float>((static_cast<double>(r) - static_cast<double>(g)) * 60.0 / spread +
                               240.0);
    }

    const double sum = static_cast<double>(max) + static_cast<double>(min);
    float l = static_cast<float>(sum / 2.0);

    float s = 0.0f;
    if (std::fabs(static_cast<double>(l)) <= kEpsilon || max == min) {
        s = 0.0f;
    } else if (static_cast<double>(l) > kEpsilon && static_cast<double>(l) - 0.5 <= kEpsilon) {
        s = static_cast<float>(spread / sum);
    } else if (static_cast<double>(l) - 0.5 > kEpsilon) {
        s = static_cast<float>(spread / (2.0 - sum));
    }

    if (static_cast<double>(h) - 360.0 > kEpsilon) {
        h = 360.0f;
    } else if (static_cast<double>(h) < -kEpsilon) {
        h = 0.0f;
    }
    if (static_cast<double>(s) - 1.0 > kEpsilon) {
        s = 1.0f;
    } else if (static_cast<double>(s) < -kEpsilon) {
        s = 0.0f;
    }
    if (static_cast<double>(l) - 1.0 > kEpsilon) {
        l = 1.0f;
    } else if (static_cast<double>(l) < -kEpsilon) {
        l = 0.0f;
    }

    s = static_cast<float>(static_cast<double>(s) * 100.0);
    l = static_cast<float>(static_cast<double>(l) * 100.0);

    // Clamped to 0..360 and 0..100 above, so the conversions cannot overflow.
    return Hsl{static_cast<int>(h), static_cast<int>(s), static_cast<int>(l)};
}

ColorTexts RenderColor(ColorValue value) {
    const Rgb c = SplitColor(value);
    const Hsl hsl = RgbToHsl(c.r, c.g, c.b);
    const std::string rr = HexByteText(c.r);
    const std::string gg = HexByteText(c.g);
    const std::string bb = HexByteText(c.b);

    // Appending into one string per rendering: this runs on every pointer movement of a drag.
    const auto join = [](std::initializer_list<std::string_view> pieces) {
        std::string text;
        for (std::string_view piece : pieces) text += piece;
        return text;
    };
    ColorTexts texts;
    texts.decimal = DecimalText(value);
    texts.hexadecimal = join({bb, gg, rr});
    texts.rgb = join({DecimalText(c.r), ",", DecimalText(c.g), ",", DecimalText(c.b)});
    texts.hsl = join({DecimalText(hsl.h), ",", DecimalText(hsl.s), ",", DecimalText(hsl.l)});
    texts.html = join({"#", rr, gg, bb});
    texts.vb = join({"&h", texts.hexadecimal, "&"});
    texts.c = join({"0x", texts.hexadecimal});
    texts.delphi = join({"$", texts.hexadecimal});
    return texts;
}

}  // namespace pigmora
