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

#include <map>

class QPainter;

namespace tarvo {

// Geometry of one render: the visible site rectangle and the target size in
// logical pixels, and how many device pixels stand for one of them. Layers
// draw in logical pixels; their images carry the ratio, so pens, text and
// icons come out at the device's resolution on a high-density screen.
struct CLayerContext {
    const CTarvoAnalyzerDoc& doc;
    CVisibleRect rect;
    int wc = 0;
    int hc = 0;
    double dpr = 1.0;

    CLayerContext(const CTarvoAnalyzerDoc& d, int width, int height, double ratio = 1.0)
        : doc(d), rect(VisibleRect(d)), wc(width), hc(height), dpr(ratio) {}

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

// Device pixels that `logical` pixels span at ratio dpr (at least 1).
int DeviceSpan(int logical, double dpr);

// The image's area in logical pixels.
QRect LogicalRect(const QImage& image);

// An image of w x h logical pixels at ratio dpr, filled white, as every
// offscreen layer starts.
QImage WhiteImage(int w, int h, double dpr = 1.0);

// Circle around pixel p: the one-pixel rectangle at p grown by `grow` on
// each side, drawn with the painter's pen and brush.
void CircleAt(QPainter& painter, QPoint p, int grow);

// Circles as CircleAt draws them, with the painter's pen and brush at the
// time. On a high-density target each distinct circle is drawn once into a
// small stamp at device resolution and then copied: stroking thousands of
// curves with a pen two device pixels wide is many times slower than the
// thin-pen path a one-to-one target takes. At ratio 1 it is CircleAt.
class CCircleStamper {
public:
    explicit CCircleStamper(QPainter& painter);
    void At(QPoint p, int grow);

private:
    struct CKey {
        QRgb pen = 0;
        double penWidth = 0.0;
        QRgb brush = 0;
        int brushStyle = 0;
        int grow = 0;
        auto operator<=>(const CKey&) const = default;
    };
    struct CStamp {
        QImage image;
        int offset = 0; // logical pixels from the stamp's corner to the centre
    };
    const CStamp& StampFor(int grow);

    QPainter& painter_;
    double dpr_ = 1.0;
    std::map<CKey, CStamp> stamps_;
};

// Copies `area` of src onto the same place of dst with constant opacity
// alpha (0..255).
void BlendOnto(QImage& dst, const QImage& src, const QRect& area, int alpha);

// Copies the device pixels that logical `area` covers from src onto dst
// with the given opacity (0..1); both images have the same pixel ratio.
void BlendDevicePixels(QImage& dst, const QImage& src, const QRect& area, double opacity);

// Text with its top-left corner at (x, y), in black on an opaque white box.
void TextAt(QPainter& painter, int x, int y, const QString& text);

} // namespace tarvo
