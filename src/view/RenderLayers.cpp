#include "view/RenderLayers.h"

#include "analysis/Coordinates.h"
#include "view/LayerDrawing.h"
#include "view/Overlays.h"
#include "view/ViewBitmap.h"
#include "view/ViewGeometry.h"

#include <QPainter>

#include <algorithm>

namespace tarvo {

namespace {

constexpr QPoint kCompassAt{100, 5};

struct CRenderPlan {
    int displayType = kDisplayNone;
    bool path = false;
    bool apIcons = false;
    bool markedApIcons = false;
    bool interferenceIcons = false;
    bool labels = false;    // coordinate labels
    bool gridLines = false; // grid lines of the scale
    bool offscreen = false; // samples drawn before the composition
};

// Steps shared by the window and the report pictures; returns the target.
QImage PaintLayers(CTarvoAnalyzerDoc& doc, int wc, int hc, const CRenderPlan& plan,
                   IUiServices& ui) {
    RecomputeZoomSize(doc.view);
    const CLayerContext ctx(doc, wc, hc);
    QImage target = WhiteImage(wc, hc);
    QImage canvas = WhiteImage(wc, hc);
    DrawMapLayer(ctx, {&target, &canvas});

    if (doc.processed) {
        switch (plan.displayType) {
        case kDisplayApSamples:
            if (plan.offscreen)
                DrawApSamples(ctx, canvas);
            break;
        case kDisplayReliability:
            DrawReliabilityRings(ctx, canvas);
            break;
        case kDisplayApBands:
            DrawApBands(ctx, canvas);
            break;
        case kDisplayStrengthBands:
        case kDisplayApCountBands:
            DrawSiteBands(ctx, plan.displayType, canvas);
            break;
        default:
            break;
        }
    }
    // Where no coverage was drawn the canvas equals the map, so the map
    // shows unchanged whatever the opacity.
    BlendOnto(target, canvas, target.rect(), std::clamp(doc.coverageOpacity, 0, 255));

    if (doc.processed) {
        if (plan.path)
            DrawWalkPath(ctx, target);
        DrawIconLayers(ctx, target, plan.apIcons, plan.markedApIcons, plan.interferenceIcons);
    }
    if (doc.processed && (plan.labels || plan.gridLines)) {
        QPainter painter(&target);
        DrawCoordinateScale(ctx, painter, plan.labels, plan.gridLines, ui);
    }
    if (doc.processed && plan.displayType == kDisplayApSamples && !plan.offscreen)
        DrawApSamples(ctx, target);
    return target;
}

} // namespace

QImage RenderLayers(CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui) {
    wc = std::max(wc, 1);
    hc = std::max(hc, 1);
    CRenderPlan plan;
    plan.displayType = doc.coverageDisplayType;
    plan.path = doc.pathShown;
    plan.apIcons = doc.apIconsShown;
    plan.markedApIcons = doc.markedApIconsShown;
    plan.interferenceIcons = doc.interferenceIconsShown;
    plan.labels = doc.scaleShown;
    plan.gridLines = doc.scaleShown;
    if (!doc.legendShown)
        UpdateScrollBarVisibility(doc.view);
    QImage target = PaintLayers(doc, wc, hc, plan, ui);

    if (doc.legendShown) {
        const QImage legend = DrawLegend(doc, doc.coverageDisplayType);
        if (!legend.isNull()) {
            QPainter painter(&target);
            painter.drawImage(wc - legend.width(), 1, legend);
        }
        UpdateScrollBarVisibility(doc.view);
    }
    if (doc.view.compassShown) {
        const QImage compass = DrawCompass(doc, wc, hc, ui);
        QPainter painter(&target);
        painter.drawImage(kCompassAt, compass);
    }
    doc.lastViewBitmap = ToViewBitmap(target);
    return target;
}

void RenderOffscreen(QImage& target, CTarvoAnalyzerDoc& doc, int displayType, bool withPath,
                     bool withApIcons, bool withMarkedApIcons, bool withInterferenceIcons,
                     IUiServices& ui) {
    if (withPath)
        FitExtentToMap(doc, kOffscreenWidth, kOffscreenHeight);
    else
        ComputeViewExtent(doc, kOffscreenWidth, kOffscreenHeight);
    CRenderPlan plan;
    plan.displayType = displayType;
    plan.path = withPath;
    plan.apIcons = withApIcons;
    plan.markedApIcons = withMarkedApIcons;
    plan.interferenceIcons = withInterferenceIcons;
    plan.labels = true;
    plan.gridLines = doc.scaleShown;
    plan.offscreen = true;
    target = PaintLayers(doc, kOffscreenWidth, kOffscreenHeight, plan, ui);
}

} // namespace tarvo
