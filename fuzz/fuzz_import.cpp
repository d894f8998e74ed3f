// libFuzzer harness for the import readers: any text must be read or
// refused without a fault by every reader (the generic table, the phone
// log, our own table, an iw manifest whose scans are the same text, and a
// bare iw scan). What is read must hang together: rows and problems name
// real lines, scan entries carry finite levels, and a walk assembled from
// the rows writes a survey file that reads back to the same locations.

#include "formats/SsdReader.h"
#include "import/IwManifest.h"
#include "import/IwScan.h"
#include "import/MeasurementCsv.h"
#include "import/SurveyTableText.h"
#include "import/WalkAssembly.h"
#include "import/WigleCsv.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace tarvo;

// A manifest names scans; each gets the input again, a few times only, so
// that a run stays linear in the input.
constexpr int kScansLoaded = 4;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckRead(const CImportRead& read, int lines) {
    for (const CImportRow& row : read.rows) {
        Check(row.line >= 1 && row.line <= lines);
        Check(std::isfinite(row.first) && std::isfinite(row.second));
    }
    for (const CImportProblem& problem : read.refused)
        Check(problem.line >= 0 && problem.line <= lines && !problem.reason.empty());
}

void CheckWalkReadsBack(const std::vector<CImportRead>& reads, std::optional<CImportPlan> plan) {
    CWalkOptions options;
    options.plan = plan;
    options.skipBad = true;
    const CWalk walk = AssembleWalk(reads, options);
    if (!walk.Ok())
        return;
    int samples = 0;
    for (const CDataPoint& point : walk.locations) {
        Check(point.sampleCount == point.samples.GetSize());
        samples += point.samples.GetSize();
    }
    Check(samples == walk.samples);
    CTarvoAnalyzerDoc doc;
    CDataFile entry;
    entry.title = entry.path = "walk.ssd";
    doc.files.Add(entry);
    CSilentUi ui;
    Check(ReadSurveyFile(doc, WalkFileBytes(walk, 0), 0, ui));
    Check(doc.points.Vector() == walk.locations);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    int lines = 1;
    for (char c : text)
        lines += c == '\n' || c == '\r';

    const CIwScan scan = ParseIwScan(text);
    for (const CIwBss& bss : scan.entries)
        Check(std::isfinite(bss.signalDbm) && bss.line >= 1 && bss.line <= lines);

    int loaded = 0;
    const ScanFileLoader load = [&](const std::string&) -> std::optional<std::string> {
        if (loaded++ >= kScansLoaded)
            return std::nullopt;
        return text;
    };
    std::vector<CImportRead> reads = {ReadMeasurementCsv(text, "in.csv"),
                                      ReadWigleCsv(text, "in.csv"), ReadSurveyTable(text, "in.csv"),
                                      ReadIwManifest(text, "in.csv", "", load)};
    for (const CImportRead& read : reads)
        CheckRead(read, lines); // a manifest's scans are the same text

    // Each input alone, on a 1000 x 1000 plan of 5 cm pixels and without.
    CImportPlan plan;
    plan.width = plan.height = 1000;
    plan.scaleX = plan.scaleY = 0.05;
    for (const CImportRead& read : reads) {
        CheckWalkReadsBack({read}, plan);
        CheckWalkReadsBack({read}, std::nullopt);
    }
    return 0;
}
