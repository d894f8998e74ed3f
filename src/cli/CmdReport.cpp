// tarvo report: writes the HTML study report of a study, computing the
// coverage it shows the way "Plot Graph" would. Built only with the export
// library.

#ifdef TARVO_HAVE_tarvo_export

#include "analysis/Coverage.h"
#include "cli/Args.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/ExportSupport.h"
#include "cli/Study.h"
#include "export/StudyReport.h"
#include "formats/WorkspaceCommands.h"

#include <ostream>

namespace tarvo {

namespace {

bool HasCoverageAp(const CTarvoAnalyzerDoc& doc) {
    for (const CAPInfo& ap : doc.aps)
        if (ap.selected && HasCoverageSamples(ap))
            return true;
    return false;
}

int RunReport(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    std::set<std::string> values = StudyValueOptions();
    values.insert({"--out", "--select"});
    std::set<std::string> flags = StudyFlags();
    flags.insert({"--no-ssd-files", "--no-aps", "--all-aps", "--no-marked", "--no-sources",
                  "--no-path", "--no-reliability", "--no-coverage", "--no-overlay", "--no-open"});
    CArgs args(rawArgs, values, flags);
    const auto out = args.Get("--out");
    auto options = StudyOptionsFrom(args, io.err);
    if (!options)
        return 2;
    if (!out || out->empty()) {
        io.err << "tarvo report: --out REPORT.html is required\n";
        return 2;
    }

    EnsureOffscreenGui();
    CStderrUi ui(io.err);
    CTarvoAnalyzerDoc doc;
    if (!OpenStudy(doc, *options, ui))
        return 1;

    const auto select = args.Get("--select");
    if (select && !SelectApsByList(doc, *select, "report", io.err))
        return 2;
    if (!select)
        SelectAllWhenNoneSelected(doc);
    doc.view.showMap = doc.mapLoaded;

    // The workspace's report options, with the sections turned off here.
    CReportRequest request;
    request.path = *out;
    request.options = doc.panel.report;
    CReportOptions& o = request.options;
    o.showSsdFiles = o.showSsdFiles && !args.Has("--no-ssd-files");
    o.showAccessPoints = o.showAccessPoints && !args.Has("--no-aps");
    // "Show All APs" lists only the selected APs; --all-aps lists every AP.
    o.showAllAps = o.showAllAps && !args.Has("--all-aps");
    o.showMarkedAps = o.showMarkedAps && !args.Has("--no-marked");
    o.showInterferenceSources = o.showInterferenceSources && !args.Has("--no-sources");
    o.showSurveyPath = o.showSurveyPath && !args.Has("--no-path");
    o.showCoverageReliability = o.showCoverageReliability && !args.Has("--no-reliability");
    o.showApCoverage = o.showApCoverage && !args.Has("--no-coverage");
    o.showApOverlay = o.showApOverlay && !args.Has("--no-overlay");
    request.open = !args.Has("--no-open");
    ui.SetOpenDocuments(request.open);

    // The strength and overlap pictures need the site-wide coverage of the
    // selection; a workspace's own coverage is kept unless --select changed
    // what is selected.
    if ((o.showApCoverage || o.showApOverlay) && HasCoverageAp(doc) &&
        (!doc.coveragePresent || select))
        ProcessCoverage(doc, ui);

    if (WriteStudyReport(doc, request, ui) != ReportResult::Written)
        return 1;
    io.out << *out << '\n';
    return 0;
}

const CRegisterCommand kRegister{
    {"report",
     "report STUDY --out REPORT.html [--no-ssd-files] [--no-aps] [--all-aps] [--no-marked] "
     "[--no-sources] [--no-path] [--no-reliability] [--no-coverage] [--no-overlay] "
     "[--select all|MAC,...] [--no-open]   write the HTML study report",
     RunReport}};

} // namespace

} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
