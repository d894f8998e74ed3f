#pragma once
// Geometry of the map view: which site rectangle is visible, how site
// coordinates map to the pixels of a drawing target of any size, and the zoom,
// scroll and fit commands that change it. Free of widgets (and of Qt) so the
// window, the report pictures and the tests share it.
//
// The document's ViewWindow is the whole picture; the view's zoom fractions
// (doc.view.zoomLeft/Right/Bottom/Top) select the visible part of it, 0 being
// the left or bottom edge. The fractions may leave [0, 1] when zoomed out.

#include "model/Document.h"
#include "model/UiServices.h"

namespace tarvo {

// Bounds that a zoomed-out window never leaves, as fractions of ViewWindow.
constexpr double kZoomOutLow = -2.4802;
constexpr double kZoomOutHigh = 3.4802;

// The visible site rectangle: lower-left corner (xs, ys) and size (wv, hv),
// in site metres.
struct CVisibleRect {
    double xs = 0.0;
    double ys = 0.0;
    double wv = 0.0;
    double hv = 0.0;
};

// Sets zoomWidth and zoomHeight from the four fractions.
void RecomputeZoomSize(CMapViewState& view);

// The visible rectangle of the document's ViewWindow under the view's zoom.
CVisibleRect VisibleRect(const CTarvoAnalyzerDoc& doc);

struct CClientPoint {
    double px = 0.0;
    double py = 0.0;
};

// Site (x, y) to a pixel of a wc x hc target, row 0 at the top. Not rounded:
// drawing truncates (PixelTrunc), hit testing uses RoundUpPast04. A visible
// rectangle of zero size gives non-finite results.
CClientPoint SiteToClient(const CVisibleRect& rect, double x, double y, int wc, int hc);

// The inverse of SiteToClient.
void ClientToSite(const CVisibleRect& rect, double px, double py, int wc, int hc, double& x,
                  double& y);

// A site length as pixel radii along each axis of a wc x hc target.
double RadiusToClientX(const CVisibleRect& rect, double r, int wc);
double RadiusToClientY(const CVisibleRect& rect, double r, int hc);

// Truncation toward zero for drawing. Saturates at +-2^28 and maps NaN to 0,
// so that a wild coordinate never overflows the painter.
int PixelTrunc(double v);

// floor(v), plus 1 when the fraction above the floor is greater than 0.4.
int RoundUpPast04(double v);

// Outcome of a zoom click.
enum class ZoomClick { Zoomed, Reset, OutOfView };

// A zoom-in or zoom-out click at client pixel (px, py) of a wc x hc client
// area. A click outside the area shows "The Point Is Out of View!" and leaves
// the window unchanged. Zoom in narrows the window to 0.8 of its size around
// the click, and restores the full picture once a side is below 0.1. Zoom
// out widens it by 1.25, kept inside [kZoomOutLow, kZoomOutHigh], and
// restores the full picture once a side has reached 5.8. Updates the scroll
// positions.
ZoomClick ZoomInAt(CMapViewState& view, int px, int py, int wc, int hc, IUiServices& ui);
ZoomClick ZoomOutAt(CMapViewState& view, int px, int py, int wc, int hc, IUiServices& ui);

// Scroll positions (0..1000) that show the current zoom window.
void UpdateScrollPositions(CMapViewState& view);

enum class ScrollCode {
    LineUp,   // line up or left
    LineDown, // line down or right
    PageUp,
    PageDown,
    ThumbPosition,
    ThumbTrack,
    Top,    // top or left end
    Bottom, // bottom or right end
    EndScroll
};

// A scroll-bar action on one axis. clientSize is the client width
// (horizontal) or height (vertical) in pixels, textExtent the width or height
// of "X" in the view's font; thumb is the reported position for the thumb
// codes. The zoom window follows the new position when it is smaller than
// the picture along that axis.
void ScrollView(CMapViewState& view, bool horizontal, ScrollCode code, int thumb, int clientSize,
                int textExtent);

// Whether the scroll bars are shown at the next paint (zoomed in
// vertically); also stored in view.scrollBarsShown.
bool UpdateScrollBarVisibility(CMapViewState& view);

// "Fit in the window" for a client area of wc x hc pixels.
void FitInWindow(CTarvoAnalyzerDoc& doc, int wc, int hc);

// "Fit in the map": the data box (and the map, when shown) as ViewWindow,
// aspect-fitted to width x height (the client size when either is below 1).
void FitExtentToMap(CTarvoAnalyzerDoc& doc, int width, int height);

// The alignment test of "Show map on the screen": true when the projection
// is aligned to the north within a 32nd of the client size.
bool MapAlignedToNorth(const CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui);

// "Show map on the screen": acts only on GPS data; refuses an oblique
// projection with the "Oblique Projection" message, otherwise toggles
// showMap and recomputes the view extent. Returns true when showMap changed.
bool ToggleShowMap(CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui);

} // namespace tarvo
