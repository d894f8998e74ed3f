// Repainting the map view of the `large` sample study (120 APs, 20,000
// locations) in a 1920 x 1080 view with strength bands, walk path and AP
// icons, zoomed in once so that the scroll bars show.
//
//   BM_PaintAfterLineScroll: one line step of the vertical bar, then a
//     synchronous repaint of the widget (crop of the cached layers, fixed
//     overlays, drawing into the window).
//   BM_PaintAfterPageScroll: a page step in alternate directions; the
//     cache reaches a page beyond the window on each side, so most steps
//     still only crop.
//   BM_RenderAfterChange: a document change, which renders every layer
//     again (the cost of a zoom click or an edit).
//
// With QT_SCALE_FACTOR=2 the same window stands on a high-density screen:
// the view then paints at twice the pixels on each axis.

#include "BenchStudy.h"
#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "mapview/DocumentHost.h"
#include "mapview/MapView.h"

#include <QApplication>
#include <QWindow>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace tarvo {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The large study loaded into doc, every AP selected, coverage computed.
void LoadLargeStudy(CTarvoAnalyzerDoc& doc) {
    CSilentUi ui;
    LoadLargeStudyOrExit(doc, ui, "paint");
    for (CAPInfo& ap : doc.aps)
        ap.selected = 1;
    if (ProcessCoverage(doc, ui) != CoverageOutcome::Computed) {
        std::fprintf(stderr, "cannot compute the large study's coverage\n");
        std::exit(1);
    }
}

// One window on the study, zoomed in once at its centre.
struct CPaintFixture {
    CSilentUi ui;
    CDocumentHost host;
    std::unique_ptr<CTarvoAnalyzerView> view;

    CPaintFixture() {
        host.setUiServices(&ui);
        CTarvoAnalyzerDoc& doc = host.doc();
        LoadLargeStudy(doc);
        doc.coverageDisplayType = kDisplayStrengthBands;
        doc.pathShown = true;
        doc.apIconsShown = true;
        view = std::make_unique<CTarvoAnalyzerView>(host);
        view->resize(kWidth, kHeight);
        view->show();
        // Painting starts once the window is exposed.
        while (!view->windowHandle() || !view->windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        const QSize client = view->ClientSize();
        ZoomInAt(doc.view, client.width() / 2, client.height() / 2, client.width(), client.height(),
                 ui);
        host.notify(kChangeStudy);
        view->repaint();
    }
};

CPaintFixture& Fixture() {
    static CPaintFixture fixture;
    return fixture;
}

void PaintAfterScrolls(benchmark::State& state, ScrollCode forward, ScrollCode back) {
    CPaintFixture& f = Fixture();
    f.view->Scroll(false, ScrollCode::Top);
    f.view->repaint();
    const int rendersBefore = f.view->LayerRenders();
    int step = 0;
    for (auto _ : state) {
        // Down for a while, then back up, so that the position stays inside.
        f.view->Scroll(false, (step++ / 8) % 2 == 0 ? forward : back);
        f.view->repaint();
    }
    state.counters["layer_renders"] = f.view->LayerRenders() - rendersBefore;
    state.counters["client_w"] = f.view->ClientSize().width();
    state.counters["client_h"] = f.view->ClientSize().height();
}

void BM_PaintAfterLineScroll(benchmark::State& state) {
    PaintAfterScrolls(state, ScrollCode::LineDown, ScrollCode::LineUp);
}

void BM_PaintAfterPageScroll(benchmark::State& state) {
    PaintAfterScrolls(state, ScrollCode::PageDown, ScrollCode::PageUp);
}

void BM_RenderAfterChange(benchmark::State& state) {
    CPaintFixture& f = Fixture();
    for (auto _ : state) {
        f.view->RerenderPicture();
        f.view->repaint();
    }
}

BENCHMARK(BM_PaintAfterLineScroll)->Unit(benchmark::kMillisecond)->Iterations(64);
BENCHMARK(BM_PaintAfterPageScroll)->Unit(benchmark::kMillisecond)->Iterations(16);
BENCHMARK(BM_RenderAfterChange)->Unit(benchmark::kMillisecond)->Iterations(4);

} // namespace
} // namespace tarvo

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
