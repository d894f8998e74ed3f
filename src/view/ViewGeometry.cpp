#include "view/ViewGeometry.h"

#include "analysis/Coordinates.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

constexpr double kZoomInFactor = 0.8;
constexpr double kZoomOutFactor = 1.25;
constexpr double kSmallestZoom = 0.1;
constexpr double kLargestZoom = 5.8;
constexpr double kDegenerate = 1e-6;
constexpr int kScrollRange = 1000;
constexpr int kPixelLimit = 1 << 28;

bool AnyApSelected(const CTarvoAnalyzerDoc& doc) {
    for (const CAPInfo& ap : doc.aps)
        if (ap.selected)
            return true;
    return false;
}

// Centre of a zoom click in zoom fractions; uses the full client size.
void ClickCentre(const CMapViewState& view, int px, int py, int wc, int hc, double& cx,
                 double& cy) {
    cx = view.zoomLeft + px * view.zoomWidth / wc;
    cy = view.zoomBottom + (hc - py) * view.zoomHeight / hc;
}

// Zoom in along one axis: a window of 2*h around c that stays inside
// [low, high], keeping the edge that c + h or c - h would pass.
void NarrowAxis(double c, double h, double& low, double& high) {
    if (c + h <= high) {
        if (c - h >= low) {
            low = c - h;
            high = c + h;
        } else {
            high = low + 2.0 * h;
        }
    } else {
        low = high - 2.0 * h;
    }
}

// Zoom out along one axis, inside the fixed outer bounds. A window wider
// than the bounds becomes the bounds themselves: otherwise a side between
// 4.77 and 5.8 would widen past them.
void WidenAxis(double c, double h, double& low, double& high) {
    const double span = kZoomOutHigh - kZoomOutLow;
    if (2.0 * h >= span) {
        low = kZoomOutLow;
        high = kZoomOutHigh;
        return;
    }
    if (c + h <= kZoomOutHigh) {
        if (c - h >= kZoomOutLow) {
            low = c - h;
            high = c + h;
        } else {
            low = kZoomOutLow;
            high = 2.0 * h + kZoomOutLow;
        }
    } else {
        low = kZoomOutHigh - 2.0 * h;
        high = kZoomOutHigh;
    }
}

bool OutOfView(int px, int py, int wc, int hc, IUiServices& ui) {
    if (wc >= 1 && hc >= 1 && px >= 0 && py >= 0 && px < wc && py < hc)
        return false;
    ui.MessageBox("The Point Is Out of View!", "Invalid Point", MsgIcon::Error);
    return true;
}

int ClampScroll(double v) {
    if (!(v > 0.0))
        return 0;
    if (v >= kScrollRange)
        return kScrollRange;
    return static_cast<int>(v);
}

// An axis with no size gets one metre around the same place, so that the
// pixel scales stay finite. A negative extent is kept: GPS data without a
// map have a reversed Y axis, and the view draws it the right way up.
void WidenEmptyExtent(double& min, double& extent) {
    if (extent != 0.0 && extent == extent)
        return;
    min -= 0.5;
    extent = 1.0;
}

} // namespace

void RecomputeZoomSize(CMapViewState& view) {
    view.zoomWidth = view.zoomRight - view.zoomLeft;
    view.zoomHeight = view.zoomTop - view.zoomBottom;
}

CVisibleRect VisibleRect(const CTarvoAnalyzerDoc& doc) {
    const CBox& w = doc.ViewWindow;
    const CMapViewState& v = doc.view;
    CVisibleRect r;
    r.xs = w.minX + v.zoomLeft * w.extentX;
    r.wv = (v.zoomRight - v.zoomLeft) * w.extentX;
    r.ys = w.minY + v.zoomBottom * w.extentY;
    r.hv = (v.zoomTop - v.zoomBottom) * w.extentY;
    return r;
}

CClientPoint SiteToClient(const CVisibleRect& rect, double x, double y, int wc, int hc) {
    CClientPoint p;
    p.px = (x - rect.xs) * (wc - 1) / rect.wv;
    p.py = (hc - 1) - (y - rect.ys) * (hc - 1) / rect.hv;
    return p;
}

void ClientToSite(const CVisibleRect& rect, double px, double py, int wc, int hc, double& x,
                  double& y) {
    x = rect.xs + px * rect.wv / (wc - 1);
    y = rect.ys + (hc - 1 - py) * rect.hv / (hc - 1);
}

double RadiusToClientX(const CVisibleRect& rect, double r, int wc) {
    return r * (wc - 1) / rect.wv;
}

double RadiusToClientY(const CVisibleRect& rect, double r, int hc) {
    return r * (hc - 1) / rect.hv;
}

int PixelTrunc(double v) {
    if (!(v == v))
        return 0;
    if (v >= kPixelLimit)
        return kPixelLimit;
    if (v <= -kPixelLimit)
        return -kPixelLimit;
    return static_cast<int>(v);
}

