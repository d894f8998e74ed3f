#pragma once
// Reliability of coverage at the power threshold: for each AP with a valid
// propagation model, the distances at which receiving at least PowerLow is
// 10 % ... 90 % likely under a normal spread of sigma around the fitted line.

#include "model/Document.h"
#include "model/UiServices.h"

namespace tarvo {

// Inverse error function by a running sum of exp(-t*t) over 10000 steps
// t[i] = i * 5.0 / 9999.0 (sums accumulated in index order), with pi taken
// as 3.1416. Returns the midpoint of the step where the sum passes
// |v| * sqrt(3.1416) / 0.001, signed like v (v = 0 counts as negative, which
// gives 0.0). Returns 0.0 when the target lies beyond the last step
// (|v| very close to 1 or above) or before the first (v = 0).
double InverseErf(double v);

// Sets ap.levels[k], k = 0..8, to 10 ^ ((powerLowDbm - z * sigma - intercept)
// / slope) with z = InverseErf(1 - 2p) * 1.414 and p = k / 10 + 0.1. Meant
// for APs with a usable model (HasUsableModel); does not check it.
void ComputeReliabilityRadii(CAPInfo& ap, int powerLowDbm);

// The reliability display's command: recomputes the radii of every selected
// AP with a usable model (HasUsableModel). The other selected APs are
// listed in one "Invalid AP" message; when no AP qualifies, "No Valid AP"
// follows. Returns the number of APs whose radii were computed.
int RunReliabilityAnalysis(CTarvoAnalyzerDoc& doc, IUiServices& ui);

} // namespace tarvo
