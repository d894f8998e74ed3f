#include "analysis/Recalculation.h"

#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "analysis/Numerics.h"

#include <cmath>
#include <vector>

namespace tarvo {

namespace {

constexpr double kValidSlopeDbm = -10.0;

// Grid coordinate k of count points over [min, min + extent], as the AP's
// matrix was laid out: min + k * (extent / (count - 1)); the midpoint for a
// single point.
double AxisPoint(double min, double extent, int count, int k) {
    if (count <= 1)
        return min + extent / 2;
    const double step = extent / (count - 1);
    return min + k * step;
}

bool GridIsSane(int rows, int columns) {
    return rows >= 1 && columns >= 1 && rows <= kMaxCoveragePointsPerAxis &&
           columns <= kMaxCoveragePointsPerAxis;
}

void Finish(CTarvoAnalyzerDoc& doc, IProgress& progress) {
    progress.SetPosition(100);
    progress.Hide();
    ComputeViewExtent(doc, 0, 0);
}

} // namespace

ColourRef ApContourColour(const CTarvoAnalyzerDoc& doc, int apIndex) {
    const CAPInfo& ap = doc.aps[apIndex];
    if (doc.coverageMode == 2)
        return doc.commonColour;
    if (doc.coverageMode != 1)
        return ap.colour;
    ColourRef colour = 0;
    for (const CGroupInfo& group : doc.activeGroups.groups)
        for (const CGroupItem& item : group.items)
            if (item.bssid == ap.bssid) {
                colour = group.colour;
                break;
            }
    return colour;
}

RecalculateOutcome RecalculateAp(CTarvoAnalyzerDoc& doc, int apIndex, IUiServices& ui) {
    CAPInfo& ap = doc.aps[apIndex];
    IProgress& progress = ui.Progress();
    progress.SetPosition(0);
    progress.ClearCancelled();
    progress.Show();
    progress.SetText(kRecalculatingText);

    const int n = ap.filteredSamples.GetSize();
    if (n < doc.MinPointsForEstimate) {
        Finish(doc, progress);
        return RecalculateOutcome::Kept;
    }

    const double apY = ap.position[0], apX = ap.position[1];
    std::vector<double> rssi, logDistance, squared;
    rssi.reserve(static_cast<std::size_t>(n));
    for (const CData& s : ap.filteredSamples) {
        const double dx = s.x - apX, dy = s.y - apY;
        squared.push_back(dx * dx + dy * dy);
        logDistance.push_back(std::log10(std::sqrt(dx * dx + dy * dy)));
        rssi.push_back(s.rssi);
    }
    const double meanRssi = Mean(rssi);
    const double slope = LeastSquaresSlope(rssi, logDistance);
    const double intercept = meanRssi - slope * Mean(logDistance);

    // A position on a sample (distance 0) or with all samples equally far
    // gives no finite fit; it is refused like a rising one.
    if (!(slope <= kValidSlopeDbm) || !std::isfinite(slope) || !std::isfinite(intercept)) {
        ui.MessageBox(kInvalidPositionText, kInvalidPositionTitle, MsgIcon::Error,
                      MsgButtons::OkCancel);
        ap.position = doc.lastApPosition;
        progress.Hide();
        ComputeViewExtent(doc, 0, 0);
        return RecalculateOutcome::Refused;
    }

    std::vector<double> residuals;
    residuals.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        residuals.push_back(rssi[at] - slope * 0.5 * std::log10(squared[at]) - intercept);
    }
    progress.SetPosition(10);
    doc.lastApPosition = ap.position;
    const double sigma = SampleStdDev(residuals);

    progress.SetPosition(20);
    double minValue = meanRssi, maxValue = meanRssi;
    const int rows = ap.rows, columns = ap.columns;
    if (GridIsSane(rows, columns)) {
        const double minY = ap.origin[0], minX = ap.origin[1];
        const double extentY = ap.extent[0], extentX = ap.extent[1];
        std::vector<double> matrix(static_cast<std::size_t>(rows) *
                                   static_cast<std::size_t>(columns));
        std::vector<double> distances(static_cast<std::size_t>(n));
        for (int r = 0; r < rows; ++r) {
            progress.SetPosition(
                20 + (rows > 1 ? static_cast<int>(std::lround(r * 60.0 / (rows - 1))) : 0));
            const double gx = AxisPoint(minX, extentX, rows, r);
            for (int c = 0; c < columns; ++c) {
                const double gy = AxisPoint(minY, extentY, columns, c);
                for (int i = 0; i < n; ++i) {
                    const CData& s = ap.filteredSamples[i];
                    const double dx = s.x - gx, dy = s.y - gy;
                    distances[static_cast<std::size_t>(i)] = std::sqrt(dx * dx + dy * dy);
                }
                double value = InterpolateNearest3(distances, rssi);
                if (slope < kValidSlopeDbm) {
                    const double dx = gx - apX, dy = gy - apY;
                    const double model =
                        slope * std::log10(std::sqrt(dx * dx + dy * dy)) + intercept;
                    // On the AP itself the model has no value (log of 0).
                    if (std::isfinite(model))
                        value = 0.6 * model + 0.4 * value;
                }
                matrix[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) +
                       static_cast<std::size_t>(c)] = value;
                if (value < minValue)
                    minValue = value;
                if (value > maxValue)
                    maxValue = value;
            }
        }
        ap.matrix.Vector() = std::move(matrix);
    }

    ap.slope = slope;
    ap.intercept = intercept;
    ap.sigma = sigma;
    ap.maxValue = maxValue;
    ap.minValue = minValue;
    ComputeApContours(doc, apIndex, ApContourColour(doc, apIndex));
    Finish(doc, progress);
    return RecalculateOutcome::Refitted;
}

} // namespace tarvo