int RoundUpPast04(double v) {
    const double f = std::floor(v);
    return PixelTrunc(f) + (v - f > 0.4 ? 1 : 0);
}

ZoomClick ZoomInAt(CMapViewState& view, int px, int py, int wc, int hc, IUiServices& ui) {
    if (OutOfView(px, py, wc, hc, ui))
        return ZoomClick::OutOfView;
    RecomputeZoomSize(view);
    if (view.zoomWidth < kSmallestZoom || view.zoomHeight < kSmallestZoom) {
        view.ResetZoom();
        UpdateScrollPositions(view);
        return ZoomClick::Reset;
    }
    const double hw = view.zoomWidth * kZoomInFactor * 0.5;
    const double hh = view.zoomHeight * kZoomInFactor * 0.5;
    double cx, cy;
    ClickCentre(view, px, py, wc, hc, cx, cy);
    NarrowAxis(cx, hw, view.zoomLeft, view.zoomRight);
    NarrowAxis(cy, hh, view.zoomBottom, view.zoomTop);
    RecomputeZoomSize(view);
    UpdateScrollPositions(view);
    return ZoomClick::Zoomed;
}

ZoomClick ZoomOutAt(CMapViewState& view, int px, int py, int wc, int hc, IUiServices& ui) {
    if (OutOfView(px, py, wc, hc, ui))
        return ZoomClick::OutOfView;
    RecomputeZoomSize(view);
    if (!(view.zoomWidth < kLargestZoom && view.zoomHeight < kLargestZoom)) {
        view.ResetZoom();
        UpdateScrollPositions(view);
        return ZoomClick::Reset;
    }
    const double hw = view.zoomWidth * kZoomOutFactor * 0.5;
    const double hh = view.zoomHeight * kZoomOutFactor * 0.5;
    double cx, cy;
    ClickCentre(view, px, py, wc, hc, cx, cy);
    WidenAxis(cx, hw, view.zoomLeft, view.zoomRight);
    WidenAxis(cy, hh, view.zoomBottom, view.zoomTop);
    RecomputeZoomSize(view);
    UpdateScrollPositions(view);
    return ZoomClick::Zoomed;
}

void UpdateScrollPositions(CMapViewState& view) {
    RecomputeZoomSize(view);
    // The window's offset as a share of the room it can move in, so that
    // scrolling continues from where the zoom left the window.
    if (view.zoomWidth < 1.0)
        view.horizontalScroll = ClampScroll(kScrollRange * view.zoomLeft / (1.0 - view.zoomWidth));
    if (view.zoomHeight < 1.0)
        view.verticalScroll =
            kScrollRange - ClampScroll(kScrollRange * view.zoomBottom / (1.0 - view.zoomHeight));
}

void ScrollView(CMapViewState& view, bool horizontal, ScrollCode code, int thumb, int clientSize,
                int textExtent) {
    RecomputeZoomSize(view);
    const double zoom = horizontal ? view.zoomWidth : view.zoomHeight;
    int& position = horizontal ? view.horizontalScroll : view.verticalScroll;

    const double virtualSize = zoom > 0.0 ? clientSize / zoom : clientSize;
    const double extra = virtualSize - clientSize;
    int lineStep = 1, pageStep = 1;
    if (extra > 0.0) {
        lineStep = std::max(1, RoundUpPast04(kScrollRange * textExtent / extra));
        pageStep = std::max(1, RoundUpPast04(kScrollRange * clientSize / extra));
    }
    switch (code) {
    case ScrollCode::LineUp:
        position = std::max(0, position - lineStep);
        break;
    case ScrollCode::PageUp:
        position = std::max(0, position - pageStep);
        break;
    case ScrollCode::LineDown:
        position = std::min(kScrollRange, position + lineStep);
        break;
    case ScrollCode::PageDown:
        position = std::min(kScrollRange, position + pageStep);
        break;
    case ScrollCode::ThumbPosition:
    case ScrollCode::ThumbTrack:
        position = std::clamp(thumb, 0, kScrollRange);
        break;
    case ScrollCode::Top:
        position = 0;
        break;
    case ScrollCode::Bottom:
        position = kScrollRange;
        break;
    case ScrollCode::EndScroll:
        break;
    }
    if (!(zoom < 1.0))
        return;
    if (horizontal) {
        view.zoomLeft = (1.0 - view.zoomWidth) * position / kScrollRange;
        view.zoomRight = view.zoomLeft + view.zoomWidth;
    } else {
        view.zoomBottom = (kScrollRange - position) * (1.0 - view.zoomHeight) / kScrollRange;
        view.zoomTop = view.zoomBottom + view.zoomHeight;
    }
}

bool UpdateScrollBarVisibility(CMapViewState& view) {
    RecomputeZoomSize(view);
    view.scrollBarsShown = view.zoomHeight < 1.0;
    return view.scrollBarsShown;
}

