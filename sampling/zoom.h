// The zoom factor of the magnifier slider and the arithmetic that sizes and centres the
// captured screen rectangle.
#pragma once

#include <string>

namespace pigmora {

// Positions up to 10 give 0.1 ... 1, positions above 10 the whole factors 1 ... 20.
double ComputeZoomFactor(int position);

// A real number the way C's "%.13g" writes it, independent of any locale.
std::string RealNumberText(double x);

// The slider label's caption, UTF-8: "放大倍数:" and the factor.
std::string ZoomCaption(int position);

// Truncates toward zero; values beyond the int range give its nearest end, NaN gives 0.
int TruncToInt(double x);

// Width or height of the captured rectangle: the view's client extent (outer minus its
// one-pixel border on each side) divided by the factor.
int RegionExtent(int viewOuterExtent, double factor);

// Left or top that centres an extent on the pointer, within half a pixel.
int CentredOrigin(int pointer, int extent);

// The region line, UTF-8: "区域信息[ X: 475 Y: 374 ] 宽: 49 高: 52".
std::string RegionLine(int left, int top, int width, int height);

}  // namespace pigmora
