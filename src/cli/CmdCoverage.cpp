// tarvo coverage: loads a study like `tarvo process`, selects APs and runs
// the coverage command ("Plot Graph"), then prints the matrices, contours
// and reliability radii as JSON or a short summary.

#include "analysis/Coverage.h"
#include "analysis/Reliability.h"
#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/RequirementOptions.h"
#include "cli/Study.h"
#include "formats/Json.h"
#include "model/SettingRanges.h"
#include "model/Text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <sstream>

namespace tarvo {

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::replace(text.begin(), text.end(), ':', '-');
    return text;
}

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, ','))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

// Selects every AP ("all") or the listed MACs (either case, '-' or ':').
bool ApplySelection(CTarvoAnalyzerDoc& doc, const std::string& selection, std::ostream& err) {
    if (selection == "all") {
        for (CAPInfo& ap : doc.aps)
            ap.selected = 1;
        return true;
    }
    const std::vector<std::string> macs = SplitCommas(selection);
    if (macs.empty()) {
        err << "tarvo coverage: --select needs \"all\" or a list of MAC addresses\n";
        return false;
    }
    for (CAPInfo& ap : doc.aps)
        ap.selected = 0;
    for (const std::string& mac : macs) {
        const std::string wanted = Upper(mac);
        bool found = false;
        for (CAPInfo& ap : doc.aps)
            if (MacText(ap.bssid) == wanted) {
                ap.selected = 1;
                found = true;
            }
        if (!found) {
            err << "tarvo coverage: no AP with MAC " << mac << " in the study\n";
            return false;
        }
    }
    return true;
}

std::optional<double> ParsePositive(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value) ||
        !(value > 0.0))
        return std::nullopt;
    return value;
}

void Box(CJsonWriter& w, const std::string& key, const CBox& box) {
    w.Key(key)
        .BeginArray()
        .Value(box.minY)
        .Value(box.minX)
        .Value(box.extentY)
        .Value(box.extentX)
        .EndArray();
}

void Numbers(CJsonWriter& w, const std::string& key, const CArray<double>& values) {
    w.Key(key).BeginArray();
    for (double v : values)
        w.Value(v);
    w.EndArray();
}

// Ten levels of one drawing: each with its value, segments as two [x, y]
// points and polygons as their [x, y] vertices, taken in order.
template <typename LevelOf>
void Levels(CJsonWriter& w, const std::string& key, const CCoverageDrawing& drawing,
            const std::array<std::int32_t, 10>& lineCounts,
            const std::array<std::int32_t, 10>& areaCounts, LevelOf levelOf) {
    w.Key(key).BeginArray();
    int nextLine = 0, nextArea = 0;
    for (int k = 0; k < kCoverageLevels; ++k) {
        w.BeginObject().Field("level", levelOf(k)).Key("segments").BeginArray();
        for (int n = 0; n < lineCounts[static_cast<std::size_t>(k)]; ++n, ++nextLine) {
            const CDataLine& l = drawing.lines[nextLine];
            w.BeginArray()
                .BeginArray()
                .Value(l.v[0])
                .Value(l.v[2])
                .EndArray()
                .BeginArray()
                .Value(l.v[1])
                .Value(l.v[3])
                .EndArray()
                .EndArray();
        }
        w.EndArray().Key("polygons").BeginArray();
        for (int n = 0; n < areaCounts[static_cast<std::size_t>(k)]; ++n, ++nextArea) {
            const CDataArea& a = drawing.areas[nextArea];
            w.BeginArray();
            for (int v = 0; v < a.vertexCount; ++v)
                w.BeginArray()
                    .Value(a.x[static_cast<std::size_t>(v)])
                    .Value(a.y[static_cast<std::size_t>(v)])
                    .EndArray();
            w.EndArray();
        }
        w.EndArray().EndObject();
    }
    w.EndArray();
}

void Requirements(CJsonWriter& w, const std::vector<CRequirementResult>& results) {
    w.Key("requirements").BeginArray();
    for (const CRequirementResult& r : results) {
        w.BeginObject()
            .Field("signal", r.requirement.secondary ? "second-strongest" : "strongest")
            .Field("levelDbm", r.requirement.levelDbm)
            .Field("areaPercent", r.requirement.areaPercent)
            .Field("judged", r.judged);
        if (r.judged)
            w.Field("sharePercent", r.sharePercent)
                .Field("worstDbm", r.worstDbm)
                .Key("worstPosition")
                .BeginArray()
                .Value(r.worstY)
                .Value(r.worstX)
                .EndArray();
        w.Field("passed", r.passed).EndObject();
    }
    w.EndArray().Field("verdict", AllPassed(results) ? "PASS" : "FAIL");
}

