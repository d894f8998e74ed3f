#include "view/ViewBitmap.h"

namespace tarvo {

CViewBitmap ToViewBitmap(const QImage& image) {
    CViewBitmap out;
    if (image.isNull())
        return out;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    out.width = rgb.width();
    out.height = rgb.height();
    const std::size_t rowBytes = static_cast<std::size_t>(out.width) * 3;
    out.rgb.resize(rowBytes * out.height);
    for (int y = 0; y < out.height; ++y) {
        const uchar* line = rgb.constScanLine(y);
        std::copy(line, line + rowBytes, out.rgb.begin() + rowBytes * y);
    }
    return out;
}

QImage FromViewBitmap(const CViewBitmap& bitmap) {
    if (bitmap.IsEmpty())
        return {};
    const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width) * 3;
    if (bitmap.rgb.size() != rowBytes * static_cast<std::size_t>(bitmap.height))
        return {};
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height; ++y)
        std::copy(bitmap.rgb.begin() + rowBytes * y, bitmap.rgb.begin() + rowBytes * (y + 1),
                  image.scanLine(y));
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace tarvo
