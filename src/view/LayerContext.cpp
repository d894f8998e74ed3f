#include "view/LayerContext.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tarvo {

int DeviceSpan(int logical, double dpr) {
    const int pixels = dpr == 1.0 ? logical : static_cast<int>(std::ceil(logical * dpr));
    return std::max(pixels, 1);
}

QRect LogicalRect(const QImage& image) {
    const double d = image.devicePixelRatio();
    if (d == 1.0)
        return image.rect();
    return {0, 0, static_cast<int>(image.width() / d), static_cast<int>(image.height() / d)};
}

QImage WhiteImage(int w, int h, double dpr) {
    QImage image(DeviceSpan(w, dpr), DeviceSpan(h, dpr), QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::white);
    return image;
}

void CircleAt(QPainter& painter, QPoint p, int grow) {
    // A rectangle of 2*grow spans 2*grow + 1 pixels under the pen: centred on p.
    painter.drawEllipse(QRect(p.x() - grow, p.y() - grow, 2 * grow, 2 * grow));
}

CCircleStamper::CCircleStamper(QPainter& painter)
    : painter_(painter), dpr_(painter.device()->devicePixelRatio()) {}

void CCircleStamper::At(QPoint p, int grow) {
    if (dpr_ == 1.0) {
        CircleAt(painter_, p, grow);
        return;
    }
    const CStamp& stamp = StampFor(grow);
    painter_.drawImage(QPoint(p.x() - stamp.offset, p.y() - stamp.offset), stamp.image);
}

const CCircleStamper::CStamp& CCircleStamper::StampFor(int grow) {
    const QPen pen = painter_.pen();
    const QBrush brush = painter_.brush();
    const CKey key{pen.color().rgba(), pen.widthF(), brush.color().rgba(),
                   static_cast<int>(brush.style()), grow};
    auto found = stamps_.find(key);
    if (found != stamps_.end())
        return found->second;
    // Room for the pen's half width and a pixel to spare on each side.
    CStamp stamp;
    stamp.offset = grow + static_cast<int>(std::ceil(pen.widthF() / 2.0)) + 1;
    const int side = 2 * stamp.offset + 1;
    stamp.image =
        QImage(DeviceSpan(side, dpr_), DeviceSpan(side, dpr_), QImage::Format_ARGB32_Premultiplied);
    stamp.image.setDevicePixelRatio(dpr_);
    stamp.image.fill(Qt::transparent);
    {
        QPainter painter(&stamp.image);
        painter.setPen(pen);
        painter.setBrush(brush);
        CircleAt(painter, QPoint(stamp.offset, stamp.offset), grow);
    }
    return stamps_.emplace(key, std::move(stamp)).first->second;
}

void BlendOnto(QImage& dst, const QImage& src, const QRect& area, int alpha) {
    const QRect clipped = area.intersected(LogicalRect(dst)).intersected(LogicalRect(src));
    if (clipped.isEmpty() || alpha <= 0)
        return;
    const double opacity = alpha >= 255 ? 1.0 : alpha / 255.0;
    if (dst.devicePixelRatio() != 1.0 || src.devicePixelRatio() != 1.0) {
        BlendDevicePixels(dst, src, clipped, opacity);
        return;
    }
    QPainter painter(&dst);
    painter.setOpacity(opacity);
    painter.drawImage(clipped.topLeft(), src, clipped);
}

void BlendDevicePixels(QImage& dst, const QImage& src, const QRect& area, double opacity) {
    const double d = dst.devicePixelRatio();
    const QRect device = QRect(QPoint(static_cast<int>(std::floor(area.left() * d)),
                                      static_cast<int>(std::floor(area.top() * d))),
                               QPoint(static_cast<int>(std::ceil((area.right() + 1) * d)) - 1,
                                      static_cast<int>(std::ceil((area.bottom() + 1) * d)) - 1))
                             .intersected(dst.rect())
                             .intersected(src.rect());
    if (device.isEmpty())
        return;
    // Views of the same pixels at ratio 1, so the painter copies pixel for
    // pixel on its fast path rather than treating the copy as a scaling.
    QImage to(dst.bits(), dst.width(), dst.height(), dst.bytesPerLine(), dst.format());
    const QImage from(src.constBits(), src.width(), src.height(), src.bytesPerLine(), src.format());
    QPainter painter(&to);
    painter.setOpacity(opacity);
    painter.drawImage(device.topLeft(), from, device);
}

void TextAt(QPainter& painter, int x, int y, const QString& text) {
    const QFontMetrics metrics(painter.font());
    const QRect box(x, y, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace tarvo
