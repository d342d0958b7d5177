#include "sampling/zoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace pigmora {
namespace {

constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr int kMinInt = std::numeric_limits<int>::min();

// The zoom view is 300 x 315 outside, with a one-pixel border.
constexpr int kViewWidth = 300;
constexpr int kViewHeight = 315;

TEST(ComputeZoomFactorTest, KeepsTheFormulasRoundingBelowOne) {
    EXPECT_EQ(ComputeZoomFactor(1), 0.09999999999999998);
    EXPECT_EQ(ComputeZoomFactor(2), 0.19999999999999996);
    EXPECT_EQ(ComputeZoomFactor(3), 0.30000000000000004);
    EXPECT_EQ(ComputeZoomFactor(10), 1.0);
    EXPECT_EQ(ComputeZoomFactor(11), 1.0);
    EXPECT_EQ(ComputeZoomFactor(16), 6.0);
    EXPECT_EQ(ComputeZoomFactor(30), 20.0);
}

TEST(ZoomCaptionTest, EverySliderPosition) {
    const char* const factors[30] = {"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8",
                                     "0.9", "1",   "1",   "2",   "3",   "4",   "5",   "6",
                                     "7",   "8",   "9",   "10",  "11",  "12",  "13",  "14",
                                     "15",  "16",  "17",  "18",  "19",  "20"};
    for (int position = 1; position <= 30; ++position) {
        const std::string factor = factors[position - 1];
        EXPECT_EQ(RealNumberText(ComputeZoomFactor(position)), factor) << "position " << position;
        EXPECT_EQ(ZoomCaption(position), "放大倍数:" + factor) << "position " << position;
    }
}

TEST(RealNumberTextTest, MatchesPrintfInTheCLocale) {
    const double values[] = {0.0,
                             -0.0,
                             0.5,
                             -2.5,
                             1e20,
                             1.5e-7,
                             123456789012345.0,
                             1.0 / 3,
                             2.0 / 3,
                             1e-5,
                             1e-4,
                             1e13,
                             1e12,
                             9999999999999.5,
                             -1e300,
                             5e-324,
                             0.30000000000000004,
                             0.09999999999999998};
    for (double x : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.13g", x);
        EXPECT_EQ(RealNumberText(x), expected) << "x = " << expected;
    }
    EXPECT_EQ(RealNumberText(std::numeric_limits<double>::infinity()), "inf");
}

TEST(TruncToIntTest, TowardZeroAndSaturating) {
    struct Case {
        double x;
        int value;
    };
    const Case cases[] = {
        {2.9, 2},
        {-2.9, -2},
        {-0.5, 0},
        {-14.5, -14},
        {2147483647.9, kMaxInt},
        {2147483648.0, kMaxInt},
        {1e10, kMaxInt},
        {-2147483648.9, kMinInt},
        {-2147483649.0, kMinInt},
        {-1e10, kMinInt},
        {std::numeric_limits<double>::infinity(), kMaxInt},
        {-std::numeric_limits<double>::infinity(), kMinInt},
        {std::nan(""), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(TruncToInt(c.x), c.value) << "x = " << c.x;
}

TEST(RegionExtentTest, ViewClientAreaDividedByTheFactor) {
    struct Case {
        int position;
        int width, height;
    };
    const Case cases[] = {
        {1, 2980, 3130}, {3, 993, 1043}, {5, 596, 626}, {10, 298, 313},
        {11, 298, 313},  {16, 49, 52},   {20, 29, 31},  {30, 14, 15},
    };
    for (const Case& c : cases) {
        const double factor = ComputeZoomFactor(c.position);
        EXPECT_EQ(RegionExtent(kViewWidth, factor), c.width) << "position " << c.position;
        EXPECT_EQ(RegionExtent(kViewHeight, factor), c.height) << "position " << c.position;
    }
}

TEST(RegionExtentTest, ZeroFactorSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(RegionExtent(kViewWidth, 0.0), kMaxInt);
}

TEST(CentredOriginTest, TruncatesTowardZero) {
    struct Case {
        int pointer, extent, origin;
    };
    const Case cases[] = {
        {500, 49, 475}, {400, 52, 374}, {500, 50, 475}, {10, 49, -14},
        {0, 49, -24},   {0, 52, -26},   {-10, 49, -34}, {kMinInt, 2, kMinInt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CentredOrigin(c.pointer, c.extent), c.origin)
            << "pointer " << c.pointer << ", extent " << c.extent;
    }
}

TEST(RegionLineTest, JoinsTheRectangle) {
    EXPECT_EQ(RegionLine(475, 374, 49, 52), "区域信息[ X: 475 Y: 374 ] 宽: 49 高: 52");
    EXPECT_EQ(RegionLine(-24, -26, 49, 52), "区域信息[ X: -24 Y: -26 ] 宽: 49 高: 52");
}

}  // namespace
}  // namespace pigmora
