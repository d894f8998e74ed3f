#pragma once
// What the survey views show at each point of the site-wide coverage grid,
// taken from the selected APs' own predicted matrices (whatever model made
// them): which AP is strongest, the second-strongest level, and how many
// other APs on the strongest AP's channel are heard at or above a level.

#include "model/Document.h"

#include <optional>
#include <vector>

namespace tarvo {

// Per grid point of the coverage grid (CoverageRows x CoverageCols, the
// element of X index i and Y index j at i * cols + j).
struct CSiteApLevels {
    int rows = 0;
    int cols = 0;
    // Index of the strongest AP (the first in array order on a tie); -1
    // where no AP's sample box holds the point.
    std::vector<int> strongestAp;
    // The second-strongest level, dBm, never above the StrengthMatrix value
    // of the point (the two views must agree where the AP matrices, sampled
    // between their own grid points, differ slightly from the site-wide
    // prediction); kNoSignalDbm where fewer than two APs are heard.
    std::vector<double> secondary;
    // Other APs on the strongest AP's channel at or above the co-channel
    // level; -1 where no AP is heard.
    std::vector<int> coChannel;

    bool IsEmpty() const { return strongestAp.empty(); }
};

// The value of ap's own matrix at site (y, x), metres: bilinear between the
// points of its grid (ap.rows along X, ap.columns along Y over its sample
// box, laid out as for PredictApMatrix). Nothing outside the sample box
// (edges inside), for a matrix that does not match the grid, or where the
// value is not finite.
std::optional<double> ApMatrixValueAt(const CAPInfo& ap, double y, double x);

// The levels over the coverage grid from the selected APs with enough
// thinned samples (HasCoverageSamples), rows on `threads` threads (0: every
// core; the result does not depend on the number). Empty when no coverage
// is present or the StrengthMatrix does not match the grid.
CSiteApLevels ComputeSiteApLevels(const CTarvoAnalyzerDoc& doc, double coChannelLevelDbm,
                                  unsigned threads = 0);

} // namespace tarvo
