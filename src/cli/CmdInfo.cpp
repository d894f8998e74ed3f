// tarvo info: a summary of survey files (and of the other file kinds that
// the program reads, as their readers register here).

#include "cli/Args.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/InfoSections.h"
#include "formats/Json.h"
#include "formats/SsdReader.h"
#include "model/Text.h"

#include <ostream>
#include <set>
#include <sstream>

namespace tarvo {

namespace {

struct CSurveySummary {
    std::string created;
    int gpsFix = 0, gpsNoFix = 0, linear = 0;
    long long samples = 0;
    int markers = 0, sources = 0, distinctMacs = 0;
    int skipped = 0; // GPS locations off the globe, left out
};

CSurveySummary Summarise(const CTarvoAnalyzerDoc& doc) {
    CSurveySummary s;
    s.created = doc.files[0].created;
    std::set<MacAddress> macs;
    for (const CDataPoint& p : doc.points) {
        if (p.kind == kSsdGpsFix)
            ++s.gpsFix;
        else if (p.kind == kSsdGpsNoFix)
            ++s.gpsNoFix;
        else
            ++s.linear;
        s.samples += p.samples.GetSize();
        for (const CDataSsd& sample : p.samples)
            macs.insert(sample.bssid);
    }
    s.markers = doc.markers.GetSize();
    s.sources = doc.sources.GetSize();
    s.distinctMacs = static_cast<int>(macs.size());
    s.skipped = doc.files[0].skippedLocations;
    return s;
}

bool InfoSurvey(const std::string& path, bool json, CJsonWriter* writer, CCommandIo& io) {
    CTarvoAnalyzerDoc doc;
    CDataFile entry;
    entry.title = FileNameOf(path);
    entry.path = path;
    doc.files.Add(entry);
    CStderrUi ui(io.err);
    if (!OpenAndReadSurveyFile(doc, 0, ui))
        return false;
    const CSurveySummary s = Summarise(doc);
    std::string created = s.created;
    if (!created.empty() && created.back() == '\n')
        created.pop_back();
    if (json) {
        writer->BeginObject()
            .Field("path", path)
            .Field("kind", "survey")
            .Field("created", created)
            .Key("locations")
            .BeginObject()
            .Field("gpsFix", s.gpsFix)
            .Field("gpsNoFix", s.gpsNoFix)
            .Field("linear", s.linear)
            .EndObject()
            .Field("samples", static_cast<std::int64_t>(s.samples))
            .Field("markedAps", s.markers)
            .Field("interferenceSources", s.sources)
            .Field("distinctMacs", s.distinctMacs);
        if (s.skipped > 0)
            writer->Field("skippedLocations", s.skipped);
        writer->EndObject();
    } else {
        io.out << path << '\n'
               << "  created:              " << created << '\n'
               << "  locations:            " << s.gpsFix + s.gpsNoFix + s.linear << " (GPS fix "
               << s.gpsFix << ", GPS no fix " << s.gpsNoFix << ", linear " << s.linear << ")\n"
               << "  samples:              " << s.samples << '\n'
               << "  marked APs:           " << s.markers << '\n'
               << "  interference sources: " << s.sources << '\n'
               << "  distinct MACs:        " << s.distinctMacs << '\n';
        if (s.skipped > 0)
            io.out << "  skipped locations:    " << s.skipped
                   << " (latitude or longitude out of range)\n";
    }
    return true;
}

int RunInfo(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    CArgs args(rawArgs, {}, {"--json"});
    if (!args.Ok() || args.Positional().empty()) {
        io.err << "tarvo info: " << (args.Ok() ? "no files given" : args.Error()) << '\n';
        return 2;
    }
    const bool json = args.Has("--json");
    CJsonWriter writer(io.out);
    if (json)
        writer.BeginArray();
    bool allRead = true;
    for (const std::string& path : args.Positional()) {
        // Each message names the file it is about.
        std::ostringstream messages;
        CCommandIo fileIo{io.out, messages, io.progress};
        bool handled = false;
        for (const CInfoSection& section : InfoSections()) {
            if (section.accepts(path)) {
                allRead = section.print(path, json, json ? &writer : nullptr, fileIo) && allRead;
                handled = true;
                break;
            }
        }
        if (!handled)
            allRead = InfoSurvey(path, json, json ? &writer : nullptr, fileIo) && allRead;
        std::istringstream lines(messages.str());
        for (std::string line; std::getline(lines, line);)
            io.err << path << ": " << line << '\n';
    }
    if (json) {
        writer.EndArray();
        io.out << '\n';
    }
    return allRead ? 0 : 1;
}

const CRegisterCommand kRegister{
    {"info", "info [--json] FILE...   summarise survey, projection and workspace files", RunInfo,
     "Summarises each file: a survey (.ssd), a projection (.gpf, .lpf) or a workspace\n"
     "(.tws), known by its content or its name. Messages start with the file's name.\n\n"
     "  --json               one JSON array with an object per file read\n"}};

} // namespace

std::vector<CInfoSection>& InfoSections() {
    static std::vector<CInfoSection> sections;
    return sections;
}

} // namespace tarvo
