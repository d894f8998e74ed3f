#pragma once
// The map view's picture, built so that scrolling does not redraw the map.
// The layers that move with the map (map picture, coverage image, walk path,
// icons, AP samples) are rendered once per scale into an image that may
// reach past the window on the scrollable axes; a frame crops it at the
// scroll position and draws the overlays fixed to the window (coordinate
// scale, legend, compass) on top. Everything is drawn at the device pixel
// ratio the frame is asked for, so a high-density screen gets a picture of
// its own resolution rather than an enlarged one.
//
// GUI thread only, and only while no worker owns the document.

#include "model/Document.h"
#include "model/UiServices.h"
#include "view/ViewGeometry.h"

#include <QImage>
#include <QRect>

class QPainter;

namespace tarvo {

class CMapFrameCache {
public:
    // The document changed: the next frame renders the moving layers again.
    void Invalidate() { valid_ = false; }

    // The picture of the document's current view on a wc x hc client area
    // (logical pixels) at device pixel ratio dpr: Prepare, then the crop
    // with the overlays fixed to the window drawn on it.
    QImage Frame(CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui, double dpr = 1.0);

    // Renders the moving layers if the view's scale or size changed or the
    // scroll position left them, and takes the crop that the client shows.
    // Also decides the scroll bars (doc.view.scrollBarsShown).
    void Prepare(CTarvoAnalyzerDoc& doc, int wc, int hc, double dpr = 1.0);
    // The last prepared crop of the moving layers, as a picture of its own
    // or painted at (0, 0) without an intermediate copy. Neither reads the
    // document, so both serve while a worker owns it.
    QImage LayersCrop() const;
    void PaintLayersCrop(QPainter& painter) const;

    // Whether the document shows anything fixed to the window (coordinate
    // scale, legend, compass); without, a frame is the bare crop.
    static bool HasWindowOverlays(const CTarvoAnalyzerDoc& doc);

    // How often the moving layers were rendered (cache misses).
    int LayerRenders() const { return layerRenders_; }

private:
    // What the cached layers depend on besides the document's content.
    struct CScaleKey {
        CBox window;
        double zoomWidth = 0.0;
        double zoomHeight = 0.0;
        int wc = 0;
        int hc = 0;
        double dpr = 1.0;
        bool operator==(const CScaleKey&) const = default;
    };
    // One axis of the cached image: its size and where its first pixel lies
    // on the axis's virtual plane (the whole window at the current scale).
    struct CAxis {
        int size = 0;
        double anchor = 0.0;
    };

    void Render(CTarvoAnalyzerDoc& doc, int wc, int hc, double dpr, double ox, double oy);

    QImage layers_;
    QRect crop_; // logical pixels of layers_ that the client shows
    CScaleKey key_;
    CAxis x_, y_;
    bool valid_ = false;
    int layerRenders_ = 0;
};

// The layers that move with the map, for a target of w x h logical pixels
// at device pixel ratio dpr showing the site rectangle rect: the map, the
// coverage image of the display type blended with the coverage opacity, the
// walk path, the icon layers and the AP samples. The fixed overlays are
// left out.
QImage RenderMovingLayers(const CTarvoAnalyzerDoc& doc, const CVisibleRect& rect, int w, int h,
                          double dpr = 1.0);

} // namespace tarvo
