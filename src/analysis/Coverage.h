#pragma once
// Site-wide coverage, the command ("Plot Graph"): sizing a regular grid
// over AnalysisBox, computing its values (CoverageGrid.h) and tracing the
// contours of the result (CoverageContours.h). The headers of those parts,
// of the grid layout and of the AP model rules come with this one, so that
// a user of coverage includes one header.

#include "analysis/ApModel.h"
#include "analysis/CoverageContours.h"
#include "analysis/CoverageGrid.h"
#include "analysis/Grid.h"
#include "model/Document.h"
#include "model/UiServices.h"

namespace tarvo {

constexpr const char* kBeginCoverageText = "Beginning Data Processing...";
constexpr const char* kCalculatingCoverageText = "Calculating Coverage...";
constexpr const char* kNoValidApText = "Please Select Valid AP!";
constexpr const char* kNoValidApTitle = "No Valid AP";
constexpr const char* kInvalidApTitle = "Invalid AP";
constexpr const char* kEmptyAreaText =
    "The analysed area has no extent; coverage cannot be computed.";
constexpr const char* kEmptyAreaTitle = "Invalid Area";

// Result of the grid sizing. Lengths in metres; the display fields are in
// the unit shown to the user ("Ft" or "m").
struct CCoverageGridSize {
    bool usable = false; // false: the analysis box has no extent at all
    int rows = 0;        // grid points along X
    int cols = 0;        // grid points along Y
    double resolution = 0.0;
    double low = 0.0, high = 0.0; // range of the resolution control
    double displayLow = 0.0, displayHigh = 0.0, displayValue = 0.0;
    const char* unit = "m";
};

// Sizes the grid over doc.AnalysisBox and stores Resolution, CoverageRows
// and CoverageCols. fine = longer extent / 200, coarse = shorter / 20; when
// fine < coarse the resolution is clamped into [fine, coarse], otherwise it
// becomes coarse (range coarse .. 2 coarse). Counts are extent / resolution,
// truncated. Edges: an axis of zero extent gets one grid point and the
// other axis alone sizes the grid (range extent/200 .. extent/20); the
// resolution is raised where needed so no axis exceeds
// kMaxGridPointsPerAxis; an axis with extent gets at least one point; a
// non-finite resolution counts as the top of the range. A box with no
// extent on either axis is not usable: counts become 0, Resolution stays.
CCoverageGridSize SizeCoverageGrid(CTarvoAnalyzerDoc& doc);

// Index of grid point (X index i, Y index j) in the three matrices.
inline int CoverageIndex(const CTarvoAnalyzerDoc& doc, int i, int j) {
    return i * doc.CoverageCols + j;
}

enum class CoverageOutcome {
    Computed,  // matrices, contours and scale stored, coveragePresent set
    NoValidAp, // no selected AP with enough samples: refused
    EmptyArea, // the analysis box has no extent: refused
    Cancelled, // the user cancelled: previous matrices kept, flag cleared
};

// The coverage command ("Plot Graph"), run synchronously on the calling
// thread (the GUI runs it through CDocumentWorker; it does not touch
// doc.busy). Messages and the Yes/No question go through ui; progress and
// cancel through ui.Progress(), polled after each AP of each grid point.
// The grid is computed on `threads` threads (0: every core) with results
// identical to the sequential order. On success sets coveragePresent, the matrices, the
// strength scale ends, the contours and coverageDisplayType = strength
// bands; the caller refreshes the AP tree (APs may have been deselected)
// and the views. Every failure clears coveragePresent and leaves the
// matrices and contours as they were.
CoverageOutcome ProcessCoverage(CTarvoAnalyzerDoc& doc, IUiServices& ui, unsigned threads = 0);

// The site-wide matrices, scale ends and contours computed again on the
// present grid (AnalysisBox, CoverageRows x CoverageCols) for the selected
// APs, without the checks, questions and grid sizing of ProcessCoverage:
// for a study whose AP predictions changed. Only when coveragePresent is
// set; returns whether coverage is present afterwards (a cancel, through
// `progress`, or an unusable grid clears it). Display type and zoom stay.
bool RecomputeCoverage(CTarvoAnalyzerDoc& doc, IProgress& progress, unsigned threads = 0);

} // namespace tarvo
