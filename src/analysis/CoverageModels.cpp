#include "analysis/CoverageModels.h"

#include "analysis/Coverage.h"
#include "analysis/Grid.h"
#include "analysis/ParallelRows.h"
#include "analysis/Recalculation.h"
#include "analysis/SurveyModel.h"

#include <utility>

namespace tarvo {

CApMatrix PredictModelMatrix(const CAPInfo& ap, CoverageModelKind model,
                             std::span<const CDataPoint> points, double slope, double intercept,
                             bool positionKnown, const std::function<void(int row)>& rowDone) {
    if (model == CoverageModelKind::Survey)
        return PredictSurveyMatrix(ap, positionKnown, points, rowDone);
    return PredictApMatrix(ap, slope, intercept, rowDone);
}

bool UseCoverageModel(CTarvoAnalyzerDoc& doc, CoverageModelKind model, IProgress& progress,
                      unsigned threads) {
    doc.spareText2 = WithCoverageModelRecord(doc.spareText2, model);
    if (doc.coverageModel == model)
        return false;
    doc.coverageModel = model;
    progress.SetText(kRecalculatingText);
    const std::span<const CDataPoint> points = doc.points.Vector();
    RunRowsInParallel(doc.aps.GetSize(), threads, [&]() -> RowWork {
        return [&](int i) {
            CAPInfo& ap = doc.aps[i];
            if (!HasCoverageSamples(ap) || !GridCountsAreSane(ap.rows, ap.columns))
                return;
            const bool positionKnown = ap.filteredSamples.GetSize() >= doc.MinPointsForEstimate;
            CApMatrix matrix =
                PredictModelMatrix(ap, model, points, ap.slope, ap.intercept, positionKnown);
            ap.matrix.Vector() = std::move(matrix.values);
            ap.minValue = matrix.minValue;
            ap.maxValue = matrix.maxValue;
        };
    });
    // Contour tracing shares the document's working arrays: one AP at a time.
    for (int i = 0; i < doc.aps.GetSize(); ++i) {
        const CAPInfo& ap = doc.aps[i];
        if (ap.lines.IsEmpty() && ap.areas.IsEmpty())
            continue;
        // Level 5 of an AP's contours is drawn in its base colour.
        ComputeApContours(doc, i, static_cast<ColourRef>(ap.table3[5]));
    }
    RecomputeCoverage(doc, progress, threads);
    return true;
}

} // namespace tarvo
