// tarvo map: writes the map bitmap of a projection file; and the `tarvo
// info` section for projection files.

#include "analysis/ProjectionOpen.h"
#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/InfoSections.h"
#include "formats/FileIo.h"
#include "formats/Json.h"
#include "formats/ProjectionReader.h"
#include "model/Text.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace tarvo {

namespace {

std::string LowerExtension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// A projection file is known by its magic, or by its extension (so that a
// damaged one is reported as a projection, not as a survey).
bool IsProjectionFile(const std::string& path) {
    const auto head = ReadFileHead(path, 8);
    if (head && ProjectionKindOfMagic(*head))
        return true;
    const std::string ext = LowerExtension(path);
    return ext == ".gpf" || ext == ".lpf";
}

bool PrintProjection(const std::string& path, bool json, CJsonWriter* writer, CCommandIo& io) {
    CTarvoAnalyzerDoc doc;
    CStderrUi ui(io.err);
    if (!OpenProjectionFile(doc, path, ui))
        return false;
    const bool gps = doc.projectionKind == kProjectionGps;
    if (json) {
        writer->BeginObject()
            .Field("path", path)
            .Field("kind", "projection")
            .Field("projection", gps ? "GPS" : "linear")
            .Field("subtype", static_cast<int>(doc.projectionSubtype));
        writer->Key("matrix").BeginArray();
        for (const auto& row : doc.ProjectionMatrix) {
            writer->BeginArray();
            for (double v : row)
                writer->Value(v);
            writer->EndArray();
        }
        writer->EndArray()
            .Field("width", doc.ImageWidth)
            .Field("height", doc.ImageHeight)
            .Field("scaleX", doc.SiteScaleX)
            .Field("scaleY", doc.SiteScaleY)
            .Key("mapRectangle")
            .BeginObject()
            .Field("originY", doc.mapOriginY)
            .Field("originX", doc.mapOriginX)
            .Field("height", doc.MapExtentHeight)
            .Field("width", doc.MapExtentWidth)
            .EndObject()
            .Field("bitmapBytes", static_cast<std::int64_t>(doc.mapBytes.size()))
            .EndObject();
        return true;
    }
    io.out << path << '\n'
           << "  projection:     " << (gps ? "GPS" : "linear") << ", subtype "
           << static_cast<int>(doc.projectionSubtype) << '\n'
           << "  matrix:\n";
    for (const auto& row : doc.ProjectionMatrix)
        io.out << "    " << Format("%16.9g %16.9g %16.9g %16.9g", row[0], row[1], row[2], row[3])
               << '\n';
    io.out << "  image:          " << doc.ImageWidth << " x " << doc.ImageHeight << " pixels ("
           << doc.mapBytes.size() << " bytes)\n"
           << "  scale:          " << Format("%.6g x %.6g", doc.SiteScaleX, doc.SiteScaleY)
           << " m per pixel\n"
           << "  map rectangle:  origin (" << Format("%g, %g", doc.mapOriginY, doc.mapOriginX)
           << "), " << Format("%.3f x %.3f", doc.MapExtentHeight, doc.MapExtentWidth)
           << " m (height x width)\n";
    return true;
}

const CRegisterInfoSection kInfo{CInfoSection{IsProjectionFile, PrintProjection}};

int RunMap(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    CArgs args(rawArgs, {"--out"}, {});
    const auto out = args.Get("--out");
    if (!args.Ok() || args.Positional().size() != 1 || !out) {
        io.err << "tarvo map: "
               << (args.Ok() ? "give one projection file and --out MAP.bmp" : args.Error()) << '\n';
        return 2;
    }
    // The map is a bitmap file: under another image name it would mislead.
    if (LowerExtension(*out) != ".bmp") {
        io.err << "tarvo map: --out must name a .bmp file: the map is written as a bitmap\n";
        return 2;
    }
    if (!OutputIsFree("map", *out, args.Positional(), io.err))
        return 2;
    CTarvoAnalyzerDoc doc;
    CStderrUi ui(io.err);
    if (!OpenProjectionFile(doc, args.Positional()[0], ui))
        return 1;
    if (CWriteFailure failure; !WriteFileAtomically(*out, doc.mapBytes, &failure)) {
        io.err << "tarvo map: " << WriteFailureText(*out, failure) << '\n';
        return 1;
    }
    io.out << *out << "  (" << doc.ImageWidth << " x " << doc.ImageHeight << " pixels)\n";
    return 0;
}

const CRegisterCommand kRegister{
    {"map", "map FILE.gpf|FILE.lpf --out MAP.bmp   write the map bitmap of a projection", RunMap,
     "Writes the map picture that a projection file holds, as the bitmap file it is.\n\n"
     "  FILE.gpf|FILE.lpf    a geographic (.gpf) or floor-plan (.lpf) projection file\n"
     "  --out MAP.bmp        the bitmap to write\n"}};

} // namespace

} // namespace tarvo
