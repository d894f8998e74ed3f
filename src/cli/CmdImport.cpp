// tarvo import: measurements recorded by other tools (generic CSV, saved
// `iw` scans, phone wardriving logs, our own table output) written as one
// survey walk (.ssd), on an existing plan or on a new blank one.

#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/Study.h"
#include "formats/FilePaths.h"
#include "formats/FloorPlanWriter.h"
#include "formats/Json.h"
#include "formats/OutputFile.h"
#include "import/ImportFields.h"
#include "import/ImportFiles.h"
#include "model/Text.h"

#include <cmath>
#include <ctime>
#include <ostream>

namespace tarvo {

namespace {

constexpr double kDefaultPlanScale = 0.1; // metres per pixel of a new plan

struct CRequest {
    std::vector<std::string> inputs;
    std::string out;
    std::optional<std::string> plan;
    std::optional<std::string> newPlan;
    double planScale = kDefaultPlanScale;
    std::optional<ImportFormat> format;
    bool skipBad = false;
    std::optional<std::string> json;
};

// The command line, or nullopt after "tarvo import: ..." on err.
std::optional<CRequest> ReadRequest(const std::vector<std::string>& rawArgs, std::ostream& err) {
    CArgs args(rawArgs, {"--out", "--plan", "--new-plan", "--plan-scale", "--format", "--json"},
               {"--skip-bad"});
    auto complain = [&err](const std::string& text) {
        err << "tarvo import: " << text << '\n';
        return std::optional<CRequest>();
    };
    if (!args.Ok())
        return complain(args.Error());
    CRequest request;
    request.inputs = args.Positional();
    if (request.inputs.empty())
        return complain("name the files to import");
    const auto out = args.Get("--out");
    if (!out || out->empty())
        return complain("--out WALK.ssd is required");
    request.out = *out;
    request.plan = args.Get("--plan");
    request.newPlan = args.Get("--new-plan");
    if (request.plan && request.newPlan)
        return complain("give --plan (an existing plan) or --new-plan (a new one), not both");
    if (const auto scale = args.Get("--plan-scale")) {
        const auto value = ParseDecimal(*scale);
        if (!request.newPlan)
            return complain("--plan-scale sets the scale of a --new-plan");
        if (!value || !(*value > 0.0) || *value > 1e6)
            return complain("--plan-scale needs metres per pixel, a number above 0");
        request.planScale = *value;
    }
    if (const auto format = args.Get("--format")) {
        request.format = ImportFormatNamed(*format);
        if (!request.format)
            return complain("--format must be csv, iw, wigle or table");
    }
    request.skipBad = args.Has("--skip-bad");
    request.json = args.Get("--json");
    if (request.newPlan && SameFile(*request.newPlan, request.out))
        return complain("--out and --new-plan name the same file");
    return request;
}

// "1 row", "2 rows".
std::string Counted(int count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string NewPlanText(const CNewPlan& plan) {
    std::string text = Format("new blank plan of %d x %d pixels at %g m per pixel (%g x %g m)",
                              plan.width, plan.height, plan.metresPerPixel,
                              plan.width * plan.metresPerPixel, plan.height * plan.metresPerPixel);
    if (plan.shiftX != 0 || plan.shiftY != 0)
        text += Format("; positions shifted by (%d, %d) m: site = input + shift", plan.shiftX,
                       plan.shiftY);
    return text;
}

void WriteJson(const CRequest& request, const std::vector<ImportFormat>& formats, const CWalk& walk,
               std::ostream& out) {
    CJsonWriter w(out);
    w.BeginObject().Field("out", request.out);
    w.Key("inputs").BeginArray();
    for (std::size_t i = 0; i < request.inputs.size(); ++i)
        w.BeginObject()
            .Field("path", request.inputs[i])
            .Field("format", ImportFormatName(formats[i]))
            .EndObject();
    w.EndArray()
        .Field("gps", walk.gps)
        .Field("locations", static_cast<int>(walk.locations.size()))
        .Field("samples", walk.samples)
        .Field("bssids", walk.bssids)
        .Field("skipped", walk.skippedRows)
        .Field("otherRadios", walk.otherRadios);
    w.Key("refused").BeginArray();
    for (const CImportProblem& problem : walk.refused)
        w.Value(problem.Text());
    w.EndArray();
    if (walk.newPlan) {
        w.Key("newPlan")
            .BeginObject()
            .Field("path", *request.newPlan)
            .Field("width", walk.newPlan->width)
            .Field("height", walk.newPlan->height)
            .Field("metresPerPixel", walk.newPlan->metresPerPixel)
            .EndObject();
        w.Key("shift_m")
            .BeginArray()
            .Value(walk.newPlan->shiftX)
            .Value(walk.newPlan->shiftY)
            .EndArray();
    }
    w.EndObject();
    out << '\n';
}

// Writes the walk and the new plan; both are put in place only once both
// were written whole.
bool WriteOutputs(const CRequest& request, const CWalk& walk, std::int64_t now, std::ostream& err) {
    const std::vector<std::uint8_t> walkBytes = WalkFileBytes(walk, now);
    std::vector<std::uint8_t> planBytes;
    if (walk.newPlan) {
        planBytes = EncodeBlankFloorPlan(walk.newPlan->width, walk.newPlan->height,
                                         walk.newPlan->metresPerPixel);
        if (planBytes.empty()) {
            err << "tarvo import: the new plan could not be made\n";
            return false;
        }
    }
    COutputFile walkFile(request.out);
    std::optional<COutputFile> planFile;
    if (walk.newPlan)
        planFile.emplace(*request.newPlan);
    auto failed = [&err](const std::string& path, const COutputFile& file) {
        err << "tarvo import: " << WriteFailureText(path, file.Failure()) << '\n';
        return false;
    };
    if (!walkFile.Write(walkBytes))
        return failed(request.out, walkFile);
    if (planFile && !planFile->Write(planBytes))
        return failed(*request.newPlan, *planFile);
    if (planFile && !planFile->Commit())
        return failed(*request.newPlan, *planFile);
    if (!walkFile.Commit())
        return failed(request.out, walkFile);
    return true;
}

int RunImport(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    const auto request = ReadRequest(rawArgs, io.err);
    if (!request)
        return 2;

    std::vector<std::string> filesRead;
    std::vector<CImportRead> reads;
    std::vector<ImportFormat> formats;
    for (const std::string& input : request->inputs) {
        ImportFormat used = request->format.value_or(ImportFormat::Csv);
        reads.push_back(ReadImportFile(input, request->format, filesRead, &used));
        formats.push_back(used);
    }
    CWalkOptions options;
    options.skipBad = request->skipBad;
    options.importSeconds = static_cast<std::int64_t>(std::time(nullptr));
    if (request->plan) {
        filesRead.push_back(*request->plan);
        options.plan = ReadPlanFile(*request->plan, "import", io.err);
        if (!options.plan) {
            io.err << "tarvo import: nothing written\n";
            return 1;
        }
    }
    if (request->newPlan)
        options.newPlanMetresPerPixel = request->planScale;

    const CWalk walk = AssembleWalk(reads, options);
    if (walk.fatal) {
        io.err << walk.fatal->Text() << "\ntarvo import: nothing written\n";
        return 1;
    }
    for (const CImportProblem& problem : walk.refused)
        io.err << problem.Text() << '\n';
    if (walk.stopped) {
        io.err << "tarvo import: stopped at the first refused row, nothing written "
                  "(--skip-bad imports the other rows)\n";
        return 1;
    }

    std::vector<std::string> taken = filesRead;
    if (!OutputIsFree("import", request->out, taken, io.err))
        return 2;
    if (request->newPlan && !OutputIsFree("import", *request->newPlan, taken, io.err))
        return 2;
    const bool jsonToFile = request->json && *request->json != "-";
    if (jsonToFile) {
        taken.push_back(request->out);
        if (request->newPlan)
            taken.push_back(*request->newPlan);
        if (!OutputIsFree("import", *request->json, taken, io.err))
            return 2;
    }
    if (!WriteOutputs(*request, walk, options.importSeconds, io.err))
        return 1;

    if (request->json)
        return WriteJsonTarget(*request->json, "import", io.out, io.err,
                               [&](std::ostream& out) { WriteJson(*request, formats, walk, out); });
    io.out << request->out << ": " << Counted(static_cast<int>(walk.locations.size()), "location")
           << ", " << Counted(walk.samples, "sample") << ", "
           << Counted(walk.bssids, "distinct BSSID") << ", " << Counted(walk.skippedRows, "row")
           << " skipped";
    if (walk.otherRadios > 0)
        io.out << ", " << Counted(walk.otherRadios, "row") << " of other radios left out";
    io.out << (walk.gps ? " (GPS locations)\n" : " (plan locations)\n");
    if (walk.newPlan)
        io.out << *request->newPlan << ": " << NewPlanText(*walk.newPlan) << '\n';
    return 0;
}

const CRegisterCommand kRegister{
    {"import",
     "import INPUT... --out WALK.ssd [--plan PLAN.lpf|PLAN.gpf | --new-plan PLAN.lpf "
     "[--plan-scale M_PER_PX]] [--format csv|iw|wigle|table] [--skip-bad] [--json OUT|-]   "
     "write measurements of other tools as a survey walk",
     RunImport,
     "Reads measurements recorded by other tools and writes them as one survey walk\n"
     "(.ssd) that `process`, the other commands and the desktop program open. Several\n"
     "inputs are appended in the order given. The format is recognised from the\n"
     "content:\n"
     "  csv    a table with a header line; columns by name, any case; delimiter ',',\n"
     "         ';' or tab; '\"' quotes; lines starting with '#' are skipped.\n"
     "         Position, one pair: x,y (map pixels, origin top-left, y down; needs\n"
     "         --plan), x_m,y_m (site metres: X to the right, Y up from the plan's\n"
     "         bottom edge, the frame `process` reports), lat,lon (degrees; a GPS\n"
     "         walk, no plan needed). bssid (or mac: aa:bb:cc:dd:ee:ff, aa-bb-...,\n"
     "         or 12 hex digits), rssi (or rssi_dbm, signal; dBm), and optionally\n"
     "         ssid, channel, freq (MHz), noise (dBm), time (ISO 8601) and location\n"
     "         (rows with one value are one location). Consecutive rows at one\n"
     "         position form one location; an empty bssid records a location where\n"
     "         nothing was heard.\n"
     "  iw     a manifest table x,y,file (or x_m,y_m,file / lat,lon,file), each file\n"
     "         the text of `iw dev IF scan` taken there, relative to the manifest\n"
     "  wigle  a phone wardriving log (first line WigleWifi-...): WIFI rows, one GPS\n"
     "         location per FirstSeen time and position\n"
     "  table  the output of `tarvo table`, with its header (tab, comma or another\n"
     "         character between cells); its rounding stays\n\n"
     "  --out WALK.ssd       the survey walk to write\n"
     "  --plan PLAN.lpf|.gpf the plan the positions lie on: x_m,y_m become its pixels\n"
     "                       (latitude/longitude on a .gpf); positions outside it are\n"
     "                       refused\n"
     "  --new-plan PLAN.lpf  write a blank white plan covering x_m,y_m positions with a\n"
     "                       5 m margin; negative positions shift the frame by whole\n"
     "                       metres (printed; site = input + shift)\n"
     "  --plan-scale M       metres per pixel of the new plan (default 0.1)\n"
     "  --format F           read every input as csv, iw, wigle or table\n"
     "  --skip-bad           import the other rows when some are refused (each is\n"
     "                       reported as FILE:LINE: reason); without it the first\n"
     "                       refused row stops the import and nothing is written\n"
     "  --json OUT|-         the counts as JSON, to a file or to stdout (-)\n"}};

} // namespace

} // namespace tarvo
