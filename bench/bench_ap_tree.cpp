// Filling the control panel's AP tree for the `large` sample study (120 APs,
// grouped by SSID), as after loading or opening a workspace, and bringing it
// up to date in place, as after a tick. The tree is a real widget on an
// offscreen QApplication.
//
//   BM_FillApTree/ssid, /channel: empty the tree and insert every group and
//     AP with its swatch and check, expanded.
//   BM_RefreshApTree: checks, swatches and texts of the same tree anew.

#include "BenchStudy.h"
#include "model/ApGroups.h"
#include "panel/ApTreeCtrl.h"
#include "panel/PanelTrees.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace tarvo {
namespace {

// The `large` study, loaded once, every other AP selected.
CTarvoAnalyzerDoc& LargeStudy() {
    static const std::unique_ptr<CTarvoAnalyzerDoc> doc = [] {
        auto d = std::make_unique<CTarvoAnalyzerDoc>();
        CSilentUi ui;
        LoadLargeStudyOrExit(*d, ui, "ap-tree");
        for (int i = 0; i < d->aps.GetSize(); i += 2)
            d->aps[i].selected = 1;
        return d;
    }();
    return *doc;
}

void BM_FillApTree(benchmark::State& state, bool bySsid) {
    CTarvoAnalyzerDoc& doc = LargeStudy();
    doc.sortBySsid = bySsid;
    BuildApGroups(doc);
    CApTreeCtrl tree;
    tree.resize(195, 165);
    tree.show();
    for (auto _ : state) {
        FillApTree(tree, doc);
        QApplication::processEvents(); // the layout and paint that follow
        benchmark::DoNotOptimize(tree.topLevelItemCount());
    }
    state.counters["aps"] = doc.aps.GetSize();
    state.counters["groups"] = tree.topLevelItemCount();
}
BENCHMARK_CAPTURE(BM_FillApTree, ssid, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FillApTree, channel, false)->Unit(benchmark::kMillisecond);

void BM_RefreshApTree(benchmark::State& state) {
    CTarvoAnalyzerDoc& doc = LargeStudy();
    doc.sortBySsid = true;
    BuildApGroups(doc);
    CApTreeCtrl tree;
    tree.resize(195, 165);
    tree.show();
    FillApTree(tree, doc);
    int flip = 0;
    for (auto _ : state) {
        doc.aps[0].selected = ++flip % 2;
        RefreshApTree(tree, doc);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RefreshApTree)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tarvo

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
