#include "analysis/ThroughputGrid.h"

#include "analysis/Grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvo {

namespace {

// Squared distance below which a grid point lies on a measured point (a
// micrometre): its weight would overflow, and its rate is the measured one.
constexpr double kSamePlaceM2 = 1e-12;

// Widens [lo, lo + extent] about its centre to at least kSmallestThroughputBoxM.
void Widen(double& lo, double& extent) {
    if (extent >= kSmallestThroughputBoxM)
        return;
    lo -= (kSmallestThroughputBoxM - extent) / 2.0;
    extent = kSmallestThroughputBoxM;
}

int AxisCount(double extent, double spacing) {
    return std::clamp(GridCount(extent, spacing), 2, kMostThroughputGridPoints);
}

} // namespace

double InterpolateThroughput(const std::vector<CThroughputPoint>& points, double x, double y) {
    double weighted = 0.0, weights = 0.0;
    for (const CThroughputPoint& p : points) {
        if (!p.HasDown() || !std::isfinite(p.x) || !std::isfinite(p.y))
            continue;
        const double dx = p.x - x, dy = p.y - y;
        const double d2 = dx * dx + dy * dy;
        if (d2 < kSamePlaceM2)
            return p.downBps;
        weighted += p.downBps / d2;
        weights += 1.0 / d2;
    }
    return weights > 0.0 ? weighted / weights : std::numeric_limits<double>::quiet_NaN();
}

CThroughputGrid ComputeThroughputGrid(const std::vector<CThroughputPoint>& points,
                                      double resolution) {
    CThroughputGrid grid;
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;
    for (const CThroughputPoint& p : points) {
        if (!p.HasDown() || !std::isfinite(p.x) || !std::isfinite(p.y))
            continue;
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
        ++grid.measured;
    }
    if (grid.measured == 0)
        return grid;
    CBox& box = grid.box;
    box.minX = minX;
    box.minY = minY;
    box.extentX = maxX - minX;
    box.extentY = maxY - minY;
    Widen(box.minX, box.extentX);
    Widen(box.minY, box.extentY);
    const double spacing = std::isfinite(resolution) && resolution > 0.0
                               ? resolution
                               : std::min(box.extentX, box.extentY) / 20.0;
    grid.rows = AxisCount(box.extentX, spacing);
    grid.cols = AxisCount(box.extentY, spacing);
    const std::vector<double> xs = GridAxis(box.minX, box.extentX, grid.rows);
    const std::vector<double> ys = GridAxis(box.minY, box.extentY, grid.cols);
    grid.downBps.reserve(xs.size() * ys.size());
    for (double x : xs)
        for (double y : ys)
            grid.downBps.push_back(InterpolateThroughput(points, x, y));
    grid.scaleTopBps = ThroughputScaleTop(points);
    return grid;
}

double NiceCeiling(double value) {
    if (!(value > 0.0) || !std::isfinite(value))
        return 1e6;
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (step * decade >= value)
            return step * decade;
    return 10.0 * decade;
}

double ThroughputScaleTop(const std::vector<CThroughputPoint>& points) {
    double fastest = 0.0;
    for (const CThroughputPoint& p : points)
        if (p.HasDown())
            fastest = std::max(fastest, p.downBps);
    return NiceCeiling(fastest);
}

int ThroughputBand(double bps, double topBps) {
    if (!(topBps > 0.0) || !std::isfinite(bps))
        return 0;
    const double band = std::trunc(10.0 * bps / topBps);
    return static_cast<int>(std::clamp(band, 0.0, 9.0));
}

} // namespace tarvo
