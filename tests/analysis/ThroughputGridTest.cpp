// The throughput view's grid: inverse distance weighting worked by hand,
// the box and counts of the grid, and the colour scale.

#include "analysis/ThroughputGrid.h"
#include "support/ThroughputPoints.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvo {
namespace {

using test::ThroughputAt;

TEST(ThroughputGrid, InverseDistanceWeightsWorkedByHand) {
    // From (0, 0): 100 at distance 1 (weight 1), 10 at distance 2 (weight
    // 1/4): (100 + 10/4) / (1 + 1/4) = 82.
    const std::vector<CThroughputPoint> points = {ThroughputAt(1.0, 0.0, 100.0),
                                                  ThroughputAt(0.0, 2.0, 10.0)};
    EXPECT_DOUBLE_EQ(InterpolateThroughput(points, 0.0, 0.0), 82.0);
    // Midway between two equal weights: the plain mean.
    EXPECT_DOUBLE_EQ(
        InterpolateThroughput({ThroughputAt(0, 0, 30), ThroughputAt(2, 0, 50)}, 1.0, 0.0), 40.0);
    // On a measured point: its own rate.
    EXPECT_EQ(InterpolateThroughput(points, 0.0, 2.0), 10.0);
    // Points without a download rate or a finite position do not count.
    std::vector<CThroughputPoint> with = points;
    with.push_back(ThroughputAt(0.0, 0.5, std::nan("")));
    with.push_back(ThroughputAt(std::nan(""), 0.0, 1.0));
    EXPECT_DOUBLE_EQ(InterpolateThroughput(with, 0.0, 0.0), 82.0);
    EXPECT_TRUE(std::isnan(InterpolateThroughput({}, 0.0, 0.0)));
}

TEST(ThroughputGrid, TheGridCoversTheMeasuredBoxAtTheStudySpacing) {
    const std::vector<CThroughputPoint> points = {ThroughputAt(2.0, 1.0, 10e6),
                                                  ThroughputAt(12.0, 6.0, 73e6)};
    const CThroughputGrid grid = ComputeThroughputGrid(points, 0.5);
    EXPECT_EQ(grid.box, (CBox{1.0, 2.0, 5.0, 10.0})) << "Y first";
    EXPECT_EQ(grid.rows, 20) << "10 m / 0.5 m";
    EXPECT_EQ(grid.cols, 10);
    ASSERT_EQ(grid.downBps.size(), 200u);
    EXPECT_EQ(grid.downBps.front(), 10e6) << "corner (2, 1) is a measured point";
    EXPECT_EQ(grid.downBps.back(), 73e6);
    EXPECT_EQ(grid.measured, 2);
    EXPECT_EQ(grid.scaleTopBps, 100e6);

    // Without a spacing: the shorter side / 20.
    EXPECT_EQ(ComputeThroughputGrid(points, 0.0).cols, 20);
    EXPECT_EQ(ComputeThroughputGrid(points, 0.0).rows, 40);
    // Never finer than the cap, never fewer than two points an axis.
    EXPECT_EQ(ComputeThroughputGrid(points, 1e-4).rows, kMostThroughputGridPoints);
    EXPECT_EQ(ComputeThroughputGrid(points, 1000.0).cols, 2);
}

TEST(ThroughputGrid, OnePointGivesASmallPatchAndNoRateNoGrid) {
    const CThroughputGrid one = ComputeThroughputGrid({ThroughputAt(5.0, 5.0, 3e6)}, 0.25);
    EXPECT_EQ(one.box, (CBox{4.0, 4.0, 2.0, 2.0}));
    EXPECT_EQ(one.rows, 8);
    EXPECT_EQ(one.scaleTopBps, 5e6);
    for (double v : one.downBps)
        EXPECT_DOUBLE_EQ(v, 3e6);
    EXPECT_TRUE(ComputeThroughputGrid({ThroughputAt(1, 1, std::nan(""))}, 1.0).Empty());
    EXPECT_TRUE(ComputeThroughputGrid({}, 1.0).Empty());
}

TEST(ThroughputGrid, ScaleAndBands) {
    EXPECT_EQ(NiceCeiling(73e6), 100e6);
    EXPECT_EQ(NiceCeiling(100e6), 100e6);
    EXPECT_EQ(NiceCeiling(1.2e6), 2e6);
    EXPECT_EQ(NiceCeiling(450e3), 500e3);
    EXPECT_EQ(NiceCeiling(0.0), 1e6);
    EXPECT_EQ(NiceCeiling(std::nan("")), 1e6);
    EXPECT_EQ(ThroughputBand(0.0, 100e6), 0);
    EXPECT_EQ(ThroughputBand(9.99e6, 100e6), 0);
    EXPECT_EQ(ThroughputBand(10e6, 100e6), 1);
    EXPECT_EQ(ThroughputBand(95e6, 100e6), 9);
    EXPECT_EQ(ThroughputBand(100e6, 100e6), 9) << "the top is in the fastest band";
    EXPECT_EQ(ThroughputBand(-1.0, 100e6), 0);
}

} // namespace
} // namespace tarvo
