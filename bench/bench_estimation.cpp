// Collection loading and AP estimation on generated sample studies.
//
//   BM_LoadCollection/<scenario>/<threads>: "Process Files" as a whole:
//     reading the survey files, grouping, no-signal samples, thinning and
//     estimating every AP on <threads> threads (0: every core); the
//     projection is opened beforehand, outside the timing. Wall time.
//   BM_EstimateAll/<scenario>: the per-AP part alone on a loaded study.

#include "BenchStudy.h"
#include "analysis/CollectionLoader.h"
#include "analysis/Estimation.h"
#include "formats/ProjectionReader.h"
#include "model/Text.h"
#include "samples/SampleStudy.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <unistd.h>

namespace tarvo {
namespace {

// A scenario written once per run into a temporary folder.
struct CStudyOnDisk {
    std::filesystem::path dir;
    std::string projection;
    std::vector<std::string> walks;

    ~CStudyOnDisk() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

const CStudyOnDisk& StudyOnDisk(const std::string& scenario) {
    static std::map<std::string, std::unique_ptr<CStudyOnDisk>> studies;
    auto& slot = studies[scenario];
    if (slot)
        return *slot;
    slot = std::make_unique<CStudyOnDisk>();
    slot->dir = std::filesystem::temp_directory_path() /
                Format("tarvo-bench-%d-%s", static_cast<int>(::getpid()), scenario.c_str());
    const std::optional<CSampleStudy> study = GenerateSampleStudy(scenario, 1);
    std::string error;
    if (!study || !WriteSampleStudy(*study, slot->dir.string(), error)) {
        std::fprintf(stderr, "cannot write the %s study: %s\n", scenario.c_str(), error.c_str());
        std::exit(1);
    }
    slot->projection = (slot->dir / study->projectionFileName).string();
    for (const CSimulatedWalk& walk : study->walks)
        slot->walks.push_back((slot->dir / walk.fileName).string());
    return *slot;
}

void Prepare(CTarvoAnalyzerDoc& doc, const CStudyOnDisk& study, IUiServices& ui) {
    OpenStudyFilesOrExit(doc, study.projection, study.walks, ui);
}

void BM_LoadCollection(benchmark::State& state, const std::string& scenario) {
    const CStudyOnDisk& study = StudyOnDisk(scenario);
    CSilentUi ui;
    int aps = 0, points = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CTarvoAnalyzerDoc>();
        Prepare(*doc, study, ui);
        state.ResumeTiming();
        if (LoadCollection(*doc, ui, static_cast<unsigned>(state.range(0))) != LoadOutcome::Loaded)
            state.SkipWithError("the study did not load");
        aps = doc->aps.GetSize();
        points = doc->points.GetSize();
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["aps"] = aps;
    state.counters["points"] = points;
}

void BM_EstimateAll(benchmark::State& state, const std::string& scenario) {
    const CStudyOnDisk& study = StudyOnDisk(scenario);
    CSilentUi ui;
    CTarvoAnalyzerDoc doc;
    Prepare(doc, study, ui);
    if (LoadCollection(doc, ui) != LoadOutcome::Loaded) {
        state.SkipWithError("the study did not load");
        return;
    }
    for (auto _ : state)
        EstimateAps(doc, ui.Progress());
    state.counters["aps"] = doc.aps.GetSize();
}

BENCHMARK_CAPTURE(BM_LoadCollection, office, std::string("office"))
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_LoadCollection, campus, std::string("campus"))
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// One thread against every core.
BENCHMARK_CAPTURE(BM_LoadCollection, large, std::string("large"))
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_EstimateAll, large, std::string("large"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace
} // namespace tarvo

BENCHMARK_MAIN();