void WriteJson(const CTarvoAnalyzerDoc& doc, const std::vector<CRequirementResult>* results,
               std::ostream& out) {
    CJsonWriter w(out);
    w.BeginObject().Field("rows", doc.CoverageRows).Field("cols", doc.CoverageCols);
    Box(w, "analysisBox", doc.AnalysisBox);
    w.Field("resolution", doc.Resolution);
    Numbers(w, "strength", doc.StrengthMatrix);
    Numbers(w, "margin", doc.MarginMatrix);
    Numbers(w, "apCount", doc.ApCountMatrix);
    w.Key("scale").BeginArray().Value(doc.strengthScaleLow).Value(doc.strengthScaleHigh).EndArray();
    const double low = doc.PowerLow, span = static_cast<double>(doc.PowerHigh) - doc.PowerLow;
    Levels(w, "strengthLevels", doc.coverageDrawings[0], doc.coverageTables[0],
           doc.coverageTables[1], [&](int k) { return low + k * span / 10; });
    Levels(w, "apCountLevels", doc.coverageDrawings[2], doc.coverageTables[4],
           doc.coverageTables[5], [](int k) { return 1.0 + 0.9 * k; });
    w.Key("aps").BeginArray();
    for (const CAPInfo& ap : doc.aps) {
        if (!ap.selected)
            continue;
        w.BeginObject().Field("mac", MacText(ap.bssid)).Field("ssid", SsidText(ap.ssid));
        w.Key("levels");
        if (HasUsableModel(ap)) {
            w.BeginArray();
            for (double r : ap.levels)
                w.Value(r);
            w.EndArray();
        } else {
            w.Null();
        }
        w.EndObject();
    }
    w.EndArray();
    if (results)
        Requirements(w, *results);
    w.EndObject();
    out << '\n';
}

double PolygonArea(const CDataArea& a) {
    double twice = 0.0;
    for (int k = 0; k < a.vertexCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const auto n = static_cast<std::size_t>((k + 1) % a.vertexCount);
        twice += a.x[i] * a.y[n] - a.x[n] * a.y[i];
    }
    return std::fabs(twice) / 2.0;
}

// Share of the analysis box at or above PowerLow: the area of the first
// strength band; on a grid without cells, the share of grid points.
double ShareAtOrAbovePowerLow(const CTarvoAnalyzerDoc& doc) {
    const CBox& box = doc.AnalysisBox;
    const double boxArea = std::fabs(box.extentX * box.extentY);
    if (doc.CoverageRows >= 2 && doc.CoverageCols >= 2 && boxArea > 0.0) {
        double area = 0.0;
        const int bands = doc.coverageTables[1][0];
        for (int n = 0; n < bands && n < doc.coverageDrawings[0].areas.GetSize(); ++n)
            area += PolygonArea(doc.coverageDrawings[0].areas[n]);
        return area / boxArea;
    }
    if (doc.StrengthMatrix.IsEmpty())
        return 0.0;
    int above = 0;
    for (double v : doc.StrengthMatrix)
        if (v >= doc.PowerLow)
            ++above;
    return static_cast<double>(above) / doc.StrengthMatrix.GetSize();
}

void WriteSummary(const CTarvoAnalyzerDoc& doc, std::ostream& out) {
    int selected = 0;
    for (const CAPInfo& ap : doc.aps)
        if (ap.selected)
            ++selected;
    double worst = 0.0, best = 0.0;
    if (!doc.StrengthMatrix.IsEmpty()) {
        const auto [lo, hi] =
            std::minmax_element(doc.StrengthMatrix.begin(), doc.StrengthMatrix.end());
        worst = *lo;
        best = *hi;
    }
    out << Format("Coverage of %d selected APs: grid %d x %d points, resolution %.3f m\n", selected,
                  doc.CoverageRows, doc.CoverageCols, doc.Resolution)
        << Format("At or above %d dBm: %.1f %% of the analysis box\n", doc.PowerLow,
                  100.0 * ShareAtOrAbovePowerLow(doc))
        << Format("Strength: worst %.1f dBm, best %.1f dBm\n", worst, best);
}

