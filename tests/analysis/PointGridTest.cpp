#include "analysis/PointGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

namespace tarvo {
namespace {

// Uniform numbers in [0, 1) from a fixed linear congruential sequence.
struct CSequence {
    std::uint64_t state = 12345;
    double Next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    }
};

// The grid's answers against a scan over every point, on a cloud, on a
// line-like walk (cells sized for a box of almost no area) and with points
// repeated at the same place (ties go to the lower index).
TEST(PointGridTest, AnswersAsAScanOfEveryPointDoes) {
    CSequence seq;
    std::vector<std::vector<double>> ys(3), xs(3);
    for (int i = 0; i < 300; ++i) {
        ys[0].push_back(50.0 * seq.Next());
        xs[0].push_back(30.0 * seq.Next());
        ys[1].push_back(0.01 * seq.Next());
        xs[1].push_back(200.0 * seq.Next());
        ys[2].push_back(std::floor(5.0 * seq.Next()));
        xs[2].push_back(std::floor(5.0 * seq.Next()));
    }
    for (std::size_t set = 0; set < ys.size(); ++set) {
        const std::vector<double>& y = ys[set];
        const std::vector<double>& x = xs[set];
        const CPointGrid grid(y, x);
        for (std::size_t i = 0; i < y.size(); ++i) {
            long long best = -1;
            double best2 = 0.0;
            for (std::size_t j = 0; j < y.size(); ++j) {
                const double d2 = (y[j] - y[i]) * (y[j] - y[i]) + (x[j] - x[i]) * (x[j] - x[i]);
                if (j != i && (best < 0 || d2 < best2)) {
                    best = static_cast<long long>(j);
                    best2 = d2;
                }
            }
            const CPointGrid::CNeighbour found = grid.NearestOther(i);
            ASSERT_EQ(found.index, best) << "set " << set << " point " << i;
            EXPECT_DOUBLE_EQ(found.distanceM, std::sqrt(best2));
        }
        for (int q = 0; q < 40; ++q) {
            const double qy = 60.0 * seq.Next() - 5.0, qx = 210.0 * seq.Next() - 5.0;
            const double radius = 8.0 * seq.Next();
            std::set<std::size_t> expected, found;
            for (std::size_t j = 0; j < y.size(); ++j)
                if ((y[j] - qy) * (y[j] - qy) + (x[j] - qx) * (x[j] - qx) <= radius * radius)
                    expected.insert(j);
            grid.ForEachWithin(qy, qx, radius, [&](std::size_t j, double) { found.insert(j); });
            EXPECT_EQ(found, expected) << "set " << set << " query " << q;
        }
    }
}

TEST(PointGridTest, LonePointHasNoNeighbour) {
    const CPointGrid grid({1.0}, {2.0});
    EXPECT_EQ(grid.NearestOther(0).index, -1);
    EXPECT_TRUE(std::isinf(grid.NearestOther(0).distanceM));
}

} // namespace
} // namespace tarvo
