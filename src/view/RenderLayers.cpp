#include "view/RenderLayers.h"

#include "analysis/Coordinates.h"
#include "view/LayerDrawing.h"
#include "view/Overlays.h"
#include "view/SurveyViews.h"
#include "view/ThroughputLayer.h"
#include "view/ViewBitmap.h"
#include "view/ViewGeometry.h"

#include <QPainter>

#include <algorithm>

namespace tarvo {

namespace {

constexpr QPoint kCompassAt{100, 5};

struct CRenderPlan {
    CMapLayers layers;
    bool labels = false;    // coordinate labels
    bool gridLines = false; // grid lines of the scale
};

// Steps shared by the window and the report pictures; returns the target.
QImage PaintLayers(CTarvoAnalyzerDoc& doc, int wc, int hc, const CRenderPlan& plan,
                   IUiServices& ui) {
    RecomputeZoomSize(doc.view);
    const CLayerContext ctx(doc, wc, hc);
    QImage target = PaintMapLayers(ctx, plan.layers);
    if (doc.processed && (plan.labels || plan.gridLines)) {
        QPainter painter(&target);
        DrawCoordinateScale(ctx, painter, plan.labels, plan.gridLines, ui);
    }
    if (doc.processed && plan.layers.displayType == kDisplayApSamples &&
        !plan.layers.samplesUnderCoverage)
        DrawApSamples(ctx, target);
    return target;
}

} // namespace

CMapLayers MapLayersShownBy(const CTarvoAnalyzerDoc& doc) {
    CMapLayers layers;
    layers.displayType = doc.coverageDisplayType;
    layers.path = doc.pathShown;
    layers.apIcons = doc.apIconsShown;
    layers.markedApIcons = doc.markedApIconsShown;
    layers.interferenceIcons = doc.interferenceIconsShown;
    return layers;
}

QImage PaintMapLayers(const CLayerContext& ctx, const CMapLayers& layers) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    QImage target = WhiteImage(ctx.wc, ctx.hc, ctx.dpr);
    QImage canvas = WhiteImage(ctx.wc, ctx.hc, ctx.dpr);
    DrawMapLayer(ctx, {&target, &canvas});

    if (doc.processed) {
        switch (layers.displayType) {
        case kDisplayApSamples:
            if (layers.samplesUnderCoverage)
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
            DrawSiteBands(ctx, layers.displayType, canvas);
            break;
        case kDisplaySnrMargin:
        case kDisplaySecondary:
        case kDisplayCoChannel:
        case kDisplayStrongestAp:
            DrawSurveyView(ctx, layers.displayType, canvas);
            break;
        case kDisplayThroughput:
            DrawThroughputLayer(ctx, canvas);
            break;
        default:
            break;
        }
    }
    // Where no coverage was drawn the canvas equals the map, so the map
    // shows unchanged whatever the opacity.
    BlendOnto(target, canvas, LogicalRect(target), std::clamp(doc.coverageOpacity, 0, 255));

    if (doc.processed) {
        if (layers.path)
            DrawWalkPath(ctx, target);
        DrawIconLayers(ctx, target, layers.apIcons, layers.markedApIcons, layers.interferenceIcons);
    }
    return target;
}

void DrawWindowOverlays(QPainter& painter, const CTarvoAnalyzerDoc& doc, int wc, int hc,
                        IUiServices& ui) {
    const double dpr = painter.device()->devicePixelRatio();
    if (doc.legendShown) {
        const QImage legend = DrawLegend(doc, doc.coverageDisplayType, dpr);
        if (!legend.isNull())
            painter.drawImage(wc - LogicalRect(legend).width(), 1, legend);
    }
    if (doc.view.compassShown)
        painter.drawImage(kCompassAt, DrawCompass(doc, wc, hc, ui, dpr));
}

QImage RenderLayers(CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui) {
    wc = std::max(wc, 1);
    hc = std::max(hc, 1);
    CRenderPlan plan;
    plan.layers = MapLayersShownBy(doc);
    plan.labels = doc.scaleShown;
    plan.gridLines = doc.scaleShown;
    if (!doc.legendShown)
        UpdateScrollBarVisibility(doc.view);
    QImage target = PaintLayers(doc, wc, hc, plan, ui);
    {
        QPainter painter(&target);
        DrawWindowOverlays(painter, doc, wc, hc, ui);
    }
    if (doc.legendShown)
        UpdateScrollBarVisibility(doc.view);
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
    plan.layers.displayType = displayType;
    plan.layers.path = withPath;
    plan.layers.apIcons = withApIcons;
    plan.layers.markedApIcons = withMarkedApIcons;
    plan.layers.interferenceIcons = withInterferenceIcons;
    plan.layers.samplesUnderCoverage = true;
    plan.labels = true;
    plan.gridLines = doc.scaleShown;
    target = PaintLayers(doc, kOffscreenWidth, kOffscreenHeight, plan, ui);
}

} // namespace tarvo
