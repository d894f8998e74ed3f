#pragma once
// Collection loading ("Process Files"): reads the selected survey files,
// refuses a mix of GPS and linear data, builds the per-AP sample sets,
// estimates every AP and sets the analysis box, view window and resolution.

#include "model/Document.h"
#include "model/UiServices.h"

namespace tarvo {

constexpr const char* kLoadingCollectionText = "Loading Collection Data ...";
constexpr const char* kMixedDataText =
    "Some SSD files are collected with GPS projection and some are collected with linear "
    "projection. These two type of data can not be used together.";
constexpr const char* kMixedDataTitle = "Reselect Files";
// The coverage opacity a freshly loaded collection is drawn with.
constexpr int kLoadedCoverageOpacity = 192;

enum class LoadOutcome {
    Loaded,    // the collection was analysed
    NotLoaded, // no file was read, or the data do not fit the loaded map
    MixedData, // GPS and linear files together: refused
};

// Coverage resolution range over a box (metres): fine = max(extentX,
// extentY) / 200, coarse = min(extentX, extentY) / 20. When coarse <= fine
// the range is coarse .. 2 * coarse and the value coarse; otherwise the
// range is fine .. coarse and the value is clamped into it. `usable` is
// false (and nothing should change) unless fine and coarse are positive.
struct CResolutionRange {
    bool usable = false;
    double low = 0.0;
    double high = 0.0;
    double value = 0.0;
};
CResolutionRange ResolutionRangeFor(const CBox& box, double resolution);

// Runs the whole command synchronously on the calling thread (the GUI runs
// it through CDocumentWorker), estimating the APs on up to `threads`
// threads (0: every core; the result does not depend on the number). Shows
// its messages through ui and drives ui.Progress(). The progress's Cancel is
// looked at between APs: a cancel throws CCancelException and leaves doc
// part-way, so a caller that must keep its study loads into a copy made by
// StudyForLoading. Sets doc.processed, clears
// doc.coveragePresent, sets doc.Resolution from the new AnalysisBox, the
// coverage opacity to kLoadedCoverageOpacity and rebuilds the AP groups.
// When the command ends early (no file read, a file that does not fit the
// map, or mixed data) the document's points, flags and AP array are left
// as they were before the command; only failed files are deselected.
// Does not touch doc.busy: the caller owns it.
LoadOutcome LoadCollection(CTarvoAnalyzerDoc& doc, IUiServices& ui, unsigned threads = 0);

// A copy of the study for LoadCollection to work on while the study itself
// stays whole: everything but the location and AP arrays, which a load
// builds anew (they are moved out of doc for the copy and back).
CTarvoAnalyzerDoc StudyForLoading(CTarvoAnalyzerDoc& doc);

} // namespace tarvo
