// The joint fit on samples made from a known AP with the model it fits.

#include "analysis/PositionEstimators.h"
#include "analysis/SampleSets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tarvo {
namespace {

// RSSI of an AP at (apY, apX) seen at (y, x), 1.5 m below it.
double Model(double intercept, double slope, double apY, double apX, double y, double x) {
    const double dy = y - apY, dx = x - apX;
    return intercept + slope * std::log10(std::sqrt(dy * dy + dx * dx + 1.5 * 1.5));
}

// Samples every `step` metres over [0, height] x [0, width].
std::vector<CData> Field(double height, double width, double step, double apY, double apX,
                         double slope) {
    std::vector<CData> samples;
    for (double y = 0.0; y <= height + 1e-9; y += step)
        for (double x = 0.0; x <= width + 1e-9; x += step)
            samples.push_back({y, x, Model(-35.0, slope, apY, apX, y, x), 0});
    return samples;
}

TEST(PositionEstimatorsTest, RecoversTheApAndItsLine) {
    // An open floor, and a corridor whose AP stands in a room beside it,
    // outside the box of the samples; unheard places far from the AP.
    std::vector<CData> floor = Field(20.0, 30.0, 1.0, 12.3, 7.9, -30.0);
    for (CData& s : floor)
        if (s.x > 25.0)
            s.rssi = kNoSignalDbm;
    const CPositionEstimate open = FitPositionJointly(floor, 20.0, 30.0);
    ASSERT_TRUE(open.ok);
    EXPECT_NEAR(open.y, 12.3, 0.05);
    EXPECT_NEAR(open.x, 7.9, 0.05);
    EXPECT_NEAR(open.slope, -30.0, 0.5);
    EXPECT_NEAR(open.intercept, -35.0, 0.5);

    const std::vector<CData> corridor = Field(2.0, 30.0, 0.5, 4.0, 17.0, -35.0);
    const CPositionEstimate beside = FitPositionJointly(corridor, 2.0, 30.0);
    ASSERT_TRUE(beside.ok);
    EXPECT_NEAR(beside.y, 4.0, 0.5);
    EXPECT_NEAR(beside.x, 17.0, 0.2);
}

TEST(PositionEstimatorsTest, SlopeStaysPhysicalAndTooFewSamplesPlaceNothing) {
    const std::vector<CData> steep = Field(20.0, 20.0, 1.0, 10.0, 10.0, -70.0);
    const CPositionEstimate fit = FitPositionJointly(steep, 20.0, 20.0);
    ASSERT_TRUE(fit.ok);
    EXPECT_DOUBLE_EQ(fit.slope, -50.0);
    EXPECT_NEAR(fit.y, 10.0, 0.5);
    EXPECT_NEAR(fit.x, 10.0, 0.5);

    const std::vector<CData> two{{0.0, 0.0, -50.0, 0},
                                 {1.0, 0.0, -60.0, 0},
                                 {2.0, 0.0, kNoSignalDbm, 0},
                                 {3.0, 0.0, kNoSignalDbm, 0}};
    EXPECT_FALSE(FitPositionJointly(two, 3.0, 0.0).ok);
    EXPECT_FALSE(FitPositionJointly({}, 0.0, 0.0).ok);
}

} // namespace
} // namespace tarvo
