#pragma once
// The HTML study report: one HTML file and, beside it, a folder named after
// it that holds the bitmap pictures (the survey path as bmp2.bmp, then the
// coverage images and legend bitmaps numbered from 3 on) and report.css.
//
// Thread: a worker thread (the GUI's "Genereate Report"), while the
// document is kept from changing (doc.busy); a QGuiApplication must exist
// when the default renderer is used (fonts). Changes in the document only
// the APs' reliability radii and per-AP contours, and the ViewWindow that
// each off-screen render leaves.

#include "analysis/CrossValidation.h"
#include "analysis/Requirements.h"
#include "model/Document.h"
#include "model/UiServices.h"
#include "model/ViewState.h"

#include <QImage>

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

// One 800 x 600 picture of the study: display type, then the path, AP,
// marked-AP and interference-icon flags.
using ReportRenderer =
    std::function<QImage(CTarvoAnalyzerDoc& doc, int displayType, bool withPath, bool withApIcons,
                         bool withMarkedApIcons, bool withInterferenceIcons, IUiServices& ui)>;

// The map view's RenderOffscreen into a fresh 800 x 600 image.
QImage RenderReportPicture(CTarvoAnalyzerDoc& doc, int displayType, bool withPath, bool withApIcons,
                           bool withMarkedApIcons, bool withInterferenceIcons, IUiServices& ui);

// Choices beyond the sections of the "Reports" page. The defaults write the
// report exactly as the panel's command does.
struct CReportExtras {
    bool pngPictures = false;   // pictures as PNG files (bmpN.png) instead of bitmaps
    bool fileNamesOnly = false; // survey and map files by name, without their folders
    // Judged requirements, shown in a summary table at the top when
    // requirementSummary is set (the PDF report always has one).
    bool requirementSummary = false;
    std::vector<CRequirementResult> requirements;
    // Survey views (display types 6..9) pictured after the site-wide
    // coverage, each with its legend.
    std::vector<int> views;
};

struct CReportRequest {
    std::string path;               // the HTML file (the panel's report path)
    CReportOptions options;         // the "Reports" page (doc.panel.report)
    std::optional<std::time_t> now; // report date; the current time when empty
    bool open = true;               // open the finished report
    CReportExtras extras;
    // Cross-validation figures of the study: a section on the maps'
    // accuracy and per-AP columns in the access point table.
    std::optional<CStudyAccuracy> accuracy;
};

enum class ReportResult {
    Written,
    Failed,   // the report or a picture could not be written (message shown)
    Cancelled // the user cancelled in the progress window
};

// True for the name of a numbered report picture, "bmpN.bmp".
bool IsReportPictureName(const std::string& name);

// The file title of a report path with every ".html" removed: the name of
// the picture folder beside the report and of the links into it. When
// nothing was removed (or nothing is left), "_files" is appended so that
// the folder does not take the report's own name.
std::string ReportFolderTitle(const std::string& reportPath);

// Writes the report and its pictures, reporting progress in ui.Progress(),
// and opens it with the associated program. render defaults to
// RenderReportPicture. The HTML and its picture folder replace an earlier
// report as a whole (COutputFolder); when the report fails, or the user
// cancels (polled at each section and picture), the earlier report stays
// as it was. Other files in the picture folder are kept.
ReportResult WriteStudyReport(CTarvoAnalyzerDoc& doc, const CReportRequest& request,
                              IUiServices& ui, const ReportRenderer& render = {});

} // namespace tarvo
