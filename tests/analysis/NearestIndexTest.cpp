// The cell index finds the same neighbours as measuring every place, ties
// and awkward layouts included.

#include "analysis/NearestIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace tarvo {
namespace {

// Every place measured, sorted by distance and then index.
std::vector<CNeighbour> Scan(const std::vector<double>& xs, const std::vector<double>& ys, double x,
                             double y, int k) {
    std::vector<CNeighbour> all;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i]))
            continue;
        all.push_back({std::hypot(xs[i] - x, ys[i] - y), static_cast<int>(i)});
    }
    std::sort(all.begin(), all.end(), [](const CNeighbour& a, const CNeighbour& b) {
        return a.distance < b.distance || (a.distance == b.distance && a.index < b.index);
    });
    all.resize(std::min<std::size_t>(all.size(), static_cast<std::size_t>(k)));
    return all;
}

void ExpectSameAsScan(const std::vector<double>& xs, const std::vector<double>& ys, double x,
                      double y, int k) {
    const CNearestIndex index(xs, ys);
    std::vector<CNeighbour> found;
    index.Nearest(x, y, k, found);
    const std::vector<CNeighbour> expected = Scan(xs, ys, x, y, k);
    ASSERT_EQ(found.size(), expected.size()) << x << ", " << y;
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].index, expected[i].index)
            << "neighbour " << i << " of " << x << ", " << y;
        EXPECT_DOUBLE_EQ(found[i].distance, expected[i].distance);
    }
}

TEST(NearestIndex, FindsWhatAScanFindsOnAWalkAndAroundIt) {
    // A walk along lanes with repeated places, and a line of places: the
    // grid of cells is then one-dimensional.
    std::uint64_t state = 7;
    const auto next = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) * 0x1.0p-53;
    };
    std::vector<double> xs, ys;
    for (int i = 0; i < 500; ++i) {
        xs.push_back(std::floor(next() * 40.0) * 0.5);
        ys.push_back((i % 5) * 3.0 + next() * 0.2);
    }
    for (int i = 0; i < 50; ++i) { // the same places again: equal distances
        xs.push_back(xs[static_cast<std::size_t>(i)]);
        ys.push_back(ys[static_cast<std::size_t>(i)]);
    }
    for (int k : {1, 3, 8, 16, 600})
        for (int q = 0; q < 40; ++q)
            ExpectSameAsScan(xs, ys, next() * 30.0 - 5.0, next() * 20.0 - 3.0, k);
    // Far outside the places, and exactly on one.
    ExpectSameAsScan(xs, ys, 1e4, -1e4, 5);
    ExpectSameAsScan(xs, ys, xs[3], ys[3], 4);

    std::vector<double> lineX, lineY;
    for (int i = 0; i < 100; ++i) {
        lineX.push_back(i * 0.7);
        lineY.push_back(2.0);
    }
    ExpectSameAsScan(lineX, lineY, 20.0, 5.0, 6);
    ExpectSameAsScan(lineY, lineX, 5.0, 20.0, 6);
}

TEST(NearestIndex, EdgeCases) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<CNeighbour> found;
    CNearestIndex().Nearest(0.0, 0.0, 3, found);
    EXPECT_TRUE(found.empty());

    // Unusable places are nobody's neighbour; a non-finite point has none.
    const CNearestIndex index({0.0, nan, 3.0, 1.0}, {0.0, 1.0, 4.0, 0.0});
    index.Nearest(0.0, 0.0, 5, found);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].index, 0);
    EXPECT_EQ(found[1].index, 3);
    EXPECT_EQ(found[2].index, 2);
    EXPECT_DOUBLE_EQ(found[2].distance, 5.0);
    index.Nearest(nan, 0.0, 2, found);
    EXPECT_TRUE(found.empty());
    index.Nearest(0.0, 0.0, 0, found);
    EXPECT_TRUE(found.empty());

    // All places at one spot: of equal distances the lower index first.
    const CNearestIndex same({2.0, 2.0, 2.0}, {1.0, 1.0, 1.0});
    same.Nearest(0.0, 0.0, 2, found);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].index, 0);
    EXPECT_EQ(found[1].index, 1);
}

} // namespace
} // namespace tarvo
