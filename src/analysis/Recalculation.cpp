#include "analysis/Recalculation.h"

#include "analysis/ApModel.h"
#include "analysis/Coordinates.h"
#include "analysis/CoverageContours.h"
#include "analysis/CoverageModels.h"
#include "analysis/Grid.h"
#include "analysis/Numerics.h"

#include <cmath>
#include <utility>
#include <vector>

namespace tarvo {

namespace {

void Finish(CTarvoAnalyzerDoc& doc, IProgress& progress) {
    progress.SetPosition(100);
    progress.Hide();
    ComputeViewExtent(doc, 0, 0);
}

} // namespace

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
    if (!IsAcceptedFit(slope, intercept)) {
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
    const int rows = ap.rows;
    if (GridCountsAreSane(rows, ap.columns)) {
        // The bar stands at 20 + r * 60 / (rows - 1) as X row r starts.
        const auto rowStarts = [&](int r) {
            progress.SetPosition(
                20 + (rows > 1 ? static_cast<int>(std::lround(r * 60.0 / (rows - 1))) : 0));
        };
        rowStarts(0);
        CApMatrix matrix = PredictModelMatrix(ap, doc.coverageModel, doc.points.Vector(), slope,
                                              intercept, true, [&](int r) {
                                                  if (r + 1 < rows)
                                                      rowStarts(r + 1);
                                              });
        ap.matrix.Vector() = std::move(matrix.values);
        minValue = matrix.minValue;
        maxValue = matrix.maxValue;
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
