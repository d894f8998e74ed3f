#pragma once
// Estimation of one AP: its sample box, position (from a 31 x 31 grid of
// candidates around the strongest sample), log-distance propagation model
// RSSI = intercept + slope * log10(distance in m), residual spread, and the
// predicted RSSI over its sample box (the AP matrix).

#include "analysis/Grid.h"
#include "model/Document.h"
#include "model/UiServices.h"

#include <cstdint>
#include <optional>
#include <span>

namespace tarvo {

constexpr int kCandidatesPerAxis = 31;
constexpr int kCandidateCount = kCandidatesPerAxis * kCandidatesPerAxis;
constexpr int kShortSideGridPoints = 20;
// Samples above this level form the fitting set once there are 200 of them.
constexpr double kStrongSampleDbm = -65.0;
constexpr int kStrongSampleThreshold = 200;

// Half-width cap of the position search, metres, for the strongest RSSI
// (dBm): above -30 -> 3, above -40 -> 6, above -50 -> 9, above -60 -> 12;
// -60 or weaker: no cap (+infinity).
double SearchHalfWidthCap(double strongestDbm);

// What the estimation of an AP reads besides the AP record itself. Fixed
// for a whole collection load, so that APs can be estimated at once.
struct CEstimationInputs {
    std::span<const CDataPoint> points; // every measurement point (no-signal samples)
    int minPointsForEstimate = 20;
    EstimatorKind estimator = EstimatorKind::Study;             // what places the AP
    CoverageModelKind coverageModel = CoverageModelKind::Study; // what makes its matrix
    std::int64_t studySamples = 0; // samples of all APs: the matrices' shared budget
};
CEstimationInputs EstimationInputsOf(const CTarvoAnalyzerDoc& doc);

// What an AP's estimation leaves for the document besides the AP record:
// the spacing of its grid (the shorter side of its sample box / 20) when
// the box has extent along both axes. The document's Resolution takes it.
struct CApEstimate {
    std::optional<double> resolution; // metres
};

// Estimates one AP in place (no message is ever shown): sample box,
// no-signal samples and thinning, grid counts (the shorter side 20 points,
// the longer side held by LimitApGridToSamples), position search when at
// least minPointsForEstimate thinned samples exist (the study method, or
// the joint fit when inputs.estimator chooses it: either way the slope,
// intercept and sigma are fitted at the chosen position the same way; or
// the robust estimator, RobustPosition.h, which fits its own Huber line
// there and sets ap.uncertaintyM, left 0 by the others), and the matrix
// from 3 thinned samples on. An AP without samples is left untouched.
// A candidate whose error is not finite (it lies on a sample, or its
// distances are all equal) is never chosen; when no candidate has a finite
// error the AP takes its strongest sample's position and no model. Other
// non-finite intermediates never reach slope, intercept, sigma, the matrix
// or its extremes.
// Reads only `inputs` and writes only `ap`: distinct APs may be estimated
// on several threads.
CApEstimate EstimateAp(const CEstimationInputs& inputs, CAPInfo& ap);

// Estimates every AP of doc on up to `threads` threads (0: every core),
// with results identical to estimating them one after another in index
// order: doc.Resolution ends as the last AP that sets it leaves it. As the
// APs are done, in index order, "Process %d out of %d APs...." is shown on
// `progress` for each AP with samples and the bar moves through 1..99
// (the calls are serialised, from the estimating threads). Every thread
// looks at the progress's cancelled flag before each AP it takes: once it
// is set no further AP is started, and CCancelException is thrown when the
// APs under way have ended (the APs are then part-way: some estimated,
// some not).
void EstimateAps(CTarvoAnalyzerDoc& doc, IProgress& progress, unsigned threads = 0);

} // namespace tarvo
