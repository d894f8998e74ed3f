#include "import/PlanScale.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(PlanScale, CalibrationInMetresAndFeet) {
    std::string error;
    // A 3-4-5 line of 500 pixels standing for 25 m: 0.05 m per pixel.
    EXPECT_DOUBLE_EQ(*ScaleFromCalibration(100, 100, 400, 500, 25.0, LengthUnit::Metres, &error),
                     0.05);
    // 60 ft = 18.288 m over 360 pixels.
    EXPECT_DOUBLE_EQ(*ScaleFromCalibration(20, 20, 380, 20, 60.0, LengthUnit::Feet, &error),
                     18.288 / 360.0);
    EXPECT_FALSE(ScaleFromCalibration(5, 5, 5, 5, 10.0, LengthUnit::Metres, &error));
    EXPECT_EQ(error, "the two calibration points are the same point");
    for (double length : {0.0, -1.0, std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(ScaleFromCalibration(0, 0, 10, 0, length, LengthUnit::Metres, &error));
        EXPECT_EQ(error, "the length of the calibration line must be more than 0");
    }
}

TEST(PlanScale, PicturesFitTheLargestPlan) {
    const CPlanFit small = FitPlanSize(4000, 3000);
    EXPECT_FALSE(small.scaledDown);
    EXPECT_EQ(small.width, 4000);

    // Too wide: 65535 / 70000 of each side, the scale grows by old / new.
    const CPlanFit wide = FitPlanSize(70000, 40);
    EXPECT_TRUE(wide.scaledDown);
    EXPECT_EQ(wide.width, 65535);
    EXPECT_EQ(wide.height, 37); // floor(40 x 0.93621...)
    EXPECT_DOUBLE_EQ(wide.growX, 70000.0 / 65535.0);
    EXPECT_DOUBLE_EQ(wide.growY, 40.0 / 37.0);

    // Too many pixels: 10000 x 10000 is 1e8 > 64 Mi; sqrt(67108864 / 1e8) = 0.8192.
    const CPlanFit big = FitPlanSize(10000, 10000);
    EXPECT_EQ(big.width, 8192);
    EXPECT_EQ(big.height, 8192);
    EXPECT_LE(static_cast<long long>(big.width) * big.height, kMaxPlanPixels);
}

} // namespace
} // namespace tarvo
