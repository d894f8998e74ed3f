#pragma once
// The joint position estimator: the AP position, slope and intercept fitted
// together by least squares on the RSSI residuals,
//     RSSI = intercept + slope * log10(d),  d = sqrt(planar distance^2 + (1.5 m)^2)
// (the AP 1.5 m above the receiver),
// with the slope held to what indoor and outdoor propagation allows (path-
// loss exponents 1.5 .. 5, slopes -15 .. -50 dB per decade).
//
// The search region is a square around the power-weighted centroid of the
// samples within 6 dB of the strongest, with a half-width of a quarter of
// the longer side of the sample box, held to 8 .. 30 m, so that it neither
// collapses on a thin box (a corridor) nor spans a whole campus. A 21 x 21
// grid is refined by a pattern search; a second search from there uses
// Huber weights from the first fit's residuals (walls and reflections give
// heavy-tailed residuals). No-signal samples count only where the fit
// predicts a level above the weakest one heard; a weak prior (3 m) keeps a
// poorly determined fit (all samples on a line, flat slopes) near the
// strongest samples. Deterministic; about as costly as the study method.

#include "model/SurveyRecords.h"

#include <span>

namespace tarvo {

// Position (site metres) and the line fitted there. ok is false when the
// samples cannot place the AP: fewer than three heard samples, or every
// candidate degenerate (it lies on a sample).
struct CPositionEstimate {
    bool ok = false;
    double y = 0.0, x = 0.0;
    double slope = 0.0, intercept = 0.0;
};

// thinned: the AP's thinned samples (site metres, RSSI dBm); those at the
// no-signal level (kNoSignalDbm or below) mark places where it was not heard.
// extentY/extentX: the size of the AP's sample box, metres.
// The position returned never coincides with a sample.
CPositionEstimate FitPositionJointly(std::span<const CData> thinned, double extentY,
                                     double extentX);

} // namespace tarvo
