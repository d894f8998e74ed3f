#include "view/PrintLayout.h"

#include <QPainter>

namespace tarvo {

namespace {

constexpr int kTopMargin = 10;
constexpr double kShrink = 20.0;

} // namespace

CPrintBox PrintBoxFor(int pageWidth, int pageHeight, int pictureWidth, int pictureHeight) {
    CPrintBox box;
    if (pageWidth <= 0 || pageHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
        return box;
    const double rw = static_cast<double>(pageWidth) / pictureWidth;
    const double rh = static_cast<double>(pageHeight) / pictureHeight;
    if (rh < rw) {
        box.w = static_cast<int>(pictureWidth * rh - kShrink);
        box.h = pageHeight - static_cast<int>(kShrink);
        box.x = (pageWidth - box.w) / 2;
    } else {
        box.h = static_cast<int>(pictureHeight * rw - kShrink);
        box.w = pageWidth - static_cast<int>(kShrink);
        box.x = kTopMargin;
    }
    box.y = kTopMargin;
    return box;
}

bool PaintPrintPage(QPainter& painter, int pageWidth, int pageHeight, const QImage& picture) {
    if (picture.isNull())
        return false;
    const CPrintBox box = PrintBoxFor(pageWidth, pageHeight, picture.width(), picture.height());
    if (box.IsEmpty())
        return false;
    painter.drawImage(QRect(box.x, box.y, box.w, box.h), picture);
    const QPoint corners[] = {{box.x, box.y},
                              {box.x, box.y + box.h},
                              {box.x + box.w, box.y + box.h},
                              {box.x + box.w, box.y},
                              {box.x, box.y}};
    painter.drawPolyline(corners, 5);
    return true;
}

} // namespace tarvo
