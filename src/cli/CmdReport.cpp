// tarvo report: writes the HTML study report of a study, computing the
// coverage it shows the way "Plot Graph" would. Built only with the export
// library.

#ifdef TARVO_HAVE_tarvo_export

#include "analysis/Coverage.h"
#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/ExportSupport.h"
#include "cli/Study.h"
#include "export/StudyReport.h"
#include "formats/FilePaths.h"
#include "formats/WorkspaceCommands.h"
#include "model/Text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <ostream>

namespace tarvo {

namespace {

bool HasCoverageAp(const CTarvoAnalyzerDoc& doc) {
    for (const CAPInfo& ap : doc.aps)
        if (ap.selected && HasCoverageSamples(ap))
            return true;
    return false;
}

// An input the report would overwrite: one of its numbered pictures in the
// picture folder beside the report.
std::optional<std::string> InputAmongPictures(const std::vector<std::string>& inputs,
                                              const std::filesystem::path& folder) {
    for (const std::string& input : inputs) {
        const std::filesystem::path path(input);
        if (IsReportPictureName(path.filename().string()) &&
            SameFile(path.parent_path().empty() ? "." : path.parent_path().string(),
                     folder.empty() ? "." : folder.string()))
            return input;
    }
    return std::nullopt;
}

int RunReport(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    std::set<std::string> values = StudyValueOptions();
    values.insert({"--out", "--select"});
    values.insert(DisplayValueOptions().begin(), DisplayValueOptions().end());
    std::set<std::string> flags = StudyFlags();
    flags.insert({"--no-ssd-files", "--no-aps", "--all-aps", "--no-marked", "--no-sources",
                  "--no-path", "--no-reliability", "--no-coverage", "--no-overlay", "--no-open"});
    CArgs args(rawArgs, values, flags);
    const auto out = args.Get("--out");
    auto options = StudyOptionsOrComplain(args, "report", io.err);
    if (!options)
        return 2;
    if (!out || out->empty()) {
        io.err << "tarvo report: --out REPORT.html is required\n";
        return 2;
    }
    const std::vector<std::string> inputs = StudyInputs(*options);
    const std::filesystem::path folder =
        std::filesystem::path(*out).parent_path() / ReportFolderTitle(*out);
    if (!OutputIsFree("report", *out, inputs, io.err))
        return 2;
    if (const auto picture = InputAmongPictures(inputs, folder);
        picture &&
        !OutputIsFree("report", (folder / FileNameOf(*picture)).string(), {*picture}, io.err))
        return 2;

    EnsureOffscreenGui();
    CStderrUi ui(io.err, io.progress);
    CTarvoAnalyzerDoc doc;
    if (!OpenStudy(doc, *options, ui))
        return 1;

    const auto select = args.Get("--select");
    if (select && !SelectApsByList(doc, *select, "report", io.err))
        return 2;
    if (!select)
        SelectAllWhenNoneSelected(doc);
    if (!ApplyDisplayOptions(args, doc, "report", io.err))
        return 2;
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

    // A report into a folder that is not there yet: the folder is made.
    std::error_code ec;
    if (const auto parent = std::filesystem::path(*out).parent_path(); !parent.empty())
        std::filesystem::create_directories(parent, ec);
    if (WriteStudyReport(doc, request, ui) != ReportResult::Written)
        return 1;
    io.out << *out << '\n';
    return ui.ExitStatus();
}

const CRegisterCommand kRegister{
    {"report",
     "report STUDY --out REPORT.html [--no-ssd-files] [--no-aps] [--all-aps] [--no-marked] "
     "[--no-sources] [--no-path] [--no-reliability] [--no-coverage] [--no-overlay] "
     "[--select all|MAC,...] [--colour-mode 0|1|2] [--units m|ft] [--no-open]   write the HTML "
     "study report",
     RunReport,
     std::string("Writes the HTML study report, its pictures in a folder beside it (REPORT\n"
                 "without .html), computing the coverage it shows when the study has none.\n"
                 "The sections are the workspace's report options (all on for survey files);\n"
                 "the --no-... options leave sections out.\n\n") +
         kStudyHelp +
         "  --out REPORT.html    the report; its folder is made when missing\n"
         "  --no-ssd-files       leave out the survey files\n"
         "  --no-aps             leave out the access points and their antennas\n"
         "  --all-aps            list every AP, the unselected ones marked \"No\" (default:\n"
         "                       the selected APs only)\n"
         "  --no-marked          leave out the marked APs\n"
         "  --no-sources         leave out the interference sources\n"
         "  --no-path            leave out the survey path picture\n"
         "  --no-reliability     leave out the coverage reliability picture\n"
         "  --no-coverage        leave out the signal strength picture\n"
         "  --no-overlay         leave out the AP overlap picture\n"
         "  --select all|MAC,... the APs reported (default: the study's selection, or all)\n" +
         kDisplayHelp +
         "  --no-open            do not open the report (it never opens without a display)\n"}};

} // namespace

} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
