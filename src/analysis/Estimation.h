#pragma once
// Estimation of one AP: its sample box, position (from a 31 x 31 grid of
// candidates around the strongest sample), log-distance propagation model
// RSSI = intercept + slope * log10(distance in m), residual spread, and the
// predicted RSSI over its sample box (the AP matrix).

#include "model/Document.h"
#include "model/UiServices.h"

namespace tarvo {

constexpr int kCandidatesPerAxis = 31;
constexpr int kCandidateCount = kCandidatesPerAxis * kCandidatesPerAxis;
constexpr int kShortSideGridPoints = 20;
// A very thin sample box would ask for an unbounded number of grid points
// along its long side; each axis of the AP matrix is held to this many.
constexpr int kMaxGridPointsPerAxis = 2000;
// Samples above this level form the fitting set once there are 200 of them.
constexpr double kStrongSampleDbm = -65.0;
constexpr int kStrongSampleThreshold = 200;
// A fitted slope of this or steeper gives a usable model.
constexpr double kValidSlope = -10.0;

// Half-width cap of the position search, metres, for the strongest RSSI
// (dBm): above -30 -> 3, above -40 -> 6, above -50 -> 9, above -60 -> 12;
// -60 or weaker: no cap (+infinity).
double SearchHalfWidthCap(double strongestDbm);

// Estimates AP apIndex of doc in place (no message is ever shown):
// sample box, no-signal samples and thinning, grid counts (the shorter side
// 20 points, the longer side capped at kMaxGridPointsPerAxis; overwrites
// doc.Resolution), position search when at least MinPointsForEstimate
// thinned samples exist (the study method, or the joint fit when
// doc.estimator chooses it; either way the slope, intercept and sigma are
// fitted at the chosen position the same way), and the matrix from 3
// thinned samples on. Shows
// "Process %d out of %d APs...." and advances the bar within this AP's
// share of 1..99. An AP without samples is left untouched.
// Non-finite intermediates (a candidate on a sample, all distances equal)
// follow strict comparisons and never reach position, slope, intercept,
// sigma, the matrix or its extremes.
void EstimateAp(CTarvoAnalyzerDoc& doc, int apIndex, IUiServices& ui);

} // namespace tarvo
