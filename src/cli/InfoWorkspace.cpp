// tarvo info STUDY.tws: a summary of a workspace file.

#include "cli/CliUi.h"
#include "cli/InfoSections.h"
#include "formats/FileIo.h"
#include "formats/Json.h"
#include "formats/WorkspaceCommands.h"
#include "formats/WorkspaceReader.h"
#include "model/LittleEndian.h"

#include <algorithm>
#include <ostream>

namespace tarvo {

namespace {

// The first eight bytes of a file (magic and version), or fewer.
std::vector<std::uint8_t> FileHead(const std::string& path) {
    return ReadFileHead(path, 8).value_or(std::vector<std::uint8_t>{});
}

const char* ProjectionName(std::int32_t kind) {
    switch (kind) {
    case kProjectionGps:
        return "GPS";
    case kProjectionLinear:
        return "linear";
    default:
        return "none";
    }
}

struct CWorkspaceSummary {
    std::uint32_t version = 0;
    int gpsFix = 0, gpsNoFix = 0, linear = 0;
    long long samples = 0;
    int validAps = 0, selectedAps = 0;
};

CWorkspaceSummary Summarise(const CTarvoAnalyzerDoc& doc, const std::vector<std::uint8_t>& head) {
    CWorkspaceSummary s;
    if (head.size() >= 8)
        s.version = GetU32(head.data() + 4);
    for (const CDataPoint& p : doc.points) {
        if (p.kind == 0)
            ++s.gpsFix;
        else if (p.kind == 1)
            ++s.gpsNoFix;
        else
            ++s.linear;
        s.samples += p.samples.GetSize();
    }
    for (const CAPInfo& ap : doc.aps) {
        s.validAps += ap.valid != 0;
        s.selectedAps += ap.selected != 0;
    }
    return s;
}

void PrintJson(const std::string& path, const CTarvoAnalyzerDoc& doc, const CWorkspaceSummary& s,
               CJsonWriter& w) {
    w.BeginObject()
        .Field("path", path)
        .Field("kind", "workspace")
        .Field("version", static_cast<std::int64_t>(s.version));
    if (doc.mapLoaded && !doc.mapBytes.empty()) {
        w.Key("map")
            .BeginObject()
            .Field("projection", ProjectionName(doc.projectionKind))
            .Field("subtype", static_cast<int>(doc.projectionSubtype))
            .Field("width", doc.ImageWidth)
            .Field("height", doc.ImageHeight)
            .Field("imageBytes", static_cast<std::int64_t>(doc.mapBytes.size()))
            .Field("projectionFile", doc.projectionPath)
            .EndObject();
    } else {
        w.Key("map").Null();
    }
    w.Key("files").BeginArray();
    for (const CDataFile& f : doc.files)
        w.BeginObject()
            .Field("title", f.title)
            .Field("path", f.path)
            .Field("selected", f.selected != 0)
            .Field("points", f.pointCount)
            .EndObject();
    w.EndArray();
    w.Key("locations")
        .BeginObject()
        .Field("gpsFix", s.gpsFix)
        .Field("gpsNoFix", s.gpsNoFix)
        .Field("linear", s.linear)
        .EndObject()
        .Field("samples", static_cast<std::int64_t>(s.samples))
        .Key("aps")
        .BeginObject()
        .Field("count", doc.aps.GetSize())
        .Field("valid", s.validAps)
        .Field("selected", s.selectedAps)
        .EndObject()
        .Field("markedAps", doc.markers.GetSize())
        .Field("interferenceSources", doc.sources.GetSize())
        .Field("processed", doc.processed);
    if (doc.coveragePresent)
        w.Key("coverage")
            .BeginObject()
            .Field("rows", doc.CoverageRows)
            .Field("columns", doc.CoverageCols)
            .Field("resolution", doc.Resolution)
            .EndObject();
    else
        w.Key("coverage").Null();
    w.Field("useFeet", doc.UseFeet)
        .Field("powerLowDbm", doc.PowerLow)
        .Field("powerHighDbm", doc.PowerHigh)
        .Field("minPointsForEstimate", doc.MinPointsForEstimate)
        .EndObject();
}

void PrintText(const std::string& path, const CTarvoAnalyzerDoc& doc, const CWorkspaceSummary& s,
               std::ostream& out) {
    out << path << '\n' << "  workspace version:    " << s.version << '\n';
    out << "  map:                  ";
    if (doc.mapLoaded && !doc.mapBytes.empty())
        out << ProjectionName(doc.projectionKind) << " projection, " << doc.ImageWidth << " x "
            << doc.ImageHeight << " pixels, " << doc.mapBytes.size() << " image bytes\n";
    else
        out << "none\n";
    if (!doc.projectionPath.empty())
        out << "  projection file:      " << doc.projectionPath << '\n';
    out << "  survey files:         " << doc.files.GetSize() << '\n';
    for (const CDataFile& f : doc.files)
        out << "    " << (f.selected ? "[x] " : "[ ] ") << f.path << " (" << f.pointCount
            << " points)\n";
    out << "  locations:            " << s.gpsFix + s.gpsNoFix + s.linear << " (GPS fix "
        << s.gpsFix << ", GPS no fix " << s.gpsNoFix << ", linear " << s.linear << ")\n"
        << "  samples:              " << s.samples << '\n'
        << "  APs:                  " << doc.aps.GetSize() << " (valid " << s.validAps
        << ", selected " << s.selectedAps << ")\n"
        << "  marked APs:           " << doc.markers.GetSize() << '\n'
        << "  interference sources: " << doc.sources.GetSize() << '\n'
        << "  processed:            " << (doc.processed ? "yes" : "no") << '\n'
        << "  coverage:             ";
    if (doc.coveragePresent)
        out << doc.CoverageRows << " x " << doc.CoverageCols << " grid, resolution "
            << doc.Resolution << '\n';
    else
        out << "none\n";
    out << "  units:                " << (doc.UseFeet ? "Ft" : "m") << '\n'
        << "  power range:          " << doc.PowerLow << " to " << doc.PowerHigh << " dBm\n";
}

bool PrintWorkspace(const std::string& path, bool json, CJsonWriter* writer, CCommandIo& io) {
    CTarvoAnalyzerDoc doc;
    CStderrUi ui(io.err);
    if (!OpenWorkspaceFile(doc, path, ui))
        return false;
    const CWorkspaceSummary s = Summarise(doc, FileHead(path));
    if (json)
        PrintJson(path, doc, s, *writer);
    else
        PrintText(path, doc, s, io.out);
    return true;
}

// A workspace is known by its extension or, whatever its name, its magic.
const CRegisterInfoSection kRegister{CInfoSection{IsWorkspaceFile, PrintWorkspace}};

} // namespace

} // namespace tarvo
