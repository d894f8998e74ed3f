#include "mapview/MapFrameCache.h"

#include "view/LayerContext.h"
#include "view/LayerDrawing.h"
#include "view/Overlays.h"
#include "view/RenderLayers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// The cached image reaches at most one client size past the window along a
// scrollable axis: enough for many line steps and a page in either
// direction, at four times the window's pixels at most.
constexpr int kCacheClients = 2;

struct CAxisPlan {
    int size = 0; // pixels of the cached image along the axis
    int lead = 0; // of those, the pixels before the client area
};

// Plans one axis for c client pixels at zoom size z, the client lying at
// offset o on the axis's virtual plane. Axes that cannot scroll get exactly
// the client.
CAxisPlan PlanAxis(int c, double z, double o) {
    if (!(z > 0.0 && z < 1.0) || c < 2)
        return {c, 0};
    const double plane = (c - 1) / z + 1.0;
    const int size = std::min(static_cast<int>(std::ceil(plane)) + 1, kCacheClients * c);
    const int spare = size - c;
    // Half of the spare pixels on each side, shifted where an end of the
    // plane leaves no room.
    const int before = std::max(0, static_cast<int>(std::lround(o)));
    const int after = std::max(0, static_cast<int>(std::floor(plane - c - o)));
    int lead = spare / 2;
    if (after < spare - lead)
        lead = spare - after;
    lead = std::clamp(std::min(lead, before), 0, spare);
    return {size, lead};
}

// Where the client area starts on the virtual planes: the whole ViewWindow
// at the current scale, x from its left edge, y from its top edge.
double PlaneOffsetX(const CMapViewState& v, int wc) {
    return v.zoomWidth > 0.0 ? v.zoomLeft * (wc - 1) / v.zoomWidth : 0.0;
}
double PlaneOffsetY(const CMapViewState& v, int hc) {
    return v.zoomHeight > 0.0 ? (1.0 - v.zoomTop) * (hc - 1) / v.zoomHeight : 0.0;
}

// The device pixels of `layers` that show wc x hc logical pixels from
// (sx, sy).
QRect CropRect(const QImage& layers, int sx, int sy, int wc, int hc) {
    const double d = layers.devicePixelRatio();
    if (d == 1.0)
        return {sx, sy, wc, hc};
    const int w = DeviceSpan(wc, d), h = DeviceSpan(hc, d);
    // A ratio such as 1.5 may round a device edge past the image's.
    const int x =
        std::clamp(static_cast<int>(std::lround(sx * d)), 0, std::max(layers.width() - w, 0));
    const int y =
        std::clamp(static_cast<int>(std::lround(sy * d)), 0, std::max(layers.height() - h, 0));
    return {x, y, w, h};
}

// The wc x hc logical pixels of `layers` from (sx, sy), at its pixel ratio.
QImage Crop(const QImage& layers, int sx, int sy, int wc, int hc) {
    if (layers.devicePixelRatio() == 1.0 && layers.size() == QSize(wc, hc))
        return layers.copy();
    QImage frame = layers.copy(CropRect(layers, sx, sy, wc, hc));
    frame.setDevicePixelRatio(layers.devicePixelRatio());
    return frame;
}

} // namespace

QImage RenderMovingLayers(const CTarvoAnalyzerDoc& doc, const CVisibleRect& rect, int w, int h,
                          double dpr) {
    CLayerContext ctx(doc, w, h, dpr);
    ctx.rect = rect;
    QImage target = PaintMapLayers(ctx, MapLayersShownBy(doc));
    if (doc.processed && doc.coverageDisplayType == kDisplayApSamples)
        DrawApSamples(ctx, target);
    return target;
}

void CMapFrameCache::Render(CTarvoAnalyzerDoc& doc, int wc, int hc, double dpr, double ox,
                            double oy) {
    const CAxisPlan px = PlanAxis(wc, doc.view.zoomWidth, ox);
    const CAxisPlan py = PlanAxis(hc, doc.view.zoomHeight, oy);
    CVisibleRect rect = VisibleRect(doc);
    if (px.size != wc || px.lead != 0 || py.size != hc || py.lead != 0) {
        // The same scale as the client, reaching lead pixels before it.
        const double sx = (wc - 1) / rect.wv;
        const double sy = (hc - 1) / rect.hv;
        rect.xs -= px.lead / sx;
        rect.wv = (px.size - 1) / sx;
        rect.ys += (hc - py.size + py.lead) / sy;
        rect.hv = (py.size - 1) / sy;
    }
    layers_ = RenderMovingLayers(doc, rect, px.size, py.size, dpr);
    x_ = {px.size, ox - px.lead};
    y_ = {py.size, oy - py.lead};
    ++layerRenders_;
}

void CMapFrameCache::Prepare(CTarvoAnalyzerDoc& doc, int wc, int hc, double dpr) {
    wc = std::max(wc, 1);
    hc = std::max(hc, 1);
    if (!(dpr > 0.0) || !std::isfinite(dpr))
        dpr = 1.0;
    RecomputeZoomSize(doc.view);
    UpdateScrollBarVisibility(doc.view);
    const CScaleKey key{doc.ViewWindow, doc.view.zoomWidth, doc.view.zoomHeight, wc, hc, dpr};
    const double ox = PlaneOffsetX(doc.view, wc);
    const double oy = PlaneOffsetY(doc.view, hc);
    int sx = 0, sy = 0;
    auto inside = [](const CAxis& axis, double offset, int c, int& start) {
        const double s = std::round(offset - axis.anchor);
        if (!(s >= 0.0 && s + c <= axis.size))
            return false;
        start = static_cast<int>(s);
        return true;
    };
    if (!valid_ || !(key == key_) || !inside(x_, ox, wc, sx) || !inside(y_, oy, hc, sy)) {
        Render(doc, wc, hc, dpr, ox, oy);
        key_ = key;
        valid_ = inside(x_, ox, wc, sx) && inside(y_, oy, hc, sy);
    }
    crop_ = {sx, sy, wc, hc};
}

bool CMapFrameCache::HasWindowOverlays(const CTarvoAnalyzerDoc& doc) {
    return (doc.processed && doc.scaleShown) || doc.legendShown || doc.view.compassShown;
}

QImage CMapFrameCache::LayersCrop() const {
    return Crop(layers_, crop_.x(), crop_.y(), crop_.width(), crop_.height());
}

void CMapFrameCache::PaintLayersCrop(QPainter& painter) const {
    painter.drawImage(QPoint(0, 0), layers_,
                      CropRect(layers_, crop_.x(), crop_.y(), crop_.width(), crop_.height()));
}

QImage CMapFrameCache::Frame(CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui, double dpr) {
    Prepare(doc, wc, hc, dpr);
    QImage frame = LayersCrop();

    // The overlays fixed to the window.
    QPainter painter(&frame);
    if (doc.processed && doc.scaleShown)
        DrawCoordinateScale(
            CLayerContext(doc, crop_.width(), crop_.height(), layers_.devicePixelRatio()), painter,
            true, true, ui);
    DrawWindowOverlays(painter, doc, crop_.width(), crop_.height(), ui);
    return frame;
}

} // namespace tarvo
