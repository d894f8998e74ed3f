#include "analysis/Numerics.h"

#include "reference/PlainCoverage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace tarvo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
using V = std::vector<double>;

TEST(NumericsTest, MeanSlopeAndSpread) {
    EXPECT_EQ(Mean(V{1, 2, 3, 4}), 2.5);
    EXPECT_EQ(Mean(V{}), 0.0);
    // Summing first and dividing once gives 0.7999999999999999 here; the
    // term-wise order gives 0.8.
    EXPECT_EQ(Mean(V{0.1, 0.2, 0.3, 0.7, 0.9, 1.3, 2.1}), 0.8);
    // y = {2, 1, 4, 3} over x = {0, 1, 2, 3}: sum (y - 2.5) x = 3, sum (x - 1.5) x = 5.
    EXPECT_EQ(LeastSquaresSlope(V{2, 1, 4, 3}, V{0, 1, 2, 3}), 0.6);
    EXPECT_TRUE(std::isnan(LeastSquaresSlope(V{1, 2, 3}, V{5, 5, 5})));
    // Mean 5, squared deviations sum to 32, over n - 1 = 7.
    EXPECT_DOUBLE_EQ(SampleStdDev(V{2, 4, 4, 4, 5, 5, 7, 9}), std::sqrt(32.0 / 7.0));
    EXPECT_EQ(SampleStdDev(V{3}), 0.0);
}

TEST(NumericsTest, MinimumAndMaximumTakeOnlyFiniteValuesStrictly) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ArgMinFirst(V{3, 1, 2, 1}), 1);
    EXPECT_EQ(ArgMinFirst(V{5, kNaN, 4, kNaN}), 2);
    EXPECT_EQ(ArgMinFirst(V{kNaN, 1, 0}), 2); // not even the first NaN
    EXPECT_EQ(ArgMinFirst(V{inf, 7}), 1);
    EXPECT_EQ(ArgMinFirst(V{kNaN, inf}), -1);
    EXPECT_EQ(ArgMinFirst(V{}), -1);
    EXPECT_EQ(MaxOfErrors(V{1, kNaN, 2, inf}), 2);
    EXPECT_EQ(MaxOfErrors(V{kNaN, 5}), 5);
    EXPECT_TRUE(std::isnan(MaxOfErrors(V{kNaN, -inf})));
}

TEST(NumericsTest, InterpolationWeightsTheThreeNearestByInverseSquare) {
    // Nearest three at 1, 2, 3 m with weights 1, 1/4, 1/9 (plus 1e-10).
    const V d{4, 3, 1, 2, 9}, v{40, 30, 10, 20, 90};
    EXPECT_NEAR(InterpolateNearest3(d, v), 13.4693877551, 1e-9);
    const CNearest3 n = Nearest3(d);
    EXPECT_EQ(n.count, 3);
    EXPECT_EQ(n.index[0], 2u);
    EXPECT_EQ(n.index[2], 1u);
    // Ties go to the later pair: the last three of four equal distances.
    EXPECT_DOUBLE_EQ(InterpolateNearest3(V{1, 1, 1, 1}, V{10, 20, 30, 40}), 30.0);
    // A sample on the grid point dominates; fewer than three pairs are used
    // as they are; none give NaN.
    EXPECT_NEAR(InterpolateNearest3(V{0, 1, 1}, V{-40, 0, 0}), -40.0, 1e-12);
    EXPECT_DOUBLE_EQ(InterpolateNearest3(V{2, 2}, V{10, 20}), 15.0);
    EXPECT_TRUE(std::isnan(InterpolateNearest3(V{}, V{})));
}

TEST(NumericsTest, InterpolationMatchesTheBubblePassesBitForBit) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coarse(0, 4); // many ties
    std::uniform_real_distribution<double> value(-100, -30);
    for (int round = 0; round < 2000; ++round) {
        const int n = 3 + round % 9;
        V d(n), v(n);
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

} // namespace
} // namespace tarvo
