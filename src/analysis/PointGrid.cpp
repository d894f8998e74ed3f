#include "analysis/PointGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvo {

namespace {

constexpr double kMinCellM = 0.01;
// A walk's points fill a thin band of their box; the cells are sized for
// the box, but never more than this many per point.
constexpr double kMaxCellsPerPoint = 4.0;

} // namespace

CPointGrid::CPointGrid(std::vector<double> ys, std::vector<double> xs, double targetPerCell)
    : ys_(std::move(ys)), xs_(std::move(xs)) {
    const std::size_t n = ys_.size();
    if (n == 0) {
        cellStart_.assign(2, 0);
        return;
    }
    double minY = ys_[0], maxY = ys_[0], minX = xs_[0], maxX = xs_[0];
    for (std::size_t i = 1; i < n; ++i) {
        minY = std::min(minY, ys_[i]);
        maxY = std::max(maxY, ys_[i]);
        minX = std::min(minX, xs_[i]);
        maxX = std::max(maxX, xs_[i]);
    }
    const double h = maxY - minY, w = maxX - minX;
    const double nd = static_cast<double>(n);
    cellM_ = std::max(std::sqrt(std::max(h * w, 0.0) * targetPerCell / nd), kMinCellM);
    // A line-like walk has almost no area: size the cells along it instead.
    cellM_ = std::max(cellM_, std::max(h, w) * targetPerCell / nd);
    while ((std::floor(h / cellM_) + 1.0) * (std::floor(w / cellM_) + 1.0) > kMaxCellsPerPoint * nd)
        cellM_ *= 2.0;
    y0_ = minY;
    x0_ = minX;
    ny_ = static_cast<long long>(std::floor(h / cellM_)) + 1;
    nx_ = static_cast<long long>(std::floor(w / cellM_)) + 1;

    const std::size_t cells = static_cast<std::size_t>(nx_ * ny_);
    std::vector<std::size_t> count(cells + 1, 0);
    std::vector<std::size_t> cellOf(n);
    for (std::size_t i = 0; i < n; ++i) {
        cellOf[i] = CellIndex(CellX(xs_[i]), CellY(ys_[i]));
        ++count[cellOf[i] + 1];
    }
    for (std::size_t c = 0; c < cells; ++c)
        count[c + 1] += count[c];
    cellStart_ = count;
    order_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        order_[count[cellOf[i]]++] = i;
}

long long CPointGrid::CellX(double x) const {
    const double c = std::floor((x - x0_) / cellM_);
    return std::clamp(static_cast<long long>(std::clamp(c, -1.0, static_cast<double>(nx_))), 0LL,
                      nx_ - 1);
}

long long CPointGrid::CellY(double y) const {
    const double c = std::floor((y - y0_) / cellM_);
    return std::clamp(static_cast<long long>(std::clamp(c, -1.0, static_cast<double>(ny_))), 0LL,
                      ny_ - 1);
}

CPointGrid::CNeighbour CPointGrid::NearestOther(std::size_t i) const {
    CNeighbour best;
    best.distanceM = std::numeric_limits<double>::infinity();
    double best2 = best.distanceM;
    const double y = ys_[i], x = xs_[i];
    const long long cx = CellX(x), cy = CellY(y);
    const long long maxRing = std::max(nx_, ny_);
    for (long long ring = 0; ring <= maxRing; ++ring) {
        for (long long iy = cy - ring; iy <= cy + ring; ++iy) {
            if (iy < 0 || iy >= ny_)
                continue;
            const bool edgeRow = iy == cy - ring || iy == cy + ring;
            for (long long ix = cx - ring; ix <= cx + ring; ix += edgeRow ? 1 : 2 * ring) {
                if (ix >= 0 && ix < nx_) {
                    const std::size_t c = CellIndex(ix, iy);
                    for (std::size_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k) {
                        const std::size_t j = order_[k];
                        if (j == i)
                            continue;
                        const double dy = ys_[j] - y, dx = xs_[j] - x;
                        const double d2 = dy * dy + dx * dx;
                        if (d2 < best2 || (d2 == best2 && static_cast<long long>(j) < best.index)) {
                            best2 = d2;
                            best.index = static_cast<long long>(j);
                        }
                    }
                }
                if (ring == 0)
                    break;
            }
        }
        // Every point of the next ring is at least ring cells away.
        const double reach = static_cast<double>(ring) * cellM_;
        if (best.index >= 0 && best2 < reach * reach)
            break;
    }
    if (best.index >= 0)
        best.distanceM = std::sqrt(best2);
    return best;
}

} // namespace tarvo
