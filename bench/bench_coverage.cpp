// Site-wide coverage of the `large` sample study with every AP selected, at
// the finest resolution (200 points along the longer side).
//
//   BM_PlainCoverage: the plain reference (reference/PlainCoverage.h, also the
//     tests' oracle): one thread; per grid point and AP the distance array is
//     built, copied and bubbled three passes, once for the RSSI and once for
//     the level2 interpolation.
//   BM_CoverageGrid/1_thread: the program's evaluation (the three nearest
//     samples found through a grid of cells, shared by both interpolations)
//     on one core.
//   BM_CoverageGrid/all_threads: the same on every core, as ProcessCoverage
//     runs.
//   BM_ProcessCoverage: the whole command, contours included.

#include "BenchStudy.h"
#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "formats/ProjectionReader.h"
#include "reference/PlainCoverage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace tarvo {
namespace {

// The `large` study, written to a temporary folder, loaded, every AP
// selected and the grid sized at the finest resolution. Built once.
const CTarvoAnalyzerDoc& LargeStudy() {
    static const std::unique_ptr<CTarvoAnalyzerDoc> doc = [] {
        auto d = std::make_unique<CTarvoAnalyzerDoc>();
        CSilentUi ui;
        LoadLargeStudyOrExit(*d, ui, "coverage");
        for (CAPInfo& ap : d->aps)
            ap.selected = 1;
        ComputeViewExtent(*d, 0, 0);
        d->Resolution = 0.0; // clamped up to the finest step
        SizeCoverageGrid(*d);
        return d;
    }();
    return *doc;
}

void Counters(benchmark::State& state, const CTarvoAnalyzerDoc& doc) {
    long long samples = 0;
    for (const CAPInfo& ap : doc.aps)
        samples += ap.filteredSamples.GetSize();
    state.counters["rows"] = doc.CoverageRows;
    state.counters["cols"] = doc.CoverageCols;
    state.counters["aps"] = doc.aps.GetSize();
    state.counters["thinned"] = static_cast<double>(samples);
}

void BM_PlainCoverage(benchmark::State& state) {
    const CTarvoAnalyzerDoc& doc = LargeStudy();
    for (auto _ : state) {
        test::CPlainCoverage values = test::PlainCoverage(doc);
        benchmark::DoNotOptimize(values.strength.data());
    }
    Counters(state, doc);
}

void BM_CoverageGrid(benchmark::State& state, unsigned threads) {
    const CTarvoAnalyzerDoc& doc = LargeStudy();
    CNullProgress progress;
    for (auto _ : state) {
        CCoverageGridValues values = ComputeCoverageGrid(doc, progress, threads);
        benchmark::DoNotOptimize(values.strength.data());
    }
    Counters(state, doc);
}

void BM_ProcessCoverage(benchmark::State& state) {
    const CTarvoAnalyzerDoc& loaded = LargeStudy();
    CSilentUi ui;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CTarvoAnalyzerDoc>(loaded);
        doc->Resolution = 0.0;
        state.ResumeTiming();
        if (ProcessCoverage(*doc, ui) != CoverageOutcome::Computed)
            state.SkipWithError("coverage was not computed");
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}

// Wall-clock time, with the CPU time of the whole process (all threads).
BENCHMARK(BM_PlainCoverage)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_CoverageGrid, 1_thread, 1u)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_CoverageGrid, all_threads, 0u)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_ProcessCoverage)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

} // namespace
} // namespace tarvo

BENCHMARK_MAIN();
