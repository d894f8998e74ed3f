#pragma once
// Points of a walk bucketed into a uniform grid of square cells, so that a
// point's nearest neighbour and the points within a radius are found by
// visiting nearby cells instead of every point. Answers are exactly those
// of a scan over all points (ties resolved by index), so results never
// depend on the cell size.

#include <cstddef>
#include <vector>

namespace tarvo {

class CPointGrid {
public:
    CPointGrid() = default;
    // Points i at (ys[i], xs[i]), site metres, all finite; cells of about
    // targetPerCell points on average (at least 1 cm wide).
    CPointGrid(std::vector<double> ys, std::vector<double> xs, double targetPerCell = 2.0);

    std::size_t Size() const { return ys_.size(); }

    // The nearest other point of point i (the lower index among equally
    // near ones) and its distance; -1 and +infinity when there is none.
    struct CNeighbour {
        long long index = -1;
        double distanceM = 0.0;
    };
    CNeighbour NearestOther(std::size_t i) const;

    // Calls visit(j, squared distance) for every point j within radiusM of
    // (y, x), cell by cell in a fixed order (the same on every call).
    template <typename Visit>
    void ForEachWithin(double y, double x, double radiusM, Visit&& visit) const {
        if (ys_.empty() || !(radiusM >= 0.0))
            return;
        const long long loX = CellX(x - radiusM), hiX = CellX(x + radiusM);
        const long long loY = CellY(y - radiusM), hiY = CellY(y + radiusM);
        const double r2 = radiusM * radiusM;
        for (long long iy = loY; iy <= hiY; ++iy)
            for (long long ix = loX; ix <= hiX; ++ix) {
                const std::size_t c = CellIndex(ix, iy);
                for (std::size_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k) {
                    const std::size_t j = order_[k];
                    const double dy = ys_[j] - y, dx = xs_[j] - x;
                    const double d2 = dy * dy + dx * dx;
                    if (d2 <= r2)
                        visit(j, d2);
                }
            }
    }

private:
    long long CellX(double x) const;
    long long CellY(double y) const;
    std::size_t CellIndex(long long cx, long long cy) const {
        return static_cast<std::size_t>(cy * nx_ + cx);
    }

    std::vector<double> ys_, xs_;
    double y0_ = 0.0, x0_ = 0.0, cellM_ = 1.0;
    long long nx_ = 1, ny_ = 1;
    std::vector<std::size_t> cellStart_; // nx * ny + 1 offsets into order_
    std::vector<std::size_t> order_;     // point indices, cell by cell, ascending
};

} // namespace tarvo
