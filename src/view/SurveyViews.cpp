#include "view/SurveyViews.h"

#include "analysis/ApColours.h"
#include "analysis/Contours.h"
#include "analysis/Grid.h"
#include "model/CoverageViews.h"
#include "model/Text.h"
#include "view/LayerContext.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace tarvo {

namespace {

constexpr std::array<int, kCoChannelBands> kCoChannelPalette = {9, 8, 5, 3, 1, 0};

// One traced band: its polygons and its boundary segments, filled and drawn
// in one colour, as the strength bands are.
void DrawTracedBand(QPainter& painter, const CLayerContext& ctx, std::span<const double> matrix,
                    int rows, int cols, const std::vector<double>& x, const std::vector<double>& y,
                    double level, const QColor& colour) {
    CArray<CDataArea> areas;
    CArray<CDataLine> lines;
    TraceContourBands(matrix, rows, cols, x, y, level, areas);
    TraceContourLines(matrix, rows, cols, x, y, level, lines);
    painter.setPen(QPen(colour, 1));
    painter.setBrush(colour);
    for (const CDataArea& a : areas) {
        QPolygon polygon;
        for (int v = 0; v < std::clamp(a.vertexCount, 0, 4); ++v)
            polygon << ctx.Pixel(a.x[static_cast<std::size_t>(v)],
                                 a.y[static_cast<std::size_t>(v)]);
        if (polygon.size() >= 3)
            painter.drawPolygon(polygon);
    }
    for (const CDataLine& l : lines)
        painter.drawLine(ctx.Pixel(l.v[0], l.v[2]), ctx.Pixel(l.v[1], l.v[3]));
}

struct CGrid {
    int rows = 0, cols = 0;
    std::vector<double> x, y;
};

CGrid CoverageGridOf(const CTarvoAnalyzerDoc& doc) {
    const CBox& box = doc.AnalysisBox;
    return {doc.CoverageRows, doc.CoverageCols, GridAxis(box.minX, box.extentX, doc.CoverageRows),
            GridAxis(box.minY, box.extentY, doc.CoverageCols)};
}

double StrengthLevel(const CTarvoAnalyzerDoc& doc, int k) {
    return doc.PowerLow +
           k * (static_cast<double>(doc.PowerHigh) - static_cast<double>(doc.PowerLow)) / 10;
}

// Ten bands of a matrix, band k at or above levelOf(k), in palette colour
// 9 - k (the weakest blue, the strongest red by default).
template <typename LevelOf>
void DrawTenBands(QPainter& painter, const CLayerContext& ctx, std::span<const double> matrix,
                  const CGrid& grid, LevelOf levelOf) {
    for (int k = 0; k < kCoverageLevels; ++k)
        DrawTracedBand(painter, ctx, matrix, grid.rows, grid.cols, grid.x, grid.y, levelOf(k),
                       ToQColor(ctx.doc.CoveragePalette[static_cast<std::size_t>(9 - k)]));
}

// Half-way between grid coordinates a[i] and its neighbour on side `step`;
// the box edge beyond the first and the last point.
double CellEdge(const std::vector<double>& a, int i, int step) {
    const int n = i + step;
    if (n < 0 || n >= static_cast<int>(a.size()))
        return a[static_cast<std::size_t>(i)];
    return (a[static_cast<std::size_t>(i)] + a[static_cast<std::size_t>(n)]) / 2;
}

// Each grid point's cell filled in its strongest AP's colour; a dark line
// where neighbouring cells have different APs.
void DrawStrongestApCells(QPainter& painter, const CLayerContext& ctx, const CSiteApLevels& levels,
                          const CGrid& grid) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    const auto apAt = [&](int i, int j) {
        return levels
            .strongestAp[static_cast<std::size_t>(i) * static_cast<std::size_t>(grid.cols) +
                         static_cast<std::size_t>(j)];
    };
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < grid.rows; ++i)
        for (int j = 0; j < grid.cols; ++j) {
            const int ap = apAt(i, j);
            if (ap < 0)
                continue;
            const QPoint a = ctx.Pixel(CellEdge(grid.x, i, -1), CellEdge(grid.y, j, 1));
            const QPoint b = ctx.Pixel(CellEdge(grid.x, i, 1), CellEdge(grid.y, j, -1));
            painter.fillRect(QRect(a, b).normalized().adjusted(0, 0, 1, 1),
                             ToQColor(ApContourColour(doc, ap)));
        }
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    for (int i = 0; i < grid.rows; ++i)
        for (int j = 0; j < grid.cols; ++j) {
            const int ap = apAt(i, j);
            const double low = CellEdge(grid.y, j, -1), high = CellEdge(grid.y, j, 1);
            if (i + 1 < grid.rows && apAt(i + 1, j) != ap) {
                const double x = CellEdge(grid.x, i, 1);
                painter.drawLine(ctx.Pixel(x, low), ctx.Pixel(x, high));
            }
            if (j + 1 < grid.cols && apAt(i, j + 1) != ap) {
                const double y = CellEdge(grid.y, j, 1);
                painter.drawLine(ctx.Pixel(CellEdge(grid.x, i, -1), y),
                                 ctx.Pixel(CellEdge(grid.x, i, 1), y));
            }
        }
}

