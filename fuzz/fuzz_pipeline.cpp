// libFuzzer harness for the whole load-and-estimate road of a study: the
// first input byte picks the map (none, a small linear or a small GPS
// projection, opened from its file), the rest is one survey file, written
// to a file and loaded through the real readers and LoadCollection. Any
// input must end without a fault, and what it leaves must hang together:
// every AP matrix fits its grid and its share of the study's matrix budget,
// and an AP with a valid model has a finite one.

#include "analysis/ApGridLimit.h"
#include "analysis/ApModel.h"
#include "analysis/CollectionLoader.h"
#include "analysis/Estimation.h"
#include "analysis/ProjectionOpen.h"
#include "formats/BitmapFile.h"
#include "formats/FileIo.h"
#include "formats/ProjectionWriter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

using namespace tarvo;

std::string TempPath(const char* name) {
    return "/tmp/tarvo-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

// A 16 x 12 map; the linear one at 0.5 m per pixel, the GPS one north
// aligned at 1e-5 degree per pixel with its top-left corner at 60 N 25 E.
std::string WriteProjection(ProjectionFileKind kind) {
    ProjectionMatrix4 m{};
    if (kind == ProjectionFileKind::Linear) {
        m[0][0] = 0.5;
        m[1][1] = 0.5;
    } else {
        m[0][1] = 1e5;
        m[0][3] = -1e5 * 25.0;
        m[1][0] = -1e5;
        m[1][3] = 1e5 * 60.0;
    }
    m[2][2] = m[3][3] = 1.0;
    const std::vector<std::uint8_t> rgb(16 * 12 * 3, 180);
    const std::string path = TempPath(kind == ProjectionFileKind::Linear ? "map.lpf" : "map.gpf");
    if (!WriteProjectionFile(path, kind, 0, m, EncodeBitmapFile(16, 12, rgb)))
        std::abort();
    return path;
}

struct CFixture {
    std::string linearMap = WriteProjection(ProjectionFileKind::Linear);
    std::string gpsMap = WriteProjection(ProjectionFileKind::Gps);
    std::string survey = TempPath("walk.ssd");

    ~CFixture() {
        for (const std::string* path : {&linearMap, &gpsMap, &survey})
            std::remove(path->c_str());
    }
};

void CheckAp(const CTarvoAnalyzerDoc& doc, const CAPInfo& ap) {
    if (!ap.matrix.IsEmpty() && ap.matrix.size() != static_cast<std::size_t>(ap.rows) *
                                                        static_cast<std::size_t>(ap.columns))
        std::abort();
    if (ap.matrix.size() > ApMatrixCellLimit(ap.samples.GetSize(), StudySampleCount(doc)))
        std::abort();
    if (ap.valid && !(std::isfinite(ap.slope) && std::isfinite(ap.intercept) &&
                      std::isfinite(ap.sigma) && ap.slope <= kValidSlope))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CFixture fixture;
    if (size < 1)
        return 0;
    CSilentUi ui;
    CTarvoAnalyzerDoc doc;
    const int map = data[0] % 3;
    if (map == 1 && !OpenProjectionFile(doc, fixture.linearMap, ui))
        std::abort();
    if (map == 2 && !OpenProjectionFile(doc, fixture.gpsMap, ui))
        std::abort();
    if (!WriteFileAtomically(fixture.survey, {data + 1, size - 1}))
        std::abort();
    CDataFile entry;
    entry.title = "walk.ssd";
    entry.path = fixture.survey;
    doc.files.Add(entry);
    // One thread: a run per input, and results never depend on the count.
    if (LoadCollection(doc, ui, 1) != LoadOutcome::Loaded)
        return 0;
    for (const CAPInfo& ap : doc.aps)
        CheckAp(doc, ap);
    return 0;
}
