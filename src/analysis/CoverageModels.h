#pragma once
// The two coverage models behind one call: an AP's matrix by the model the
// study chose, and the switch of a processed study from one model to the
// other.

#include "analysis/ApModel.h"
#include "model/Document.h"
#include "model/UiServices.h"

#include <functional>
#include <span>

namespace tarvo {

// The matrix of `ap` on its grid by `model`: the study model mixes the fit
// (slope, intercept) at ap.position into the nearest-three interpolation
// (PredictApMatrix); the survey model predicts from the AP's samples and
// the survey locations `points`, with a trend around ap.position when
// positionKnown (SurveyModel.h), and ignores the fit. rowDone(r) is called
// after X row r. Needs the grid and thinned samples PredictApMatrix needs.
CApMatrix PredictModelMatrix(const CAPInfo& ap, CoverageModelKind model,
                             std::span<const CDataPoint> points, double slope, double intercept,
                             bool positionKnown, const std::function<void(int row)>& rowDone = {});

// Makes `model` the study's coverage model (doc.coverageModel and the study
// record). When it differs from the one that made the AP matrices, every
// AP with enough thinned samples gets its matrix (and minValue/maxValue)
// again from the new model, with its stored fit for the study model and
// its position taken as estimated when it has MinPointsForEstimate thinned
// samples; APs
// whose contours were traced get them traced again in the same colours;
// site-wide coverage, when present, is computed again on its grid
// (RecomputeCoverage; a cancel through `progress` clears it). Work runs on
// `threads` threads (0: every core) with the same result whatever the
// number. Returns true when the model changed.
bool UseCoverageModel(CTarvoAnalyzerDoc& doc, CoverageModelKind model, IProgress& progress,
                      unsigned threads = 0);

} // namespace tarvo
