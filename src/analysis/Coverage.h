#pragma once
// Site-wide coverage: a regular grid over AnalysisBox; at each grid point
// the prediction of every selected AP whose sample box holds the point gives
// the strongest RSSI, the largest margin over the samples' level2 values and
// the number of APs at or above PowerLow. Contours and bands of the strength
// and AP-count matrices, and of one AP's own matrix, are traced for drawing.

#include "model/Document.h"
#include "model/UiServices.h"

#include <array>
#include <span>
#include <vector>

namespace tarvo {

constexpr const char* kBeginCoverageText = "Beginning Data Processing...";
constexpr const char* kCalculatingCoverageText = "Calculating Coverage...";
constexpr const char* kNoValidApText = "Please Select Valid AP!";
constexpr const char* kNoValidApTitle = "No Valid AP";
constexpr const char* kInvalidApTitle = "Invalid AP";
constexpr const char* kEmptyAreaText =
    "The analysed area has no extent; coverage cannot be computed.";
constexpr const char* kEmptyAreaTitle = "Invalid Area";

// Predictions use only APs with at least this many thinned samples.
constexpr int kMinCoverageSamples = 3;
// Along either axis the coverage grid has at most this many points, even
// for a long, very narrow analysis box (a straight walk).
constexpr int kMaxCoveragePointsPerAxis = 2000;

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
// kMaxCoveragePointsPerAxis; an axis with extent gets at least one point; a
// non-finite resolution counts as the top of the range. A box with no
// extent on either axis is not usable: counts become 0, Resolution stays.
CCoverageGridSize SizeCoverageGrid(CTarvoAnalyzerDoc& doc);

// Grid coordinates along one axis: min + i * extent / (count - 1) for
// i = 0 .. count-1, or the single midpoint min + extent / 2 when count is 1.
std::vector<double> GridAxis(double min, double extent, int count);

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
// The grid is computed on all cores with results identical to the
// sequential order. On success sets coveragePresent, the matrices, the
// strength scale ends, the contours and coverageDisplayType = strength
// bands; the caller refreshes the AP tree (APs may have been deselected)
// and the views. Every failure clears coveragePresent and leaves the
// matrices and contours as they were.
CoverageOutcome ProcessCoverage(CTarvoAnalyzerDoc& doc, IUiServices& ui);

// Traces the ten strength levels PowerLow + k (PowerHigh - PowerLow) / 10
// and the ten AP-count levels 1.0 + 0.9 k into coverageDrawings[0] and [2]
// with their per-level counts in coverageTables[0..1] and [4..5] (segments,
// then polygons); the margin drawing stays empty. Nothing when
// coveragePresent is clear or the matrices do not match the grid counts.
void ComputeCoverageContours(CTarvoAnalyzerDoc& doc);

// The ten level colours of an AP drawn from base colour `base`: white at
// level 0 fading to `base` at level 5, then darkening to 52 % of it at 9.
std::array<ColourRef, kCoverageLevels> ApLevelColours(ColourRef base);

// Traces AP apIndex's own matrix at the ten strength levels into its lines,
// areas, table1 (segments per level) and table2 (polygons per level), and
// sets table3 to ApLevelColours(base). A matrix that does not match the
// AP's rows x columns gives no contours. Throws std::invalid_argument for a
// bad index.
void ComputeApContours(CTarvoAnalyzerDoc& doc, int apIndex, ColourRef base);

// --- the grid computation itself, exposed for tests and benchmarks ---

struct CCoverageGridValues {
    std::vector<double> strength, margin, apCount; // CoverageRows x CoverageCols
    double scaleLow = 0.0, scaleHigh = 0.0;        // before the -100 / -30 limits
};

enum class CoverageMethod {
    Shipped,        // one scan for the three nearest samples, all cores
    Straightforward // single thread; distance arrays copied and bubbled per AP
};

// Computes the grid values for the current AnalysisBox and grid counts over
// the selected APs with at least kMinCoverageSamples thinned samples.
// threads = 0 uses every core (Shipped only). Throws CCancelException when
// progress reports a cancel.
CCoverageGridValues ComputeCoverageGrid(const CTarvoAnalyzerDoc& doc, IProgress& progress,
                                        CoverageMethod method = CoverageMethod::Shipped,
                                        unsigned threads = 0);

} // namespace tarvo
