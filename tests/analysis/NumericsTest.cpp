#include "analysis/Numerics.h"
#include "support/PlainCoverage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace tarvo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(NumericsTest, MeanDividesEachTermBeforeAdding) {
    EXPECT_EQ(Mean(std::vector<double>{1, 2, 3, 4}), 2.5);
    EXPECT_EQ(Mean(std::vector<double>{}), 0.0);
    // Summing first and dividing once gives 0.7999999999999999 here; the
    // term-wise order gives 0.8.
    EXPECT_EQ(Mean(std::vector<double>{0.1, 0.2, 0.3, 0.7, 0.9, 1.3, 2.1}), 0.8);
    EXPECT_EQ(Mean(std::vector<double>{-44.26, -89.87, -63.28}), -65.80333333333334);
}

TEST(NumericsTest, LeastSquaresSlopeOfALineAndOfEqualAbscissae) {
    // y = 2x + 1: sum (y - 4) x = 10, sum (x - 1.5) x = 5.
    EXPECT_EQ(LeastSquaresSlope(std::vector<double>{1, 3, 5, 7}, std::vector<double>{0, 1, 2, 3}),
              2.0);
    // Noisy: y = {2, 1, 4, 3} over x = {0, 1, 2, 3}: sum (y - 2.5) x = 3,
    // sum (x - 1.5) x = 5.
    EXPECT_EQ(LeastSquaresSlope(std::vector<double>{2, 1, 4, 3}, std::vector<double>{0, 1, 2, 3}),
              0.6);
    EXPECT_TRUE(
        std::isnan(LeastSquaresSlope(std::vector<double>{1, 2, 3}, std::vector<double>{5, 5, 5})));
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(
        std::isnan(LeastSquaresSlope(std::vector<double>{1, 2}, std::vector<double>{-inf, 1})));
}

TEST(NumericsTest, SampleStandardDeviation) {
    // Mean 5, squared deviations sum to 32, over n - 1 = 7.
    EXPECT_DOUBLE_EQ(SampleStdDev(std::vector<double>{2, 4, 4, 4, 5, 5, 7, 9}),
                     std::sqrt(32.0 / 7.0));
    EXPECT_EQ(SampleStdDev(std::vector<double>{3, 3}), 0.0);
    EXPECT_EQ(SampleStdDev(std::vector<double>{3}), 0.0);
    EXPECT_EQ(SampleStdDev(std::vector<double>{}), 0.0);
}

TEST(NumericsTest, ArgMinFirstKeepsTheFirstMinimumAndANaNAtZero) {
    EXPECT_EQ(ArgMinFirst(std::vector<double>{3, 1, 2, 1}), 1);
    EXPECT_EQ(ArgMinFirst(std::vector<double>{5, kNaN, 4, kNaN}), 2);
    EXPECT_EQ(ArgMinFirst(std::vector<double>{kNaN, 1, 0}), 0);
    EXPECT_EQ(ArgMinFirst(std::vector<double>{}), -1);
}

TEST(NumericsTest, MaxOfErrorsReplacesOnlyByStrictlyLarger) {
    EXPECT_EQ(MaxOfErrors(std::vector<double>{1, 3, 3, 2}), 3);
    EXPECT_EQ(MaxOfErrors(std::vector<double>{1, kNaN, 2}), 2);
    EXPECT_TRUE(std::isnan(MaxOfErrors(std::vector<double>{kNaN, 5})));
    EXPECT_TRUE(std::isnan(MaxOfErrors(std::vector<double>{})));
}

TEST(NumericsTest, InterpolationWeightsTheThreeNearestByInverseSquare) {
    // Nearest three at 1, 2, 3 m with weights 1, 1/4, 1/9 (plus 1e-10).
    const double w1 = 1.0 / ((1 + 1e-10) * (1 + 1e-10));
    const double w2 = 1.0 / ((2 + 1e-10) * (2 + 1e-10));
    const double w3 = 1.0 / ((3 + 1e-10) * (3 + 1e-10));
    const double expected = (10 * w1 + 20 * w2 + 30 * w3) / (w1 + w2 + w3);
    const std::vector<double> d{4, 3, 1, 2, 9}, v{40, 30, 10, 20, 90};
    EXPECT_NEAR(InterpolateNearest3(d, v), expected, 1e-12);
    EXPECT_NEAR(expected, 13.4693877551, 1e-9);
    // The inputs are left as they were.
    EXPECT_EQ(d, (std::vector<double>{4, 3, 1, 2, 9}));
}

TEST(NumericsTest, InterpolationTiesGoToTheLaterPair) {
    // All equal: the last three pairs (40, 30, 20) are used, not the first.
    EXPECT_DOUBLE_EQ(
        InterpolateNearest3(std::vector<double>{1, 1, 1, 1}, std::vector<double>{10, 20, 30, 40}),
        30.0);
    // Two at 1 m, then three at 5 m of which the last one wins: values 0, 0
    // and 300 with weights w1, w1, w5.
    const double w1 = 1.0 / ((1 + 1e-10) * (1 + 1e-10));
    const double w5 = 1.0 / ((5 + 1e-10) * (5 + 1e-10));
    EXPECT_NEAR(InterpolateNearest3(std::vector<double>{1, 5, 1, 5, 5},
                                    std::vector<double>{0, 100, 0, 200, 300}),
                300 * w5 / (2 * w1 + w5), 1e-12);
    // A sample on the grid point dominates.
    EXPECT_NEAR(InterpolateNearest3(std::vector<double>{0, 1, 1}, std::vector<double>{-40, 0, 0}),
                -40.0, 1e-12);
}

TEST(NumericsTest, InterpolationMatchesTheBubblePassesBitForBit) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coarse(0, 4); // many ties
    std::uniform_real_distribution<double> value(-100, -30);
    for (int round = 0; round < 2000; ++round) {
        const int n = 3 + round % 9;
        std::vector<double> d(n), v(n);
        for (int i = 0; i < n; ++i) {
            d[i] = coarse(random) * 0.5;
            v[i] = value(random);
        }
        if (round % 50 == 0)
            d[round % n] = kNaN; // the comparisons of the passes, NaN included
        const double expected = test::BubbleReference(d, v);
        const double actual = InterpolateNearest3(d, v);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(actual)) << "round " << round;
        else
            ASSERT_EQ(actual, expected) << "round " << round;
    }
}

TEST(NumericsTest, InterpolationWithFewerThanThreePairs) {
    EXPECT_DOUBLE_EQ(InterpolateNearest3(std::vector<double>{2, 2}, std::vector<double>{10, 20}),
                     15.0);
    EXPECT_TRUE(std::isnan(InterpolateNearest3(std::vector<double>{}, std::vector<double>{})));
}

} // namespace
} // namespace tarvo
