#include "analysis/NearestIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tarvo {

namespace {

constexpr double kPlacesPerCell = 4.0;
constexpr int kMaxCellsPerAxis = 1024;

bool Before(const CNeighbour& a, const CNeighbour& b) {
    return a.distance < b.distance || (a.distance == b.distance && a.index < b.index);
}

int CellOf(double t, int count) {
    if (!(t > 0.0))
        return 0;
    if (t >= count)
        return count - 1;
    return static_cast<int>(t);
}

} // namespace

CNearestIndex::CNearestIndex(std::vector<double> xs, std::vector<double> ys)
    : xs_(std::move(xs)), ys_(std::move(ys)) {
    std::vector<int> usable;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (std::size_t i = 0; i < xs_.size(); ++i) {
        if (!std::isfinite(xs_[i]) || !std::isfinite(ys_[i]))
            continue;
        if (usable.empty()) {
            minX = maxX = xs_[i];
            minY = maxY = ys_[i];
        }
        minX = std::min(minX, xs_[i]);
        maxX = std::max(maxX, xs_[i]);
        minY = std::min(minY, ys_[i]);
        maxY = std::max(maxY, ys_[i]);
        usable.push_back(static_cast<int>(i));
    }
    const double w = maxX - minX, h = maxY - minY;
    const double cells = std::max(1.0, static_cast<double>(usable.size()) / kPlacesPerCell);
    const auto count = [](double c) {
        return static_cast<int>(std::clamp(std::ceil(c), 1.0, double(kMaxCellsPerAxis)));
    };
    if (w > 0.0 && h > 0.0) {
        const double side = std::sqrt(w * h / cells);
        nx_ = count(w / side);
        ny_ = count(h / side);
    } else if (w > 0.0) {
        nx_ = count(cells);
    } else if (h > 0.0) {
        ny_ = count(cells);
    }
    x0_ = minX;
    y0_ = minY;
    cellW_ = w > 0.0 ? w / nx_ : 1.0;
    cellH_ = h > 0.0 ? h / ny_ : 1.0;

    const std::size_t cellCount = static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_);
    cellStart_.assign(cellCount + 1, 0);
    std::vector<int> cellOf(usable.size());
    for (std::size_t k = 0; k < usable.size(); ++k) {
        const auto i = static_cast<std::size_t>(usable[k]);
        cellOf[k] = CellY(ys_[i]) * nx_ + CellX(xs_[i]);
        ++cellStart_[static_cast<std::size_t>(cellOf[k]) + 1];
    }
    for (std::size_t c = 0; c < cellCount; ++c)
        cellStart_[c + 1] += cellStart_[c];
    order_.resize(usable.size());
    std::vector<int> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t k = 0; k < usable.size(); ++k)
        order_[static_cast<std::size_t>(fill[static_cast<std::size_t>(cellOf[k])]++)] = usable[k];
}

int CNearestIndex::CellX(double x) const {
    return CellOf((x - x0_) / cellW_, nx_);
}

int CNearestIndex::CellY(double y) const {
    return CellOf((y - y0_) / cellH_, ny_);
}

// The best k so far are kept as a max-heap on (distance, index); rings of
// cells are visited until every cell not yet visited lies farther than the
// k-th distance found. A place at exactly that distance is still visited
// (the test is strict), so ties resolve by index as a full scan would.
void CNearestIndex::Nearest(double x, double y, int k, std::vector<CNeighbour>& out) const {
    out.clear();
    if (k <= 0 || order_.empty() || !std::isfinite(x) || !std::isfinite(y))
        return;
    const auto kk = static_cast<std::size_t>(k);
    const auto consider = [&](int i) {
        const double dx = xs_[static_cast<std::size_t>(i)] - x;
        const double dy = ys_[static_cast<std::size_t>(i)] - y;
        const CNeighbour n{std::sqrt(dx * dx + dy * dy), i};
        if (out.size() < kk) {
            out.push_back(n);
            std::push_heap(out.begin(), out.end(), Before);
        } else if (Before(n, out.front())) {
            std::pop_heap(out.begin(), out.end(), Before);
            out.back() = n;
            std::push_heap(out.begin(), out.end(), Before);
        }
    };
    const auto visitCell = [&](int cx, int cy) {
        if (cx < 0 || cy < 0 || cx >= nx_ || cy >= ny_)
            return;
        const auto c = static_cast<std::size_t>(cy) * static_cast<std::size_t>(nx_) +
                       static_cast<std::size_t>(cx);
        for (int j = cellStart_[c]; j < cellStart_[c + 1]; ++j)
            consider(order_[static_cast<std::size_t>(j)]);
    };
    const int qx = CellX(x), qy = CellY(y);
    // Cell edges are computed as x0 + c * width, which may differ from the
    // division that assigned the cells by a rounding step.
    const double margin =
        1e-9 * (std::fabs(x0_) + std::fabs(y0_) + std::fabs(x) + std::fabs(y) + cellW_ + cellH_);
    for (int r = 0;; ++r) {
        if (r == 0) {
            visitCell(qx, qy);
        } else {
            for (int cx = qx - r; cx <= qx + r; ++cx) {
                visitCell(cx, qy - r);
                visitCell(cx, qy + r);
            }
            for (int cy = qy - r + 1; cy <= qy + r - 1; ++cy) {
                visitCell(qx - r, cy);
                visitCell(qx + r, cy);
            }
        }
        const bool left = qx - r > 0, right = qx + r < nx_ - 1;
        const bool below = qy - r > 0, above = qy + r < ny_ - 1;
        if (!left && !right && !below && !above)
            break;
        if (out.size() < kk)
            continue;
        double gap = std::numeric_limits<double>::infinity();
        if (left)
            gap = std::min(gap, x - (x0_ + (qx - r) * cellW_));
        if (right)
            gap = std::min(gap, (x0_ + (qx + r + 1) * cellW_) - x);
        if (below)
            gap = std::min(gap, y - (y0_ + (qy - r) * cellH_));
        if (above)
            gap = std::min(gap, (y0_ + (qy + r + 1) * cellH_) - y);
        if (gap > out.front().distance + margin)
            break;
    }
    std::sort_heap(out.begin(), out.end(), Before);
}

} // namespace tarvo
