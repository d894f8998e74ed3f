#pragma once
// Refit of one AP after the user moved it (drag on the map or typed
// coordinates): the propagation model is fitted again at the new position,
// without a new position search, and the AP's matrix and contours are
// rebuilt; a position where the samples do not fall off steeply enough is
// refused and the AP goes back to the last accepted position.

#include "analysis/ApColours.h"
#include "model/Document.h"
#include "model/UiServices.h"

namespace tarvo {

constexpr const char* kRecalculatingText = "Re-Calculating...";
constexpr const char* kInvalidPositionText =
    "This AP position results in wrong progation parameters.";
constexpr const char* kInvalidPositionTitle = "Invalid Position";

enum class RecalculateOutcome {
    Refitted, // model, matrix and contours rebuilt; position accepted
    Kept,     // fewer than MinPointsForEstimate thinned samples: moved, no refit
    Refused,  // slope above -10.0 (or no finite fit): moved back
};

// Runs on the user-interface thread. ap.position already holds the new
// position; doc.lastApPosition the last accepted one (the caller stores it
// when a move starts). Shows "Re-Calculating..." with the bar; a refusal
// shows the "Invalid Position" message (OK/Cancel, both alike) and restores
// only the position. On acceptance stores slope, intercept, sigma, the
// matrix on the AP's existing grid, minValue/maxValue and the contours;
// `valid` is not changed. Runs ComputeViewExtent(0, 0) at the end; the
// caller redraws. Throws std::invalid_argument for a bad index.
RecalculateOutcome RecalculateAp(CTarvoAnalyzerDoc& doc, int apIndex, IUiServices& ui);

} // namespace tarvo