QString Qs(const std::string& text) {
    return QString::fromStdString(text);
}

// The name of the last group holding the AP (as its colour is found), or
// an empty text.
std::string GroupNameOf(const CTarvoAnalyzerDoc& doc, int apIndex) {
    std::string name;
    for (const CGroupInfo& group : doc.activeGroups.groups)
        for (const CGroupItem& item : group.items)
            if (item.bssid == doc.aps[apIndex].bssid) {
                name = group.name;
                break;
            }
    return name;
}

std::vector<CLegendRow> StrongestApRows(const CTarvoAnalyzerDoc& doc, const CSiteApLevels& levels,
                                        int maxEntries) {
    std::set<int> winners;
    for (int ap : levels.strongestAp)
        if (ap >= 0 && ap < doc.aps.GetSize())
            winners.insert(ap);
    std::vector<CLegendRow> rows;
    if (winners.empty())
        return rows;
    if (doc.coverageMode == 2)
        return {{doc.commonColour, QStringLiteral(" All selected APs"), true}};
    std::vector<std::string> seen;
    int more = 0;
    for (int ap : winners) {
        std::string label = MacText(doc.aps[ap].bssid);
        if (doc.coverageMode == 1) {
            label = GroupNameOf(doc, ap);
            if (std::find(seen.begin(), seen.end(), label) != seen.end())
                continue;
            seen.push_back(label);
        }
        if (static_cast<int>(rows.size()) >= maxEntries) {
            ++more;
            continue;
        }
        rows.push_back({ApContourColour(doc, ap), Qs(" " + label), true});
    }
    if (more > 0)
        rows.push_back({0, Qs(Format(" ... %d more", more)), false});
    return rows;
}

} // namespace

int CoChannelPaletteIndex(int band) {
    return kCoChannelPalette[static_cast<std::size_t>(std::clamp(band, 0, kCoChannelBands - 1))];
}

void DrawSurveyView(const CLayerContext& ctx, int displayType, const CSiteApLevels& levels,
                    QImage& canvas) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    if (!doc.coveragePresent || !GridCountsAreSane(doc.CoverageRows, doc.CoverageCols))
        return;
    const CGrid grid = CoverageGridOf(doc);
    QPainter painter(&canvas);
    switch (displayType) {
    case kDisplaySnrMargin:
        if (MatchesGrid(doc.MarginMatrix.size(), grid.rows, grid.cols))
            DrawTenBands(painter, ctx, doc.MarginMatrix.Vector(), grid,
                         [](int k) { return k * kSnrBandDb; });
        break;
    case kDisplaySecondary:
        if (MatchesGrid(levels.secondary.size(), grid.rows, grid.cols))
            DrawTenBands(painter, ctx, levels.secondary, grid,
                         [&](int k) { return StrengthLevel(doc, k); });
        break;
    case kDisplayCoChannel:
        if (MatchesGrid(levels.coChannel.size(), grid.rows, grid.cols)) {
            // -1 (no AP) lies below the first band's level, so only places
            // with an AP are drawn.
            const std::vector<double> counts(levels.coChannel.begin(), levels.coChannel.end());
            for (int b = 0; b < kCoChannelBands; ++b)
                DrawTracedBand(
                    painter, ctx, counts, grid.rows, grid.cols, grid.x, grid.y, b - 0.5,
                    ToQColor(
                        doc.CoveragePalette[static_cast<std::size_t>(CoChannelPaletteIndex(b))]));
        }
        break;
    case kDisplayStrongestAp:
        if (MatchesGrid(levels.strongestAp.size(), grid.rows, grid.cols))
            DrawStrongestApCells(painter, ctx, levels, grid);
        break;
    default:
        break;
    }
}

