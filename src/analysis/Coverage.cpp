#include "analysis/Coverage.h"

#include "analysis/Coordinates.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace tarvo {

namespace {

constexpr double kScaleBottomDbm = -100.0;
constexpr double kScaleTopDbm = -30.0;

// The computed grid values become the document's matrices, scale ends and
// contours.
void StoreCoverage(CTarvoAnalyzerDoc& doc, CCoverageGridValues values, IProgress& progress) {
    doc.strengthScaleLow = values.scaleLow < kScaleBottomDbm ? kScaleBottomDbm : values.scaleLow;
    doc.strengthScaleHigh = values.scaleHigh > kScaleTopDbm ? kScaleTopDbm : values.scaleHigh;
    doc.StrengthMatrix.Vector() = std::move(values.strength);
    doc.MarginMatrix.Vector() = std::move(values.margin);
    doc.ApCountMatrix.Vector() = std::move(values.apCount);
    progress.SetPosition(70);

    doc.coveragePresent = true;
    ComputeCoverageContours(doc);
    progress.SetPosition(90);
}

} // namespace

CCoverageGridSize SizeCoverageGrid(CTarvoAnalyzerDoc& doc) {
    CCoverageGridSize size;
    const auto usableExtent = [](double e) { return std::isfinite(e) ? std::fabs(e) : 0.0; };
    const double ex = usableExtent(doc.AnalysisBox.extentX);
    const double ey = usableExtent(doc.AnalysisBox.extentY);
    const double longer = std::max(ex, ey), shorter = std::min(ex, ey);
    if (!(longer > 0.0)) {
        doc.CoverageRows = 0;
        doc.CoverageCols = 0;
        return size;
    }
    const double wanted = std::isfinite(doc.Resolution) ? doc.Resolution : longer;
    const double fine = longer / 200.0;
    // With one axis empty, the other alone sets the range.
    const double coarse = shorter > 0.0 ? shorter / 20.0 : longer / 20.0;
    if (fine < coarse) {
        size.low = fine;
        size.high = coarse;
        size.resolution = std::clamp(wanted, fine, coarse);
    } else {
        size.low = coarse;
        size.high = 2.0 * coarse;
        size.resolution = coarse;
    }
    // A box more than 100 times longer than wide would otherwise ask for an
    // unbounded number of points along its long side.
    const double floor = longer / kMaxGridPointsPerAxis;
    if (size.resolution < floor) {
        size.resolution = floor;
        size.low = floor;
        size.high = 2.0 * floor;
    }
    size.usable = true;
    size.rows = GridCount(ex, size.resolution);
    size.cols = GridCount(ey, size.resolution);
    doc.Resolution = size.resolution;
    doc.CoverageRows = size.rows;
    doc.CoverageCols = size.cols;

    const double unit = doc.UseFeet ? kMetresPerFoot : 1.0;
    size.displayLow = size.low / unit;
    size.displayHigh = size.high / unit;
    size.displayValue = size.resolution / unit;
    size.unit = LengthUnitLabel(doc.UseFeet);
    return size;
}

CoverageOutcome ProcessCoverage(CTarvoAnalyzerDoc& doc, IUiServices& ui, unsigned threads) {
    IProgress& progress = ui.Progress();
    doc.view.ResetZoom();
    progress.SetPosition(0);
    progress.ClearCancelled();
    progress.Show();
    progress.SetText(kBeginCoverageText);
    doc.workLines.RemoveAll();
    doc.workAreas.RemoveAll();

    std::string shortList;
    std::vector<int> shortAps;
    int valid = 0;
    for (int a = 0; a < doc.aps.GetSize(); ++a) {
        const CAPInfo& ap = doc.aps[a];
        if (!ap.selected)
            continue;
        if (!HasCoverageSamples(ap)) {
            shortAps.push_back(a);
            shortList += Format("%s, %s \n", MacText(ap.bssid).c_str(), SsidText(ap.ssid).c_str());
        } else {
            ++valid;
        }
    }
    if (valid == 0) {
        progress.Hide();
        doc.coveragePresent = false;
        ui.MessageBox(kNoValidApText, kNoValidApTitle, MsgIcon::Information);
        return CoverageOutcome::NoValidAp;
    }
    if (!shortAps.empty()) {
        const char* question =
            shortAps.size() == 1
                ? "No enough points for the following AP: \n %s \n Remove it in the processing?"
                : "No enough points for the following APs: \n %s \n Remove them in the "
                  "processing?";
        const MsgAnswer answer = ui.MessageBox(Format(question, shortList.c_str()), kInvalidApTitle,
                                               MsgIcon::Information, MsgButtons::YesNo);
        if (answer == MsgAnswer::Yes)
            for (int a : shortAps)
                doc.aps[a].selected = 0;
    }

    ComputeViewExtent(doc, 0, 0);
    progress.SetText(kCalculatingCoverageText);
    // The kept matrices stay consistent with their counts if this run ends
    // early.
    const int previousRows = doc.CoverageRows, previousCols = doc.CoverageCols;
    const CCoverageGridSize size = SizeCoverageGrid(doc);
    if (!size.usable) {
        doc.CoverageRows = previousRows;
        doc.CoverageCols = previousCols;
        progress.Hide();
        doc.coveragePresent = false;
        ui.MessageBox(kEmptyAreaText, kEmptyAreaTitle, MsgIcon::Error);
        return CoverageOutcome::EmptyArea;
    }

    CCoverageGridValues values;
    try {
        values = ComputeCoverageGrid(doc, progress, threads);
    } catch (const CCancelException&) {
        doc.CoverageRows = previousRows;
        doc.CoverageCols = previousCols;
        progress.Hide();
        doc.coveragePresent = false;
        return CoverageOutcome::Cancelled;
    }

    StoreCoverage(doc, std::move(values), progress);
    doc.coverageDisplayType = kDisplayStrengthBands;
    progress.SetPosition(100);
    progress.Hide();
    return CoverageOutcome::Computed;
}

bool RecomputeCoverage(CTarvoAnalyzerDoc& doc, IProgress& progress, unsigned threads) {
    if (!doc.coveragePresent)
        return false;
    if (!GridCountsAreSane(doc.CoverageRows, doc.CoverageCols)) {
        doc.coveragePresent = false;
        return false;
    }
    try {
        StoreCoverage(doc, ComputeCoverageGrid(doc, progress, threads), progress);
    } catch (const CCancelException&) {
        doc.coveragePresent = false;
        return false;
    }
    return true;
}

} // namespace tarvo