void FitInWindow(CTarvoAnalyzerDoc& doc, int wc, int hc) {
    if (AnyApSelected(doc)) {
        doc.AnalysisBox = doc.DataExtent;
        CBox box = doc.DataExtent;
        if (doc.view.showMap) {
            box.minY -= box.extentY / 10.0;
            box.minX -= box.extentX / 10.0;
            box.extentY *= 1.2;
            box.extentX *= 1.2;
        }
        // Degenerate means near zero either way; a reversed axis is not.
        if (std::fabs(box.extentX) < kDegenerate) {
            box.extentX = doc.MapExtentWidth / 10.0;
            box.minX -= doc.MapExtentWidth / 20.0;
        }
        if (std::fabs(box.extentY) < kDegenerate) {
            box.extentY = doc.MapExtentHeight / 10.0;
            box.minY -= doc.MapExtentHeight / 20.0;
        }
        // Without a map the widening above has nothing to go by.
        WidenEmptyExtent(box.minX, box.extentX);
        WidenEmptyExtent(box.minY, box.extentY);
        if (doc.view.showMap)
            FitWindowToClient(box, wc, hc);
        doc.ViewWindow = box;
    } else {
        ComputeViewExtent(doc, wc, hc);
    }
    if (doc.processed)
        doc.view.ResetZoom();
}

void FitExtentToMap(CTarvoAnalyzerDoc& doc, int width, int height) {
    const bool showMap = doc.view.showMap;
    if (!doc.processed && !showMap)
        return;
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    if (doc.processed) {
        minX = doc.DataExtent.minX;
        minY = doc.DataExtent.minY;
        maxX = minX + doc.DataExtent.extentX;
        maxY = minY + doc.DataExtent.extentY;
    }
    if (showMap) {
        minX = std::min(minX, 0.0);
        minY = std::min(minY, 0.0);
        maxX = std::max(maxX, doc.MapExtentWidth);
        maxY = std::max(maxY, doc.MapExtentHeight);
    }
    CBox box{minY, minX, maxY - minY, maxX - minX};
    if (showMap) {
        box.minY -= box.extentY / 10.0;
        box.minX -= box.extentX / 10.0;
        box.extentY *= 1.2;
        box.extentX *= 1.2;
    }
    // One location and no map: give the picture a size.
    WidenEmptyExtent(box.minX, box.extentX);
    WidenEmptyExtent(box.minY, box.extentY);
    if (showMap) {
        if (width < 1 || height < 1) {
            width = doc.view.clientWidth;
            height = doc.view.clientHeight;
        }
        FitWindowToClient(box, width, height);
    }
    doc.ViewWindow = box;
    doc.view.ResetZoom();
}

bool MapAlignedToNorth(const CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui) {
    const int n = doc.gridLineCount;
    if (n <= 1 || wc < 1 || hc < 1)
        return true;
    const CVisibleRect r = VisibleRect(doc);
    auto toGeo = [&](double x, double y, double& lat, double& lon) {
        lat = 0.0;
        lon = 0.0;
        TransformPoint(doc, false, x, y, lat, lon, ui);
    };
    double latTl, lonTl, latTr, lonTr, latBr, lonBr;
    toGeo(r.xs, r.ys + r.hv, latTl, lonTl);
    toGeo(r.xs + r.wv, r.ys + r.hv, latTr, lonTr);
    toGeo(r.xs + r.wv, r.ys, latBr, lonBr);
    const double latTop = std::max(latTl, latTr);
    const double lonRight = std::max(lonBr, lonTr);

    const int k = n - 1;
    double lat, lon, siteY, siteX;
    toGeo(r.xs + k * r.wv / n, r.ys, lat, lon);
    TransformPoint(doc, true, latTop, lon, siteY, siteX, ui);
    const int c = PixelTrunc(SiteToClient(r, siteX, siteY, wc, hc).px);
    const long long dx = static_cast<long long>(wc) * k / n - c;

    toGeo(r.xs, r.ys + k * r.hv / n, lat, lon);
    TransformPoint(doc, true, lat, lonRight, siteY, siteX, ui);
    const int row = PixelTrunc(SiteToClient(r, siteX, siteY, wc, hc).py);
    const long long dy = hc - row - static_cast<long long>(hc) * k / n;

    return static_cast<long long>(32.0 * dx / wc) == 0 &&
           static_cast<long long>(32.0 * dy / hc) == 0;
}

bool ToggleShowMap(CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui) {
    // Only GPS data can be shown without their map: linear data are placed
    // by the map's own pixels.
    if (!doc.gpsPointsPresent)
        return false;
    if (!MapAlignedToNorth(doc, wc, hc, ui)) {
        ui.MessageBox("Please input and process the collection files again to see the data "
                      "without the map, because the projection file is not aligned to the north.",
                      "Oblique Projection", MsgIcon::Information);
        return false;
    }
    doc.view.showMap = !doc.view.showMap;
    ComputeViewExtent(doc, wc, hc);
    return true;
}

} // namespace tarvo
