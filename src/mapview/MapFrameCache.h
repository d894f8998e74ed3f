#pragma once
// The map view's picture, built so that scrolling does not redraw the map.
// The layers that move with the map (map picture, coverage image, walk path,
// icons, AP samples) are rendered once per scale into an image that may
// reach past the window on the scrollable axes; a frame crops it at the
// scroll position and draws the overlays fixed to the window (coordinate
// scale, legend, compass) on top.
//
// GUI thread only, and only while no worker owns the document.

#include "model/Document.h"
#include "model/UiServices.h"
#include "view/ViewGeometry.h"

#include <QImage>

namespace tarvo {

class CMapFrameCache {
public:
    // The document changed: the next frame renders the moving layers again.
    void Invalidate() { valid_ = false; }

    // The picture of the document's current view on a wc x hc client area.
    // Also decides the scroll bars (doc.view.scrollBarsShown).
    QImage Frame(CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui);

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
        bool operator==(const CScaleKey&) const = default;
    };
    // One axis of the cached image: its size and where its first pixel lies
    // on the axis's virtual plane (the whole window at the current scale).
    struct CAxis {
        int size = 0;
        double anchor = 0.0;
    };

    void Render(CTarvoAnalyzerDoc& doc, int wc, int hc, double ox, double oy);

    QImage layers_;
    CScaleKey key_;
    CAxis x_, y_;
    bool valid_ = false;
    int layerRenders_ = 0;
};

// The layers that move with the map, for a target of w x h pixels showing
// the site rectangle rect: the map, the coverage image of the display type
// blended with the coverage opacity, the walk path, the icon layers and the
// AP samples. The fixed overlays are left out.
QImage RenderMovingLayers(const CTarvoAnalyzerDoc& doc, const CVisibleRect& rect, int w, int h);

} // namespace tarvo