int RunCoverage(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    std::set<std::string> valueOptions = StudyValueOptions();
    valueOptions.insert({"--json", "--select", "--power-low", "--power-high", "--resolution"});
    valueOptions.insert({kSaveOption, kThreadsOption});
    valueOptions.insert(RequirementValueOptions().begin(), RequirementValueOptions().end());
    std::set<std::string> flags = StudyFlags();
    flags.insert(kVerdictFlag);
    CArgs args(rawArgs, valueOptions, flags);
    auto options = StudyOptionsOrComplain(args, "coverage", io.err);
    const auto json = args.Get("--json");
    if (!options || !StudyOutputsAreFree("coverage", *options, args.Get(kSaveOption), json, io.err))
        return 2;
    const auto threads = ThreadsOrComplain(args, "coverage", io.err);
    if (!threads)
        return 2;
    const auto requirements = RequirementsOrComplain(args, "coverage", io.err);
    if (!requirements)
        return 2;
    options->threads = *threads;
    const auto low = args.GetInt("--power-low");
    const auto high = args.GetInt("--power-high");
    if (!args.Ok()) {
        io.err << "tarvo coverage: " << args.Error() << '\n';
        return 2;
    }
    for (const auto& p : {low, high})
        if (p && (*p < kLowestPowerDbm || *p > kHighestPowerDbm)) {
            io.err << "tarvo coverage: power levels must be between " << kLowestPowerDbm << " and "
                   << kHighestPowerDbm << " dBm\n";
            return 2;
        }
    std::optional<double> resolution;
    if (const auto text = args.Get("--resolution")) {
        resolution = ParsePositive(*text);
        if (!resolution) {
            io.err << "tarvo coverage: --resolution needs a positive number of metres\n";
            return 2;
        }
    }

    CTarvoAnalyzerDoc doc;
    CStderrUi ui(io.err, io.progress);
    if (!OpenStudy(doc, *options, ui)) {
        io.err << "tarvo coverage: nothing was loaded\n";
        return 1;
    }
    if (low)
        doc.PowerLow = static_cast<int>(*low);
    if (high)
        doc.PowerHigh = static_cast<int>(*high);
    if (!(doc.PowerLow < doc.PowerHigh)) {
        io.err << "tarvo coverage: --power-low must be below --power-high\n";
        return 2;
    }
    if (!ApplySelection(doc, args.Get("--select").value_or("all"), io.err))
        return 2;
    if (resolution)
        doc.Resolution = *resolution;

    if (ProcessCoverage(doc, ui, options->threads) != CoverageOutcome::Computed) {
        io.err << "tarvo coverage: no coverage was computed\n";
        return 1;
    }
    for (CAPInfo& ap : doc.aps)
        if (ap.selected && HasUsableModel(ap))
            ComputeReliabilityRadii(ap, doc.PowerLow);
    if (!SaveStudyIfAsked(doc, args.Get(kSaveOption), ui))
        return 1;

    // Requirements are judged, printed and given a verdict only when asked.
    std::vector<CRequirementResult> results;
    if (requirements->Asked())
        results = JudgeRequirements(doc, RequirementsToJudge(doc, *requirements), options->threads);
    const auto verdictStatus = [&](int status) {
        return status == 0 && requirements->verdict && !AllPassed(results)
                   ? kRequirementFailedStatus
                   : status;
    };
    if (!json) {
        WriteSummary(doc, io.out);
        if (requirements->Asked()) {
            for (const CRequirementResult& r : results)
                io.out << "Requirement: " << RequirementLine(RequirementTexts(doc, r, ui)) << '\n';
            io.out << "Verdict: " << (AllPassed(results) ? "PASS" : "FAIL") << '\n';
        }
        return verdictStatus(ui.ExitStatus());
    }
    const int status =
        WriteJsonTarget(*json, "coverage", io.out, io.err, [&](std::ostream& stream) {
            WriteJson(doc, requirements->Asked() ? &results : nullptr, stream);
        });
    return verdictStatus(status != 0 ? status : ui.ExitStatus());
}

const CRegisterCommand kRegister{
    {"coverage",
     "coverage [--map FILE.gpf|.lpf] [--no-merge] [--min-points N] "
     "[--estimator study|joint|robust] [--coverage-model study|survey] [--threads N] "
     "[--select all|MAC,MAC...] "
     "[--power-low DBM] [--power-high DBM] [--resolution M] [--json OUT|-] [--save STUDY.tws] "
     "[--require LEVEL[:AREA%]]... [--require-secondary LEVEL[:AREA%]]... [--verdict] "
     "SURVEY.ssd...|STUDY.tws  "
     "site-wide coverage of the selected APs",
     RunCoverage,
     std::string("Computes the coverage of the selected APs over the site (\"Plot Graph\") and\n"
                 "prints a summary (or the matrices, bands and reliability radii as JSON).\n\n") +
         kStudyHelp + kThreadsHelp +
         "  --select all|MAC,... the APs whose coverage is computed (default all)\n"
         "  --power-low DBM      the weakest signal shown, -200..50 (default: the study's,\n"
         "                       -90)\n"
         "  --power-high DBM     the strongest, above --power-low (default -30)\n"
         "  --resolution M       grid spacing in metres (default: from the site's size)\n"
         "  --json OUT|-         the coverage as JSON, to a file or to stdout (-)\n"
         "  --save STUDY.tws     keep the study with its coverage as a workspace (may be\n"
         "                       the workspace it was opened from)\n" +
         kRequirementHelp}};

} // namespace

} // namespace tarvo
