#pragma once
// Shared helpers of the layer drawing: the target geometry of one render and
// the small drawing operations the layers are built from. Drawing is aliased
// so that colours land exactly where the layers put them.

#include "model/Document.h"
#include "view/ViewGeometry.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;

namespace tarvo {

// Geometry of one render: the visible site rectangle and the target size.
struct CLayerContext {
    const CTarvoAnalyzerDoc& doc;
    CVisibleRect rect;
    int wc = 0;
    int hc = 0;

    CLayerContext(const CTarvoAnalyzerDoc& d, int width, int height)
        : doc(d), rect(VisibleRect(d)), wc(width), hc(height) {}

    // Site position to a pixel, truncated toward zero.
    QPoint Pixel(double x, double y) const {
        const CClientPoint p = SiteToClient(rect, x, y, wc, hc);
        return {PixelTrunc(p.px), PixelTrunc(p.py)};
    }
    QRect Bounds() const { return {0, 0, wc, hc}; }
};

inline QColor ToQColor(ColourRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// An image of w x h filled white, as every offscreen layer starts.
QImage WhiteImage(int w, int h);

// Circle around pixel p: the one-pixel rectangle at p grown by `grow` on
// each side, drawn with the painter's pen and brush.
void CircleAt(QPainter& painter, QPoint p, int grow);

// Copies `area` of src onto the same place of dst with constant opacity
// alpha (0..255).
void BlendOnto(QImage& dst, const QImage& src, const QRect& area, int alpha);

// Text with its top-left corner at (x, y), in black on an opaque white box.
void TextAt(QPainter& painter, int x, int y, const QString& text);

} // namespace tarvo
