#pragma once
// The values of the site-wide coverage grid: at each point of a regular
// grid over the analysis box, the prediction of every selected AP whose
// sample box holds the point gives the strongest RSSI, the largest margin
// over the samples' level2 values and the number of APs at or above
// PowerLow.

#include "model/Document.h"
#include "model/UiServices.h"

#include <vector>

namespace tarvo {

struct CCoverageGridValues {
    std::vector<double> strength, margin, apCount; // CoverageRows x CoverageCols
    double scaleLow = 0.0, scaleHigh = 0.0;        // before the -100 / -30 limits
};

// Computes the grid values for the current AnalysisBox and grid counts over
// the selected APs with enough thinned samples (HasCoverageSamples). At
// each point and AP: v and w, the interpolations of the three nearest
// thinned samples' RSSI and level2 values; v mixed with the AP's model when
// `valid` is set (MixWithModel), or, under the survey coverage model, v read
// from the AP's matrix (MatrixLevelAtOffset); strength = the largest v, margin = the
// largest v - w, apCount = (count + 0.01) - the APs with v below PowerLow.
// A point no AP's box holds keeps -100, -100 and 0.01. The scale ends run
// over the covered points in grid order with strict comparisons, starting
// from the first thinned RSSI of the last AP used. Rows run on `threads`
// threads (0: every core) with results identical to the sequential order.
// Progress moves to i * 65 / (rows - 1) + 5 as X row i starts; cancel is
// polled after each AP of each point and ends it with CCancelException.
CCoverageGridValues ComputeCoverageGrid(const CTarvoAnalyzerDoc& doc, IProgress& progress,
                                        unsigned threads = 0);

} // namespace tarvo
