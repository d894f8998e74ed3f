#include "view/LayerContext.h"

#include <QFontMetrics>
#include <QPainter>

namespace tarvo {

QImage WhiteImage(int w, int h) {
    QImage image(w > 0 ? w : 1, h > 0 ? h : 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void CircleAt(QPainter& painter, QPoint p, int grow) {
    // A rectangle of 2*grow spans 2*grow + 1 pixels under the pen: centred on p.
    painter.drawEllipse(QRect(p.x() - grow, p.y() - grow, 2 * grow, 2 * grow));
}

void BlendOnto(QImage& dst, const QImage& src, const QRect& area, int alpha) {
    const QRect clipped = area.intersected(dst.rect()).intersected(src.rect());
    if (clipped.isEmpty() || alpha <= 0)
        return;
    QPainter painter(&dst);
    painter.setOpacity(alpha >= 255 ? 1.0 : alpha / 255.0);
    painter.drawImage(clipped.topLeft(), src, clipped);
}

void TextAt(QPainter& painter, int x, int y, const QString& text) {
    const QFontMetrics metrics(painter.font());
    const QRect box(x, y, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace tarvo
