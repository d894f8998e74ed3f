// tarvo report: writes the HTML study report of a study, computing the
// coverage it shows the way "Plot Graph" would. Built only with the export
// library.

#ifdef TARVO_HAVE_tarvo_export

#include "analysis/Coverage.h"
#include "analysis/CrossValidation.h"
#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/ExportSupport.h"
#include "cli/RequirementOptions.h"
#include "cli/Study.h"
#include "export/PdfReport.h"
#include "export/StudyReport.h"
#include "formats/FilePaths.h"
#include "formats/WorkspaceCommands.h"
#include "model/CoverageViews.h"
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

bool EndsWithPdf(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".pdf";
}

// "6,7,8,9": survey views in the order given, each once.
std::optional<std::vector<int>> ParseViews(const std::string& text) {
    std::vector<int> views;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        if (item.size() != 1 || !IsSurveyView(item[0] - '0'))
            return std::nullopt;
        if (std::find(views.begin(), views.end(), item[0] - '0') == views.end())
            views.push_back(item[0] - '0');
        start = comma + 1;
    }
    return views;
}

// The report's choices beyond the "Reports" page; nothing, after a message,
// when one is wrong or does not fit the report's format.
std::optional<CReportExtras> ExtrasOrComplain(const CArgs& args, bool pdf, std::ostream& err) {
    CReportExtras extras;
    if (const auto pictures = args.Get("--pictures")) {
        if (pdf || (*pictures != "bmp" && *pictures != "png")) {
            err << "tarvo report: --pictures bmp|png is for an HTML report\n";
            return std::nullopt;
        }
        extras.pngPictures = *pictures == "png";
    }
    if (pdf && args.Has("--no-paths")) {
        err << "tarvo report: the PDF report names files without their folders anyway; "
               "--no-paths is for an HTML report\n";
        return std::nullopt;
    }
    extras.fileNamesOnly = args.Has("--no-paths");
    if (const auto views = args.Get("--views")) {
        const auto parsed = ParseViews(*views);
        if (!parsed) {
            err << "tarvo report: --views needs survey views from 6 to 9, separated by commas\n";
            return std::nullopt;
        }
        extras.views = *parsed;
    }
    return extras;
}

std::optional<ReportPage> PageOrComplain(const CArgs& args, bool pdf, std::ostream& err) {
    const auto page = args.Get("--page");
    if (!page)
        return DefaultReportPage();
    if (!pdf || (*page != "a4" && *page != "letter")) {
        err << "tarvo report: --page a4|letter is for a PDF report\n";
        return std::nullopt;
    }
    return *page == "letter" ? ReportPage::Letter : ReportPage::A4;
}

int RunReport(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    std::set<std::string> values = StudyValueOptions();
    values.insert({"--out", "--select", "--page", "--pictures", "--views", kOverlapLevelOption});
    values.insert(DisplayValueOptions().begin(), DisplayValueOptions().end());
    values.insert(RequirementValueOptions().begin(), RequirementValueOptions().end());
    std::set<std::string> flags = StudyFlags();
    flags.insert({"--no-ssd-files", "--no-aps", "--all-aps", "--no-marked", "--no-sources",
                  "--no-path", "--no-reliability", "--no-coverage", "--no-overlay", "--no-open",
                  "--no-paths", kVerdictFlag, "--accuracy"});
    CArgs args(rawArgs, values, flags);
    const auto out = args.Get("--out");
    auto options = StudyOptionsOrComplain(args, "report", io.err);
    if (!options)
        return 2;
    if (!out || out->empty()) {
        io.err << "tarvo report: --out REPORT.html or REPORT.pdf is required\n";
        return 2;
    }
    const bool pdf = EndsWithPdf(*out);
    auto extras = ExtrasOrComplain(args, pdf, io.err);
    const auto page = PageOrComplain(args, pdf, io.err);
    const auto requirements = RequirementsOrComplain(args, "report", io.err);
    const auto overlapLevel = OverlapLevelOrComplain(args, "report", io.err);
    if (!extras || !page || !requirements || !overlapLevel)
        return 2;
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
    doc.coChannelLevelDbm = *overlapLevel;

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
    // A PDF report, requirements and survey views need it too.
    const bool judged = pdf || requirements->Asked();
    if ((o.showApCoverage || o.showApOverlay || judged || !extras->views.empty()) &&
        HasCoverageAp(doc) && (!doc.coveragePresent || select))
        ProcessCoverage(doc, ui);
    if (judged) {
        extras->requirements =
            JudgeRequirements(doc, RequirementsToJudge(doc, *requirements), options->threads);
        extras->requirementSummary = true;
    }
    request.extras = *extras;

    if (args.Has("--accuracy"))
        request.accuracy = EvaluateStudy(doc, {}, ui.Progress());

    // A report into a folder that is not there yet: the folder is made.
    std::error_code ec;
    if (const auto parent = std::filesystem::path(*out).parent_path(); !parent.empty())
        std::filesystem::create_directories(parent, ec);
    const ReportResult result =
        pdf ? WritePdfReport(doc, request, *page, ui) : WriteStudyReport(doc, request, ui);
    if (result != ReportResult::Written)
        return 1;
    io.out << *out << '\n';
    const int status = ui.ExitStatus();
    return status == 0 && requirements->verdict && !AllPassed(request.extras.requirements)
               ? kRequirementFailedStatus
               : status;
}

const CRegisterCommand kRegister{
    {"report",
     "report STUDY --out REPORT.html|.pdf [--no-ssd-files] [--no-aps] [--all-aps] [--no-marked] "
     "[--no-sources] [--no-path] [--no-reliability] [--no-coverage] [--no-overlay] "
     "[--select all|MAC,...] [--colour-mode 0|1|2] [--units m|ft] [--no-open] "
     "[--require LEVEL[:AREA%]]... [--require-secondary LEVEL[:AREA%]]... [--verdict] "
     "[--views 6,7,8,9] [--overlap-level DBM] [--page a4|letter] [--pictures bmp|png] "
     "[--no-paths] [--accuracy]   write the HTML or PDF study report",
     RunReport,
     std::string("Writes the HTML study report, its pictures in a folder beside it (REPORT\n"
                 "without .html), computing the coverage it shows when the study has none.\n"
                 "The sections are the workspace's report options (all on for survey files);\n"
                 "the --no-... options leave sections out. A REPORT.pdf is one PDF file\n"
                 "instead: a first page with the study and the verdict on its coverage\n"
                 "requirements, then the pictures with their legends and the tables.\n\n") +
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
         "  --no-open            do not open the report (it never opens without a display)\n" +
         kRequirementHelp +
         "                       (an HTML report shows them in a table at the top only\n"
         "                       when one of these three is given)\n"
         "  --views 6,7,8,9      add survey views: 6 the strongest signal over the noise\n"
         "                       floor, 7 the second-strongest signal, 8 co-channel APs, 9\n"
         "                       the strongest AP at each place\n" +
         kOverlapLevelHelp +
         "  --page a4|letter     the PDF's paper (default: from the locale)\n"
         "  --pictures bmp|png   the HTML report's pictures as bitmaps (default) or PNG\n"
         "  --no-paths           name survey and map files without their folders (HTML)\n"
         "  --accuracy           add how accurate the maps are: the figures of `tarvo\n"
         "                       evaluate` (5 block folds) for the study and per AP (HTML)\n"}};

} // namespace

} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
