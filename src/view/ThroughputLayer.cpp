#include "view/ThroughputLayer.h"

#include "analysis/ThroughputGrid.h"
#include "model/Text.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvo {

namespace {

constexpr double kBitsPerMegabit = 1e6;
constexpr int kMeasuredRingGrow = 3;

// Cell edges along one axis: the grid points lie midway between them.
std::vector<double> CellEdges(double min, double extent, int count) {
    const double step = count > 1 ? extent / (count - 1) : extent;
    std::vector<double> edges;
    edges.reserve(static_cast<std::size_t>(count) + 1);
    for (int k = 0; k <= count; ++k)
        edges.push_back(min - step / 2.0 + k * step);
    return edges;
}

} // namespace

void DrawThroughputLayer(const CLayerContext& ctx, QImage& canvas) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    const CThroughputGrid grid = ComputeThroughputGrid(doc.throughput, doc.Resolution);
    if (grid.Empty())
        return;
    const std::vector<double> xEdges = CellEdges(grid.box.minX, grid.box.extentX, grid.rows);
    const std::vector<double> yEdges = CellEdges(grid.box.minY, grid.box.extentY, grid.cols);
    // Pixel edges once per axis, so that neighbouring cells share theirs.
    std::vector<int> left, top;
    for (double x : xEdges)
        left.push_back(ctx.Pixel(x, 0.0).x());
    for (double y : yEdges)
        top.push_back(ctx.Pixel(0.0, y).y());
    QPainter painter(&canvas);
    const QRect bounds = ctx.Bounds();
    for (int i = 0; i < grid.rows; ++i) {
        for (int j = 0; j < grid.cols; ++j) {
            const double value = grid.downBps[static_cast<std::size_t>(i) * grid.cols + j];
            if (!std::isfinite(value))
                continue;
            // Y grows upward, rows downward: the upper edge is the larger Y.
            // A cell keeps at least one pixel when the view is zoomed out far.
            const QRect cell(left[i], top[j + 1], std::max(1, left[i + 1] - left[i]),
                             std::max(1, top[j] - top[j + 1]));
            if (!cell.intersects(bounds))
                continue;
            const int band = ThroughputBand(value, grid.scaleTopBps);
            painter.fillRect(cell, ToQColor(doc.CoveragePalette[9 - band]));
        }
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    for (const CThroughputPoint& p : doc.throughput)
        if (p.HasDown() && std::isfinite(p.x) && std::isfinite(p.y))
            CircleAt(painter, ctx.Pixel(p.x, p.y), kMeasuredRingGrow);
}

QString ThroughputBandLabel(double topBps, int row) {
    if (row < 0 || row >= kCoverageLevels)
        return {};
    const double top = topBps / kBitsPerMegabit;
    const double step = top / 10.0;
    // Enough decimals that neighbouring bounds differ: none from 1 Mbit/s.
    const int decimals =
        step >= 1.0 ? 0 : std::min(3, static_cast<int>(std::ceil(-std::log10(step))));
    return QString::fromStdString(
        Format(" %.*f:%.*f", decimals, (9 - row) * step, decimals, (10 - row) * step));
}

} // namespace tarvo
