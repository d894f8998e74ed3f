#include "panel/PanelCommands.h"

#include "analysis/CollectionLoader.h"
#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "analysis/ProjectionOpen.h"
#include "analysis/Recalculation.h"
#include "analysis/Reliability.h"
#include "mapview/DocumentHost.h"
#include "model/ApGroups.h"
#include "model/Text.h"
#include "panel/PanelLayout.h"

#include <algorithm>

namespace tarvo {

namespace {

constexpr int kFewestGridLines = 3;
constexpr int kMostGridLines = 10;
constexpr unsigned kLayerChange = kChangeView | kChangeSettings;

bool* ReportFlag(CReportOptions& r, int id) {
    switch (id) {
    case kIdReportSsdFiles:
        return &r.showSsdFiles;
    case kIdReportAllFiles:
        return &r.showAllFiles;
    case kIdReportAccessPoints:
        return &r.showAccessPoints;
    case kIdReportAllAps:
        return &r.showAllAps;
    case kIdReportMarked:
        return &r.showMarkedAps;
    case kIdReportSources:
        return &r.showInterferenceSources;
    case kIdReportPath:
        return &r.showSurveyPath;
    case kIdReportReliability:
        return &r.showCoverageReliability;
    case kIdReportCoverage:
        return &r.showApCoverage;
    case kIdReportOverlay:
        return &r.showApOverlay;
    default:
        return nullptr;
    }
}

} // namespace

void ComputeShownApContours(CTarvoAnalyzerDoc& doc) {
    const auto enough = [&](int i) {
        return i >= 0 && i < doc.aps.GetSize() && doc.aps[i].selected &&
               HasCoverageSamples(doc.aps[i]);
    };
    if (doc.coverageMode == 1) {
        for (const CGroupInfo& group : doc.activeGroups.groups)
            for (const CGroupItem& item : group.items)
                if (enough(item.apIndex))
                    ComputeApContours(doc, item.apIndex, group.colour);
    } else if (doc.coverageMode == 0 || doc.coverageMode == 2) {
        for (int i = 0; i < doc.aps.GetSize(); ++i)
            if (enough(i))
                ComputeApContours(doc, i, ApContourColour(doc, i));
    }
}

bool CommandChecked(const CTarvoAnalyzerDoc& doc, int id) {
    switch (id) {
    case kIdSelectMetric:
        return !doc.UseFeet; // on: metres
    case kIdGridLines:
        return doc.scaleShown;
    case kIdDataMerge:
        return doc.MergeApsAcrossFiles;
    case kIdWalkPath:
        return doc.pathShown;
    case kIdBadGps:
        return doc.pointStatus;
    case kIdCoordinates:
        return !doc.linearCoordinates; // on: latitude/longitude
    case kIdSortAps:
        return !doc.sortBySsid; // on: by channel
    case kIdAllAps:
        return !doc.onlySelected; // on: only the selected APs
    case kIdShowAps:
        return doc.apIconsShown;
    case kIdShowInterference:
        return doc.interferenceIconsShown;
    case kIdShowMarked:
        return doc.markedApIconsShown;
    default:
        break;
    }
    if (const int type = DisplayTypeOfButton(id); type != kDisplayNone)
        return doc.coverageDisplayType == type;
    return ReportOption(doc, id);
}

unsigned ToggleUnits(CTarvoAnalyzerDoc& doc) {
    doc.UseFeet = !doc.UseFeet;
    return kLayerChange;
}

unsigned ToggleGridLines(CTarvoAnalyzerDoc& doc) {
    doc.scaleShown = !doc.scaleShown;
    return kLayerChange;
}

unsigned ChangeGridLineCount(CTarvoAnalyzerDoc& doc, int delta) {
    const int count = std::clamp(doc.gridLineCount + delta, kFewestGridLines, kMostGridLines);
    if (count == doc.gridLineCount)
        return 0;
    doc.gridLineCount = count;
    return kLayerChange;
}

unsigned AddSurveyFile(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    const auto path = ui.ChooseOpenFile(kSsdFileFilter, "Open", "");
    if (!path || path->empty())
        return 0;
    for (const CDataFile& file : doc.files) {
        if (file.path == *path) {
            ui.MessageBox("This file has been selected!", "Invalid File", MsgIcon::Error);
            return 0;
        }
    }
    CDataFile file;
    file.title = FileNameOf(*path);
    file.path = *path;
    file.selected = 1;
    doc.files.Add(std::move(file));
    doc.processed = false;
    return kChangeFiles | kChangeView;
}

unsigned DeleteSelectedFiles(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    if (doc.files.IsEmpty())
        return 0;
    if (ui.MessageBox("Delete Selected Files?", "Delete Files", MsgIcon::Information,
                      MsgButtons::YesNo) != MsgAnswer::Yes)
        return 0;
    auto& files = doc.files.Vector();
    const auto kept = std::remove_if(files.begin(), files.end(),
                                     [](const CDataFile& f) { return f.selected != 0; });
    if (kept == files.end())
        return 0;
    files.erase(kept, files.end());
    doc.processed = false;
    return kChangeFiles | kChangeView;
}

unsigned ToggleDataMerge(CTarvoAnalyzerDoc& doc) {
    doc.MergeApsAcrossFiles = !doc.MergeApsAcrossFiles;
    return kChangePanelOnly;
}

bool PrepareProcessing(CTarvoAnalyzerDoc& doc, IUiServices& ui, unsigned& changed) {
    changed = 0;
    if (doc.graphWindow) {
        ui.MessageBox("Please Select Graph Window", "Invalid Window", MsgIcon::Error);
        return false;
    }
    const bool anySelected = std::any_of(doc.files.begin(), doc.files.end(),
                                         [](const CDataFile& f) { return f.selected != 0; });
    if (!anySelected) {
        ui.MessageBox("Please select files", "No File Selected", MsgIcon::Information);
        return false;
    }
    // The AP and point arrays are rebuilt by the loading itself, which keeps
    // the previous study whole when it ends early.
    if (!doc.mapLoaded &&
        ui.MessageBox("No projection file is loaded. Would you like to input projection file "
                      "first?",
                      "No Projection File", MsgIcon::Information,
                      MsgButtons::YesNo) == MsgAnswer::Yes) {
        const ProjectionOpenOutcome opened = OpenProjectionCommand(doc, ui);
        if (opened == ProjectionOpenOutcome::Opened ||
            opened == ProjectionOpenOutcome::ReloadCollection)
            changed = kChangeView | kChangeSettings;
    }
    return true;
}

unsigned ToggleLayerFlag(CTarvoAnalyzerDoc& doc, int id) {
    const bool projection = doc.mapLoaded || doc.projectionKind != kProjectionNone;
    const bool mapOrData = doc.processed || doc.view.showMap;
    bool* flag = nullptr;
    bool allowed = doc.processed;
    switch (id) {
    case kIdWalkPath:
        flag = &doc.pathShown;
        break;
    case kIdBadGps:
        flag = &doc.pointStatus;
        break;
    case kIdCoordinates:
        flag = &doc.linearCoordinates;
        allowed = doc.processed || projection;
        break;
    case kIdShowAps:
        flag = &doc.apIconsShown;
        break;
    case kIdShowInterference:
        flag = &doc.interferenceIconsShown;
        allowed = mapOrData;
        break;
    case kIdShowMarked:
        flag = &doc.markedApIconsShown;
        allowed = mapOrData;
        break;
    default:
        return 0;
    }
    if (!allowed)
        return 0;
    *flag = !*flag;
    return kLayerChange;
}

unsigned CyclePathWidth(CTarvoAnalyzerDoc& doc) {
    doc.pathWidth = doc.pathWidth >= 1 && doc.pathWidth < 3 ? doc.pathWidth + 1 : 1;
    return kLayerChange;
}

unsigned ToggleApGrouping(CTarvoAnalyzerDoc& doc, int id) {
    if (!doc.processed)
        return 0;
    if (id == kIdSortAps)
        doc.sortBySsid = !doc.sortBySsid;
    else if (id == kIdAllAps)
        doc.onlySelected = !doc.onlySelected;
    else
        return 0;
    BuildApGroups(doc);
    return kChangeAps | kChangeView;
}

unsigned DeleteSelectedAps(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    if (doc.aps.IsEmpty())
        return 0;
    if (ui.MessageBox("Delete Selected APs?", "Delete APs", MsgIcon::Information,
                      MsgButtons::YesNo) != MsgAnswer::Yes)
        return 0;
    auto& aps = doc.aps.Vector();
    const auto kept =
        std::remove_if(aps.begin(), aps.end(), [](const CAPInfo& ap) { return ap.selected != 0; });
    if (kept == aps.end())
        return 0;
    aps.erase(kept, aps.end());
    // Group members and the view's hit are AP indices: both must follow.
    RebuildApGroups(doc);
    doc.view.hitIndex = -1;
    ComputeViewExtent(doc, 0, 0);
    return kChangeAps | kChangeView;
}

bool CanPlotCoverage(const CTarvoAnalyzerDoc& doc) {
    return doc.processed && !doc.coveragePresent;
}

int DisplayTypeOfButton(int id) {
    switch (id) {
    case kIdColorWalkPath:
        return kDisplayApSamples;
    case kIdReliability:
        return kDisplayReliability;
    case kIdApCoverage:
        return kDisplayApBands;
    case kIdPlotCoverage:
        return kDisplayStrengthBands;
    case kIdPlotOverlay:
        return kDisplayApCountBands;
    default:
        return kDisplayNone;
    }
}

unsigned PressAnalysisButton(CTarvoAnalyzerDoc& doc, IUiServices& ui, int displayType) {
    if (!doc.processed || displayType == kDisplayNone)
        return 0;
    const bool on = doc.coverageDisplayType != displayType;
    if (on && displayType == kDisplayReliability)
        RunReliabilityAnalysis(doc, ui);
    if (on && displayType == kDisplayApBands)
        ComputeShownApContours(doc);
    doc.coverageDisplayType = on ? displayType : kDisplayNone;
    return kChangeCoverage | kChangeView;
}

unsigned InvalidateCoverage(CTarvoAnalyzerDoc& doc) {
    doc.coverageDisplayType = kDisplayNone;
    doc.coveragePresent = false;
    return kChangeCoverage | kChangeView | kChangeSettings;
}

unsigned SetPowerRange(CTarvoAnalyzerDoc& doc, int thumb, int low, int high) {
    if (thumb == 1)
        doc.PowerLow = low;
    else if (thumb == 2)
        doc.PowerHigh = high;
    else
        return 0;
    return InvalidateCoverage(doc);
}

unsigned SetResolution(CTarvoAnalyzerDoc& doc, double shownValue) {
    doc.Resolution = doc.UseFeet ? shownValue * kMetresPerFoot : shownValue;
    return InvalidateCoverage(doc);
}

unsigned SetCoverageOpacity(CTarvoAnalyzerDoc& doc, int opacity) {
    if (opacity == doc.coverageOpacity)
        return 0;
    doc.coverageOpacity = opacity;
    return kChangeView | kChangeSettings;
}

CShownResolution ShownResolution(const CTarvoAnalyzerDoc& doc) {
    const CResolutionRange range = ResolutionRangeFor(doc.AnalysisBox, doc.Resolution);
    CShownResolution shown;
    if (!range.usable)
        return shown;
    const double unit = doc.UseFeet ? kMetresPerFoot : 1.0;
    shown.usable = true;
    shown.low = range.low / unit;
    shown.high = range.high / unit;
    shown.value = std::clamp(doc.Resolution, range.low, range.high) / unit;
    return shown;
}

unsigned ToggleReportOption(CTarvoAnalyzerDoc& doc, int id) {
    bool* flag = ReportFlag(doc.panel.report, id);
    if (!flag)
        return 0;
    *flag = !*flag;
    return kChangePanelOnly;
}

bool ReportOption(const CTarvoAnalyzerDoc& doc, int id) {
    CReportOptions copy = doc.panel.report;
    const bool* flag = ReportFlag(copy, id);
    return flag && *flag;
}

std::string DefaultReportName(const std::string& studyPath) {
    // Only the file name's extension goes: a dot in a folder name stays.
    const std::size_t slash = studyPath.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = studyPath.find('.', nameStart);
    std::string base = studyPath;
    if (dot != std::string::npos && dot > nameStart)
        base.erase(dot);
    return base + ".html";
}

std::optional<std::string> ChooseReportPath(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    if (doc.aps.IsEmpty())
        return std::nullopt;
    const std::string name = doc.workspacePath.empty() ? "" : DefaultReportName(doc.workspacePath);
    const auto path = ui.ChooseSaveFile(kReportFileFilter, "Save As", name);
    if (!path || path->empty())
        return std::nullopt;
    doc.panel.reportPath = *path;
    return path;
}

} // namespace tarvo
