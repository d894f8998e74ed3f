// libFuzzer harness for the survey-file reader: any input must be read or
// refused without a fault. What is read must hang together (each file's
// point count is the points it appended, each point keeps the samples its
// count says, GPS locations lie on the globe) and must write out and read
// back to the same locations.

#include "formats/SsdReader.h"
#include "formats/SsdWriter.h"

#include <cstdlib>

namespace {

bool OnTheGlobe(const tarvo::CDataPoint& p) {
    return p.northing >= -tarvo::kMaxLatitudeRaw && p.northing <= tarvo::kMaxLatitudeRaw &&
           p.easting >= -tarvo::kMaxLongitudeRaw && p.easting <= tarvo::kMaxLongitudeRaw;
}

tarvo::CTarvoAnalyzerDoc DocWithOneFile() {
    tarvo::CTarvoAnalyzerDoc doc;
    tarvo::CDataFile entry;
    entry.title = "walk.ssd";
    entry.path = "walk.ssd";
    doc.files.Add(entry);
    return doc;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    CSilentUi ui;
    CTarvoAnalyzerDoc doc = DocWithOneFile();
    if (!ReadSurveyFile(doc, {data, size}, 0, ui))
        return 0;
    if (doc.files[0].pointCount != doc.points.GetSize())
        std::abort();
    CSsdWriter writer(0);
    for (const CDataPoint& p : doc.points) {
        if (p.sampleCount != p.samples.GetSize())
            std::abort();
        if (p.kind != kSsdLinear && !OnTheGlobe(p))
            std::abort();
        writer.AddLocation(p);
    }
    CTarvoAnalyzerDoc again = DocWithOneFile();
    if (!ReadSurveyFile(again, writer.Bytes(), 0, ui) || again.points != doc.points)
        std::abort();
    return 0;
}
