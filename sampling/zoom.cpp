#include "sampling/zoom.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "colour/colour.h"

namespace pigmora {

double ComputeZoomFactor(int position) {
    const double d = static_cast<double>(position) - 10.0;
    if (d - 1.0 >= -0.0000001) return d;
    // Kept as written rather than position / 10: the label and the capture rectangle depend
    // on exactly these doubles (0.30000000000000004 at position 3, for one).
    const double q = d / -10.0;
    return 1.0 - q;
}

std::string RealNumberText(double x) {
    // to_chars formats as printf would in the C locale, so a decimal comma can never appear,
    // whatever locale the C library is in.
    char text[32];
    char* end = std::to_chars(text, text + sizeof text, x, std::chars_format::general, 13).ptr;
    return std::string(text, end);
}

std::string ZoomCaption(int position) {
    return "放大倍数:" + RealNumberText(ComputeZoomFactor(position));
}

int TruncToInt(double x) {
    constexpr double kBeyondMax = 2147483648.0;  // 2^31
    if (std::isnan(x)) return 0;
    if (x >= kBeyondMax) return std::numeric_limits<int>::max();
    if (x <= -kBeyondMax - 1.0) return std::numeric_limits<int>::min();
    return static_cast<int>(x);
}

int RegionExtent(int viewOuterExtent, double factor) {
    return TruncToInt((static_cast<double>(viewOuterExtent) - 2.0) / factor);
}

int CentredOrigin(int pointer, int extent) {
    return TruncToInt(static_cast<double>(pointer) - static_cast<double>(extent) / 2.0);
}

std::string RegionLine(int left, int top, int width, int height) {
    return "区域信息[ X: " + DecimalText(left) + " Y: " + DecimalText(top) +
           " ] 宽: " + DecimalText(width) + " 高: " + DecimalText(height);
}

}  // namespace pigmora
