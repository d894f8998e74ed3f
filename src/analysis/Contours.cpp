#include "analysis/Contours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace tarvo {

namespace {

// One grid cell prepared for tracing: index 0 is the centre, 1..4 the
// corners (i, j), (i+1, j), (i+1, j+1), (i, j+1); h is value minus level.
struct CCell {
    std::array<double, 5> h{};
    std::array<double, 5> x{};
    std::array<double, 5> y{};
    std::array<int, 5> sign{};
    double low = 0.0;
    double high = 0.0;
};

bool InputsFit(std::span<const double> matrix, int rows, int cols, std::span<const double> x,
               std::span<const double> y) {
    if (rows < 2 || cols < 2)
        return false;
    const auto r = static_cast<std::size_t>(rows), c = static_cast<std::size_t>(cols);
    return x.size() >= r && y.size() >= c && matrix.size() / c >= r;
}

int SignOf(double h) {
    return h > 0.0 ? 1 : (h < 0.0 ? -1 : 0);
}

// Reads cell (i, j); false when a corner is not finite.
bool LoadCell(std::span<const double> m, int cols, std::span<const double> x,
              std::span<const double> y, int i, int j, double level, CCell& cell) {
    const auto at = [&](int ii, int jj) {
        return m[static_cast<std::size_t>(ii) * static_cast<std::size_t>(cols) +
                 static_cast<std::size_t>(jj)];
    };
    const std::array<double, 5> v = {0.0, at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)};
    for (int k = 1; k <= 4; ++k) {
        if (!std::isfinite(v[k]))
            return false;
    }
    const std::array<int, 5> ci = {0, i, i + 1, i + 1, i};
    const std::array<int, 5> cj = {0, j, j, j + 1, j + 1};
    cell.low = std::min(std::min(v[1], v[2]), std::min(v[3], v[4]));
    cell.high = std::max(std::max(v[1], v[2]), std::max(v[3], v[4]));
    for (int k = 1; k <= 4; ++k) {
        cell.h[k] = v[k] - level;
        cell.x[k] = x[static_cast<std::size_t>(ci[k])];
        cell.y[k] = y[static_cast<std::size_t>(cj[k])];
    }
    const double centre = v[1] / 4.0 + v[2] / 4.0 + v[3] / 4.0 + v[4] / 4.0;
    cell.h[0] = centre - level;
    cell.x[0] = 0.5 * (cell.x[1] + cell.x[2]);
    cell.y[0] = 0.5 * (cell.y[1] + cell.y[4]);
    for (int k = 0; k <= 4; ++k)
        cell.sign[k] = SignOf(cell.h[k]);
    return true;
}

// Point where the surface crosses the level on the edge p-q; the two ends
// lie strictly on opposite sides (or one of them on the level).
void Intersect(const CCell& c, int p, int q, double& xs, double& ys) {
    xs = (c.h[q] * c.x[p] - c.h[p] * c.x[q]) / (c.h[q] - c.h[p]);
    ys = (c.h[q] * c.y[p] - c.h[p] * c.y[q]) / (c.h[q] - c.h[p]);
}

// CONREC case table, indexed by the signs of corner m, the centre and
// corner m+1 (each plus one).
constexpr int kLineCases[3][3][3] = {{{0, 0, 8}, {0, 2, 5}, {7, 6, 9}},
                                     {{0, 3, 4}, {1, 3, 1}, {4, 3, 0}},
                                     {{9, 6, 7}, {5, 2, 0}, {8, 0, 0}}};

// Band cases, indexed by 9 * sign(centre) + 3 * sign(m) + sign(m+1) + 13:
// 0 nothing, 1 the whole triangle, others a part of it.
constexpr int kBandCases[27] = {0, 0, 4, 0, 0, 5,  6,  7,  8, 0, 0,  2, 0, 1,
                                1, 3, 1, 1, 9, 10, 11, 12, 1, 1, 13, 1, 1};

} // namespace