CSiteApLevels SiteLevelsFor(const CTarvoAnalyzerDoc& doc, int displayType) {
    if (!IsSurveyView(displayType) || displayType == kDisplaySnrMargin)
        return {};
    return ComputeSiteApLevels(doc, doc.coChannelLevelDbm);
}

void DrawSurveyView(const CLayerContext& ctx, int displayType, QImage& canvas) {
    DrawSurveyView(ctx, displayType, SiteLevelsFor(ctx.doc, displayType), canvas);
}

CSurveyLegend SurveyViewLegend(const CTarvoAnalyzerDoc& doc, int displayType,
                               const CSiteApLevels& levels, int maxEntries) {
    CSurveyLegend legend;
    const auto tenRows = [&](double lo, double step) {
        for (int i = 0; i < kCoverageLevels; ++i)
            legend.rows.push_back(
                {doc.CoveragePalette[static_cast<std::size_t>(i)],
                 Qs(Format(" %2.0f:%2.0f", lo + (9 - i) * step, lo + (10 - i) * step)), true});
    };
    switch (displayType) {
    case kDisplaySnrMargin:
        legend.title = QStringLiteral("SNR: dB");
        tenRows(0.0, kSnrBandDb);
        break;
    case kDisplaySecondary:
        legend.title = QStringLiteral("2nd AP: dBm");
        tenRows(doc.PowerLow, (static_cast<double>(doc.PowerHigh) - doc.PowerLow) / 10.0);
        break;
    case kDisplayCoChannel:
        legend.title = QStringLiteral("Co-channel APs:");
        for (int b = kCoChannelBands - 1; b >= 0; --b)
            legend.rows.push_back(
                {doc.CoveragePalette[static_cast<std::size_t>(CoChannelPaletteIndex(b))],
                 b == kCoChannelBands - 1 ? Qs(Format(" >= %d", b)) : Qs(Format(" %d", b)), true});
        break;
    case kDisplayStrongestAp:
        legend.title = QStringLiteral("Strongest AP:");
        legend.rows = StrongestApRows(doc, levels, maxEntries);
        break;
    default:
        break;
    }
    return legend;
}

QString SurveyViewCaption(const CTarvoAnalyzerDoc& doc, int displayType) {
    switch (displayType) {
    case kDisplaySnrMargin:
        return QStringLiteral("The strongest signal over the noise floor (the samples' second "
                              "level), dB, in bands of 5 dB.");
    case kDisplaySecondary:
        return QStringLiteral("The second-strongest AP's RSSI (dBm) at a location: where a "
                              "client can roam to.");
    case kDisplayCoChannel:
        return Qs(Format("Other selected APs on the strongest AP's channel heard at or above %d "
                         "dBm at a location.",
                         doc.coChannelLevelDbm));
    case kDisplayStrongestAp:
        return QStringLiteral("The AP with the strongest signal at a location, in its colour.");
    default:
        return {};
    }
}

QString SurveyViewTitle(int displayType) {
    switch (displayType) {
    case kDisplaySnrMargin:
        return QStringLiteral("Signal-to-Noise Margin");
    case kDisplaySecondary:
        return QStringLiteral("Secondary Coverage");
    case kDisplayCoChannel:
        return QStringLiteral("Co-channel Overlap");
    case kDisplayStrongestAp:
        return QStringLiteral("Strongest AP");
    default:
        return {};
    }
}

} // namespace tarvo
