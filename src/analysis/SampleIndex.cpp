#include "analysis/SampleIndex.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace tarvo {

namespace {

// Below this many samples a plain scan is as quick as the cells.
constexpr std::size_t kIndexMinSamples = 32;
constexpr double kSamplesPerCell = 4.0;
constexpr int kMaxCellsPerAxis = 1024;

} // namespace

CSampleIndex::CSampleIndex(std::vector<double> xs, std::vector<double> ys)
    : xs_(std::move(xs)), ys_(std::move(ys)) {
    Build();
}

int CSampleIndex::Cell(double t, int count) {
    if (!(t > 0.0))
        return 0;
    if (t >= count)
        return count - 1;
    return static_cast<int>(t);
}

void CSampleIndex::Build() {
    const std::size_t n = xs_.size();
    if (n < kIndexMinSamples)
        return;
    double minX = xs_[0], maxX = xs_[0], minY = ys_[0], maxY = ys_[0];
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(xs_[i]) || !std::isfinite(ys_[i]))
            return; // the scan handles what cells cannot
        minX = std::min(minX, xs_[i]);
        maxX = std::max(maxX, xs_[i]);
        minY = std::min(minY, ys_[i]);
        maxY = std::max(maxY, ys_[i]);
    }
    const double w = maxX - minX, h = maxY - minY;
    const double cells = static_cast<double>(n) / kSamplesPerCell;
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
    scale_ = std::fabs(minX) + std::fabs(minY) + w + h;
    const std::size_t cellCount = static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_);
    std::vector<int> cellOf(n);
    cellStart_.assign(cellCount + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        cellOf[i] = CellY(ys_[i]) * nx_ + CellX(xs_[i]);
        ++cellStart_[static_cast<std::size_t>(cellOf[i]) + 1];
    }
    for (std::size_t c = 0; c < cellCount; ++c)
        cellStart_[c + 1] += cellStart_[c];
    order_.resize(n);
    std::vector<int> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t i = 0; i < n; ++i)
        order_[static_cast<std::size_t>(fill[static_cast<std::size_t>(cellOf[i])]++)] =
            static_cast<int>(i);
    built_ = true;
}

CNearest3 CSampleIndex::Nearest3(double x, double y, std::vector<double>& scratch) const {
    if (built_ && std::isfinite(x) && std::isfinite(y))
        return FromCells(x, y);
    const std::size_t n = xs_.size();
    scratch.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = xs_[i] - x, dy = ys_[i] - y;
        scratch[i] = std::sqrt(dx * dx + dy * dy);
    }
    return tarvo::Nearest3(scratch);
}

// Cells are visited out of index order, which CNearest3::Offer allows for
// (of equal distances the later sample wins whatever the order). The rings
// stop once every unvisited cell lies farther than the third distance
// found (with a margin for rounding in the cell assignment), so a sample at
// an equal distance is never missed.
CNearest3 CSampleIndex::FromCells(double x, double y) const {
    CNearest3 nearest;
    const auto consider = [&](std::size_t i) {
        const double dx = xs_[i] - x, dy = ys_[i] - y;
        nearest.Offer(std::sqrt(dx * dx + dy * dy), i);
    };
    const auto visitCell = [&](int cx, int cy) {
        if (cx < 0 || cy < 0 || cx >= nx_ || cy >= ny_)
            return;
        const auto c = static_cast<std::size_t>(cy) * static_cast<std::size_t>(nx_) +
                       static_cast<std::size_t>(cx);
        for (int k = cellStart_[c]; k < cellStart_[c + 1]; ++k)
            consider(static_cast<std::size_t>(order_[static_cast<std::size_t>(k)]));
    };
    const int qx = CellX(x), qy = CellY(y);
    const double margin = 1e-9 * (scale_ + std::fabs(x) + std::fabs(y) + cellW_ + cellH_);
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
            break; // every cell visited
        if (nearest.count < 3)
            continue;
        // Distance from the point to the nearest cell not yet visited.
        double gap = std::numeric_limits<double>::infinity();
        if (left)
            gap = std::min(gap, x - (x0_ + (qx - r) * cellW_));
        if (right)
            gap = std::min(gap, (x0_ + (qx + r + 1) * cellW_) - x);
        if (below)
            gap = std::min(gap, y - (y0_ + (qy - r) * cellH_));
        if (above)
            gap = std::min(gap, (y0_ + (qy + r + 1) * cellH_) - y);
        if (gap > nearest.distance[2] + margin + 1e-9 * nearest.distance[2])
            break;
    }
    return nearest;
}

} // namespace tarvo