int TraceContourLines(std::span<const double> matrix, int rows, int cols, std::span<const double> x,
                      std::span<const double> y, double level, CArray<CDataLine>& out) {
    if (!InputsFit(matrix, rows, cols, x, y))
        return 0;
    int added = 0;
    CCell c;
    for (int j = 0; j < cols - 1; ++j) {
        for (int i = 0; i < rows - 1; ++i) {
            if (!LoadCell(matrix, cols, x, y, i, j, level, c))
                continue;
            if (!(c.low <= level && level <= c.high))
                continue;
            for (int m = 1; m <= 4; ++m) {
                const int m1 = m, m2 = 0, m3 = m == 4 ? 1 : m + 1;
                const int kase = kLineCases[c.sign[m1] + 1][c.sign[m2] + 1][c.sign[m3] + 1];
                double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                switch (kase) {
                case 0:
                    continue;
                case 1: // vertices 1 and 2
                    x1 = c.x[m1], y1 = c.y[m1], x2 = c.x[m2], y2 = c.y[m2];
                    break;
                case 2: // vertices 2 and 3
                    x1 = c.x[m2], y1 = c.y[m2], x2 = c.x[m3], y2 = c.y[m3];
                    break;
                case 3: // vertices 3 and 1
                    x1 = c.x[m3], y1 = c.y[m3], x2 = c.x[m1], y2 = c.y[m1];
                    break;
                case 4: // vertex 1 and side 2-3
                    x1 = c.x[m1], y1 = c.y[m1];
                    Intersect(c, m2, m3, x2, y2);
                    break;
                case 5: // vertex 2 and side 3-1
                    x1 = c.x[m2], y1 = c.y[m2];
                    Intersect(c, m3, m1, x2, y2);
                    break;
                case 6: // vertex 3 and side 1-2
                    x1 = c.x[m3], y1 = c.y[m3];
                    Intersect(c, m1, m2, x2, y2);
                    break;
                case 7: // sides 1-2 and 2-3
                    Intersect(c, m1, m2, x1, y1);
                    Intersect(c, m2, m3, x2, y2);
                    break;
                case 8: // sides 2-3 and 3-1
                    Intersect(c, m2, m3, x1, y1);
                    Intersect(c, m3, m1, x2, y2);
                    break;
                default: // 9: sides 3-1 and 1-2
                    Intersect(c, m3, m1, x1, y1);
                    Intersect(c, m1, m2, x2, y2);
                    break;
                }
                CDataLine line;
                line.v = {x1, x2, y1, y2};
                out.Add(line);
                ++added;
            }
        }
    }
    return added;
}

int TraceContourBands(std::span<const double> matrix, int rows, int cols, std::span<const double> x,
                      std::span<const double> y, double level, CArray<CDataArea>& out) {
    if (!InputsFit(matrix, rows, cols, x, y))
        return 0;
    int added = 0;
    CCell c;
    for (int j = 0; j < cols - 1; ++j) {
        // A rectangle is only ever extended by the next cell of its own row.
        bool previousWhole = false;
        for (int i = 0; i < rows - 1; ++i) {
            if (!LoadCell(matrix, cols, x, y, i, j, level, c)) {
                previousWhole = false;
                continue;
            }
            const double x0 = x[static_cast<std::size_t>(i)];
            const double x1 = x[static_cast<std::size_t>(i) + 1];
            const double y0 = y[static_cast<std::size_t>(j)];
            const double y1 = y[static_cast<std::size_t>(j) + 1];
            if (c.low > level) {
                if (previousWhole) {
                    CDataArea& last = out[out.GetSize() - 1];
                    last.x[2] = x1;
                    last.x[3] = x1;
                } else {
                    CDataArea rect;
                    rect.x = {x0, x0, x1, x1};
                    rect.y = {y0, y1, y1, y0};
                    rect.vertexCount = 4;
                    out.Add(rect);
                    ++added;
                }
                previousWhole = true;
                continue;
            }
            previousWhole = false;
            if (!(c.low <= level && level <= c.high))
                continue;
            for (int m = 1; m <= 4; ++m) {
                const int next = m == 4 ? 1 : m + 1;
                const int kase = kBandCases[9 * c.sign[0] + 3 * c.sign[m] + c.sign[next] + 13];
                if (kase == 0)
                    continue;
                // Triangle centre, corner m, corner m+1; the part at or above
                // the level is clipped out edge by edge.
                const std::array<int, 3> tri = {0, m, next};
                CDataArea area;
                int n = 0;
                for (int e = 0; e < 3; ++e) {
                    const int p = tri[static_cast<std::size_t>(e)];
                    const int q = tri[static_cast<std::size_t>((e + 1) % 3)];
                    if (kase == 1 || c.sign[p] >= 0) {
                        area.x[static_cast<std::size_t>(n)] = c.x[p];
                        area.y[static_cast<std::size_t>(n)] = c.y[p];
                        ++n;
                    }
                    if (kase != 1 && c.sign[p] * c.sign[q] < 0 && n < 4) {
                        Intersect(c, p, q, area.x[static_cast<std::size_t>(n)],
                                  area.y[static_cast<std::size_t>(n)]);
                        ++n;
                    }
                }
                area.vertexCount = n;
                out.Add(area);
                ++added;
            }
        }
    }
    return added;
}

} // namespace tarvo
