// tarvo process: loads survey files (with an optional map) the way "Process
// Files" does and prints the estimated APs, as JSON or as a table.

#include "analysis/CollectionLoader.h"
#include "analysis/Coordinates.h"
#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/Study.h"
#include "formats/Json.h"
#include "model/Text.h"

#include <cmath>
#include <limits>
#include <ostream>

namespace tarvo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void Pair(CJsonWriter& w, const std::string& key, double first, double second) {
    w.Key(key).BeginArray().Value(first).Value(second).EndArray();
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

std::string WithoutNewline(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// Latitude/longitude of a site position, or NaN when the projection cannot
// be inverted (checked here so that no message is printed per AP).
void LatLonOf(const CTarvoAnalyzerDoc& doc, double y, double x, double& lat, double& lon,
              IUiServices& ui) {
    lat = lon = kNaN;
    const auto& m = doc.ProjectionMatrix;
    const double det = m[0][0] * m[1][1] - m[0][1] * m[1][0];
    if (!(std::fabs(det) > 0.0) || !(doc.SiteScaleX != 0.0) || !(doc.SiteScaleY != 0.0))
        return;
    TransformPoint(doc, false, x, y, lat, lon, ui);
}

// GPS locations of the loaded files that lay off the globe and were left out.
int SkippedLocations(const CTarvoAnalyzerDoc& doc) {
    int skipped = 0;
    for (const CDataFile& f : doc.files)
        if (f.selected)
            skipped += f.skippedLocations;
    return skipped;
}

void WriteJson(const CTarvoAnalyzerDoc& doc, bool withMatrix, std::ostream& out, IUiServices& ui) {
    CJsonWriter w(out);
    w.BeginObject();

    const CResolutionRange range = ResolutionRangeFor(doc.AnalysisBox, doc.Resolution);
    w.Key("document")
        .BeginObject()
        .Field("gps", doc.gpsPointsPresent)
        .Field("linear", doc.linearPointsPresent)
        .Field("projectionKind", doc.projectionKind)
        .Field("points", doc.points.GetSize());
    if (const int skipped = SkippedLocations(doc); skipped > 0)
        w.Field("skippedLocations", skipped);
    w.Field("estimator", std::string(EstimatorName(doc.estimator)));
    w.Field("coverageModel", std::string(CoverageModelName(doc.coverageModel)));
    Box(w, "dataExtent", doc.DataExtent);
    Box(w, "analysisBox", doc.AnalysisBox);
    w.Field("resolution", doc.Resolution);
    if (range.usable)
        Pair(w, "resolutionRange", range.low, range.high);
    else
        w.Key("resolutionRange").Null();
    w.EndObject();

    w.Key("files").BeginArray();
    for (const CDataFile& f : doc.files) {
        w.BeginObject()
            .Field("title", f.title)
            .Field("path", f.path)
            .Field("created", WithoutNewline(f.created))
            .Field("selected", f.selected != 0)
            .Field("pointCount", f.pointCount)
            .Field("colour", static_cast<std::int64_t>(f.colour))
            .EndObject();
    }
    w.EndArray();

    w.Key("aps").BeginArray();
    for (const CAPInfo& ap : doc.aps) {
        w.BeginObject()
            .Field("mac", MacText(ap.bssid))
            .Field("ssid", SsidText(ap.ssid))
            .Field("channel", ap.channel)
            .Field("frequency", ap.frequency)
            .Field("colour", static_cast<std::int64_t>(ap.colour))
            .Field("samples", ap.samples.GetSize())
            .Field("filtered", ap.filteredSamples.GetSize());
        Pair(w, "origin", ap.origin[0], ap.origin[1]);
        Pair(w, "extent", ap.extent[0], ap.extent[1]);
        Pair(w, "position", ap.position[0], ap.position[1]);
        if (doc.gpsPointsPresent) {
            double lat, lon;
            LatLonOf(doc, ap.position[0], ap.position[1], lat, lon, ui);
            Pair(w, "latlon", lat, lon);
        }
        // The robust estimator's radius (m); null without one.
        if (ap.uncertaintyM > 0.0)
            w.Field("uncertainty_m", ap.uncertaintyM);
        else
            w.Key("uncertainty_m").Null();
        w.Field("slope", ap.slope)
            .Field("intercept", ap.intercept)
            .Field("sigma", ap.sigma)
            .Field("valid", ap.valid != 0)
            .Field("rows", ap.rows)
            .Field("columns", ap.columns)
            .Field("minValue", ap.minValue)
            .Field("maxValue", ap.maxValue);
        if (withMatrix) {
            w.Key("matrix").BeginArray();
            for (double v : ap.matrix)
                w.Value(v);
            w.EndArray();
        }
        w.EndObject();
    }
    w.EndArray();

    w.Key("markers").BeginArray();
    for (const CAPMarker& m : doc.markers) {
        w.BeginObject()
            .Field("mac", MacText(m.bssid))
            .Field("ssid", SsidText(m.ssid))
            .Field("channel", static_cast<std::int64_t>(m.channel))
            .Field("name", m.name);
        Pair(w, "position", m.y, m.x);
        w.EndObject();
    }
    w.EndArray();

    w.Key("sources").BeginArray();
    for (const CISMarker& s : doc.sources) {
        w.BeginObject()
            .Field("name", s.name)
            .Field("frequency", s.frequency)
            .Field("bandwidth", s.bandwidth);
        Pair(w, "position", s.y, s.x);
        w.EndObject();
    }
    w.EndArray();

    if (withMatrix) {
        w.Key("points").BeginArray();
        for (const CDataPoint& p : doc.points)
            w.BeginArray().Value(p.northing).Value(p.easting).EndArray();
        w.EndArray();
    }
    w.EndObject();
}

// A number for the table; non-finite values show as "-".
std::string Number(double value, int width, int decimals) {
    if (!std::isfinite(value))
        return Format("%*s", width, "-");
    return Format("%*.*f", width, decimals, value);
}

void WriteTable(const CTarvoAnalyzerDoc& doc, std::ostream& out) {
    out << Format("%d APs from %d points; resolution %s m\n", doc.aps.GetSize(),
                  doc.points.GetSize(), Number(doc.Resolution, 0, 3).c_str());
    if (const int skipped = SkippedLocations(doc); skipped > 0)
        out << Format("%d locations skipped: latitude or longitude out of range\n", skipped);
    out << "Positions by the " << EstimatorName(doc.estimator) << " estimator\n";
    out << "Maps by the " << CoverageModelName(doc.coverageModel) << " coverage model\n";
    // The robust estimator's radius gets a column of its own after the position.
    const bool radius = doc.estimator == EstimatorKind::Robust;
    out << Format("%-17s  %-32s  %4s  %6s  %6s  %10s  %10s  %s%8s  %9s  %6s  %s\n", "MAC", "SSID",
                  "Chan", "N1", "N2", "Y (m)", "X (m)", radius ? "Radius (m)  " : "", "Slope",
                  "Intercept", "Sigma", "Valid");
    for (const CAPInfo& ap : doc.aps) {
        const std::string radiusText =
            radius ? Number(ap.uncertaintyM > 0.0 ? ap.uncertaintyM : kNaN, 10, 2) + "  " : "";
        out << Format("%-17s  %-32s  %4d  %6d  %6d  %s  %s  %s%s  %s  %s  %s\n",
                      MacText(ap.bssid).c_str(), SsidText(ap.ssid).c_str(), ap.channel,
                      ap.samples.GetSize(), ap.filteredSamples.GetSize(),
                      Number(ap.position[0], 10, 2).c_str(), Number(ap.position[1], 10, 2).c_str(),
                      radiusText.c_str(), Number(ap.slope, 8, 2).c_str(),
                      Number(ap.intercept, 9, 2).c_str(), Number(ap.sigma, 6, 2).c_str(),
                      ap.valid ? "yes" : "no");
    }
}

int RunProcess(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    std::set<std::string> valueOptions = StudyValueOptions();
    valueOptions.insert({"--json", kSaveOption, kThreadsOption});
    std::set<std::string> flags = StudyFlags();
    flags.insert("--with-matrix");
    CArgs args(rawArgs, valueOptions, flags);
    auto options = StudyOptionsOrComplain(args, "process", io.err);
    const auto json = args.Get("--json");
    if (!options || !StudyOutputsAreFree("process", *options, args.Get(kSaveOption), json, io.err))
        return 2;
    const auto threads = ThreadsOrComplain(args, "process", io.err);
    if (!threads)
        return 2;
    options->threads = *threads;

    CTarvoAnalyzerDoc doc;
    CStderrUi ui(io.err, io.progress);
    if (!OpenStudy(doc, *options, ui)) {
        io.err << "tarvo process: nothing was loaded\n";
        return 1;
    }
    if (!SaveStudyIfAsked(doc, args.Get(kSaveOption), ui))
        return 1;

    if (!json) {
        WriteTable(doc, io.out);
        return ui.ExitStatus();
    }
    const int status = WriteJsonTarget(*json, "process", io.out, io.err, [&](std::ostream& stream) {
        WriteJson(doc, args.Has("--with-matrix"), stream, ui);
    });
    return status != 0 ? status : ui.ExitStatus();
}

const CRegisterCommand kRegister{
    {"process",
     "process [--map FILE.gpf|.lpf] [--no-merge] [--min-points N] "
     "[--estimator study|joint|robust] [--coverage-model study|survey] "
     "[--threads N] [--with-matrix] "
     "[--json OUT|-] [--save STUDY.tws] SURVEY.ssd...|STUDY.tws  load and estimate the APs",
     RunProcess,
     std::string("Loads the survey files, finds every AP and estimates its position and how\n"
                 "its signal falls off, then prints a table of the APs (or JSON).\n\n") +
         kStudyHelp + kThreadsHelp +
         "  --json OUT|-         the study as JSON, to a file or to stdout (-)\n"
         "  --with-matrix        add each AP's estimate matrix and the locations to the JSON\n"
         "  --save STUDY.tws     keep the whole study as a workspace\n"}};

} // namespace

} // namespace tarvo
