// libFuzzer harness for the projection readers: any input must be read or
// refused without a fault; a refused input leaves the document untouched,
// and a map that was read writes out and reads back to the same bitmap.

#include "analysis/ProjectionOpen.h"
#include "formats/ProjectionReader.h"
#include "formats/ProjectionWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    const std::span<const std::uint8_t> file(data, size);
    CSilentUi ui;
    for (ProjectionFileKind kind : {ProjectionFileKind::Gps, ProjectionFileKind::Linear}) {
        CTarvoAnalyzerDoc doc;
        const bool read = ReadProjection(doc, file, kind, 800, 600, ui);
        if (!read) {
            if (doc.mapLoaded || !doc.mapBytes.empty())
                std::abort();
            continue;
        }
        const CProjectionParse parse = ParseProjection(file, kind);
        if (parse.status != ProjectionParseStatus::Ok || doc.mapBytes != parse.contents.bitmap)
            std::abort();
        const auto written =
            EncodeProjectionFile(kind, parse.contents.subtype, parse.contents.matrix, doc.mapBytes);
        const CProjectionParse again = ParseProjection(written, kind);
        if (again.status != ProjectionParseStatus::Ok || again.contents.bitmap != doc.mapBytes)
            std::abort();
    }
    return 0;
}
