#pragma once
// What the control panel's buttons do to the document. Each command runs on
// the GUI thread while no worker holds the document, asks its questions
// through the UI services, and returns the DocChange bits of what it
// changed (0: nothing), plus kChangePanelOnly for saved state that no other
// view shows. The panel applies the bits: it marks the study modified,
// refreshes its controls and notifies the other views.

#include "model/Document.h"
#include "model/UiServices.h"

#include <optional>
#include <string>

namespace tarvo {

// Saved with the workspace but shown by the panel alone (report options,
// the page, the merge flag): no other view is told.
constexpr unsigned kChangePanelOnly = 1u << 16;

constexpr const char* kSsdFileFilter = "Tarvo Site Survey File (*.ssd)|*.ssd||";
constexpr const char* kReportFileFilter = "HTML File (*.html)|*.html|All files (*.*)|*.*||";

// Whether the check button (or report box) `id` shows "on" for the
// document: the flag it toggles, read the way its picture shows it.
bool CommandChecked(const CTarvoAnalyzerDoc& doc, int id);

// --- top strip ---
unsigned ToggleUnits(CTarvoAnalyzerDoc& doc);
unsigned ToggleGridLines(CTarvoAnalyzerDoc& doc);
// One more or one fewer grid line, kept within 3..10.
unsigned ChangeGridLineCount(CTarvoAnalyzerDoc& doc, int delta);

// --- Files ---
// "Open SSD Files": one survey file from the file dialog; the same full path
// (exact comparison) is refused with "This file has been selected!".
unsigned AddSurveyFile(CTarvoAnalyzerDoc& doc, IUiServices& ui);
// "Delete Files": asks, then removes every ticked file.
unsigned DeleteSelectedFiles(CTarvoAnalyzerDoc& doc, IUiServices& ui);
unsigned ToggleDataMerge(CTarvoAnalyzerDoc& doc);
// "Process Files" up to the start of loading: the graph-window and
// no-file refusals and the offer to open a projection first. True when the
// collection should be loaded now; `changed` gets the bits of a projection
// opened on the way.
bool PrepareProcessing(CTarvoAnalyzerDoc& doc, IUiServices& ui, unsigned& changed);

// --- Data Study ---
// The layer check buttons (walk path, bad GPS, coordinates, AP icons,
// interference icons, marked-AP icons), each under its own condition.
unsigned ToggleLayerFlag(CTarvoAnalyzerDoc& doc, int id);
// Path width 1 -> 2 -> 3 -> 1.
unsigned CyclePathWidth(CTarvoAnalyzerDoc& doc);
// "Sort AP in SSID or Chan" and "Only Selected APs or All APs": toggle the
// flag and rebuild the AP groups (only when processed).
unsigned ToggleApGrouping(CTarvoAnalyzerDoc& doc, int id);
// "Delete AP": asks, then removes every selected AP and regroups.
unsigned DeleteSelectedAps(CTarvoAnalyzerDoc& doc, IUiServices& ui);
// True when "Plot Graph" may start the coverage computation.
bool CanPlotCoverage(const CTarvoAnalyzerDoc& doc);

// The analysis group: display type 1..5 on (or back to 0 when it was this
// type), the reliability radii or the per-AP contours computed first.
unsigned PressAnalysisButton(CTarvoAnalyzerDoc& doc, IUiServices& ui, int displayType);
// Contours of every selected AP with at least 3 thinned samples in the
// colour of the colour mode: the group colour in mode 1 (each member of a
// group), the AP's own colour in mode 0, the common colour in mode 2.
void ComputeShownApContours(CTarvoAnalyzerDoc& doc);
// The coverage display type that an analysis button stands for (0: none).
int DisplayTypeOfButton(int id);

// --- range, resolution and opacity ---
// After a change of the power range or the resolution: nothing is shown and
// computed coverage no longer counts.
unsigned InvalidateCoverage(CTarvoAnalyzerDoc& doc);
// thumb 1 moved PowerLow, thumb 2 PowerHigh.
unsigned SetPowerRange(CTarvoAnalyzerDoc& doc, int thumb, int low, int high);
// value in the shown unit (feet with UseFeet).
unsigned SetResolution(CTarvoAnalyzerDoc& doc, double shownValue);
unsigned SetCoverageOpacity(CTarvoAnalyzerDoc& doc, int opacity);

// The resolution control's range over AnalysisBox in the shown unit.
struct CShownResolution {
    bool usable = false; // false: no analysed data yet
    double low = 0.0, high = 0.0, value = 0.0;
};
CShownResolution ShownResolution(const CTarvoAnalyzerDoc& doc);

// --- Reports ---
unsigned ToggleReportOption(CTarvoAnalyzerDoc& doc, int id);
bool ReportOption(const CTarvoAnalyzerDoc& doc, int id);
// "Genereate Report" up to the start of writing: the save dialog. The
// chosen path, stored as the report path; nullopt without APs or on Cancel.
std::optional<std::string> ChooseReportPath(CTarvoAnalyzerDoc& doc, IUiServices& ui);
// The default report name: the study's path with the extension of its file
// name replaced by ".html".
std::string DefaultReportName(const std::string& studyPath);

} // namespace tarvo
