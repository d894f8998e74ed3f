#include "analysis/Contours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace tarvo {
namespace {

struct CGrid {
    int rows = 0, cols = 0;
    std::vector<double> x, y, m;
    double At(int i, int j) const { return m[static_cast<std::size_t>(i * cols + j)]; }
};

// A grid with uneven spacing and whole-number values, so that many corners
// and cell centres lie exactly on integer levels.
CGrid MakeGrid(int rows, int cols, unsigned seed) {
    CGrid g;
    g.rows = rows;
    g.cols = cols;
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> value(-3, 3), step(1, 4);
    double at = -2.0;
    for (int i = 0; i < rows; ++i, at += step(rng) * 0.5)
        g.x.push_back(at);
    at = 10.0;
    for (int j = 0; j < cols; ++j, at += step(rng) * 0.25)
        g.y.push_back(at);
    for (int k = 0; k < rows * cols; ++k)
        g.m.push_back(value(rng));
    return g;
}

double TriangleArea(double ax, double ay, double bx, double by, double cx, double cy) {
    return std::fabs((bx - ax) * (cy - ay) - (cx - ax) * (by - ay)) / 2.0;
}

// Area of the part of a triangle where a linear function with the given
// vertex values is at or above z, in closed form from the sorted values.
double AreaAtOrAbove(double area, std::array<double, 3> v, double z) {
    std::sort(v.begin(), v.end());
    const double lo = v[0], mid = v[1], hi = v[2];
    if (z <= lo)
        return area;
    if (z > hi)
        return 0.0;
    if (z <= mid)
        return area - area * (z - lo) * (z - lo) / ((mid - lo) * (hi - lo));
    return area * (hi - z) * (hi - z) / ((hi - lo) * (hi - mid));
}

// The four triangles of a cell: centre, corner m, corner m+1.
struct CTri {
    std::array<double, 3> x, y, v;
};
std::array<CTri, 4> CellTriangles(const CGrid& g, int i, int j) {
    const std::array<double, 4> cx = {g.x[i], g.x[i + 1], g.x[i + 1], g.x[i]};
    const std::array<double, 4> cy = {g.y[j], g.y[j], g.y[j + 1], g.y[j + 1]};
    const std::array<double, 4> cv = {g.At(i, j), g.At(i + 1, j), g.At(i + 1, j + 1),
                                      g.At(i, j + 1)};
    const double mx = (cx[0] + cx[1]) / 2, my = (cy[0] + cy[3]) / 2;
    const double mv = (cv[0] + cv[1] + cv[2] + cv[3]) / 4;
    std::array<CTri, 4> t;
    for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4;
        t[k] = {{mx, cx[k], cx[n]}, {my, cy[k], cy[n]}, {mv, cv[k], cv[n]}};
    }
    return t;
}

double ExpectedBandArea(const CGrid& g, double z) {
    double total = 0.0;
    for (int i = 0; i + 1 < g.rows; ++i)
        for (int j = 0; j + 1 < g.cols; ++j)
            for (const CTri& t : CellTriangles(g, i, j))
                total += AreaAtOrAbove(TriangleArea(t.x[0], t.y[0], t.x[1], t.y[1], t.x[2], t.y[2]),
                                       t.v, z);
    return total;
}

double PolygonArea(const CDataArea& a) {
    double twice = 0.0;
    for (int k = 0; k < a.vertexCount; ++k) {
        const int n = (k + 1) % a.vertexCount;
        twice += a.x[k] * a.y[n] - a.x[n] * a.y[k];
    }
    return std::fabs(twice) / 2.0;
}

TEST(ContourBands, FilledAreaEqualsAreaAtOrAboveLevel) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        const CGrid g = MakeGrid(9, 7, seed);
        // Levels on the data values (ties everywhere), between them, and
        // outside the range.
        for (double z : {-4.0, -3.0, -2.0, -1.5, -0.25, 0.0, 0.5, 1.0, 2.0, 2.75, 3.0, 3.5}) {
            CArray<CDataArea> areas;
            const int n = TraceContourBands(g.m, g.rows, g.cols, g.x, g.y, z, areas);
            ASSERT_EQ(n, areas.GetSize());
            double filled = 0.0;
            for (const CDataArea& a : areas) {
                ASSERT_TRUE(a.vertexCount == 3 || a.vertexCount == 4);
                filled += PolygonArea(a);
            }
            EXPECT_NEAR(filled, ExpectedBandArea(g, z), 1e-9) << "seed " << seed << " z " << z;
        }
    }
}

TEST(ContourLines, RampGivesVerticalLineThroughTheMiddle) {
    // Values rise from 0 at x = 0 to 2 at x = 1: level 1 is the line x = 0.5,
    // found on the bottom and top triangles only.
    const std::vector<double> m = {0, 0, 2, 2}; // (0,0) (0,1) (1,0) (1,1)
    const std::vector<double> x = {0, 1}, y = {0, 1};
    CArray<CDataLine> lines;
    ASSERT_EQ(TraceContourLines(m, 2, 2, x, y, 1.0, lines), 2);
    double covered = 0.0;
    for (const CDataLine& l : lines) {
        EXPECT_DOUBLE_EQ(l.v[0], 0.5);
        EXPECT_DOUBLE_EQ(l.v[1], 0.5);
        covered += std::fabs(l.v[3] - l.v[2]);
    }
    EXPECT_DOUBLE_EQ(covered, 1.0);
}

TEST(Contours, DegenerateInputsProduceNothing) {
    const std::vector<double> m = {0, 1, 2, 3}, x = {0, 1}, y = {0, 1};
    CArray<CDataLine> lines;
    CArray<CDataArea> areas;
    EXPECT_EQ(TraceContourLines(m, 1, 4, x, y, 1.0, lines), 0);             // one point along X
    EXPECT_EQ(TraceContourBands(m, 4, 1, x, y, 1.0, areas), 0);             // one point along Y
    EXPECT_EQ(TraceContourLines(m, 3, 2, x, y, 1.0, lines), 0);             // matrix too short
    EXPECT_EQ(TraceContourBands(m, 2, 2, x, {y.data(), 1}, 1.0, areas), 0); // y too short
    EXPECT_EQ(TraceContourLines(m, -2, 2, x, y, 1.0, lines), 0);
    EXPECT_TRUE(lines.IsEmpty());
    EXPECT_TRUE(areas.IsEmpty());

    // A cell with a NaN corner is skipped; its neighbour is still traced.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> m3 = {nan, 0, 0, 2, 2, 2}; // 3 x 2
    const std::vector<double> x3 = {0, 1, 2};
    EXPECT_EQ(TraceContourLines(m3, 3, 2, x3, y, 1.0, lines), 2);
    for (const CDataLine& l : lines)
        EXPECT_TRUE(std::isfinite(l.v[0]) && std::isfinite(l.v[2]));
}

} // namespace
} // namespace tarvo
