#include "view/PictureDrawing.h"

#include <QPainter>

#include <cstring>
#include <mutex>
#include <vector>

namespace tarvo {

namespace {

struct CDecodeCache {
    std::mutex mutex;
    std::vector<std::uint8_t> bytes;
    QImage image;
};

CDecodeCache& Cache() {
    static CDecodeCache cache;
    return cache;
}

} // namespace

QImage DecodedPicture(const CPicture& picture) {
    const std::vector<std::uint8_t>& bytes = picture.Bytes();
    if (bytes.empty())
        return {};
    CDecodeCache& cache = Cache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    // Comparing the bytes costs far less than decoding them again, and is
    // safe against a new picture that happens to reuse the old storage.
    if (cache.bytes.size() == bytes.size() &&
        std::memcmp(cache.bytes.data(), bytes.data(), bytes.size()) == 0)
        return cache.image;
    QImage image;
    if (bytes.size() <= static_cast<std::size_t>(INT32_MAX))
        image.loadFromData(bytes.data(), static_cast<int>(bytes.size()));
    if (!image.isNull() && image.format() != QImage::Format_RGB32 &&
        image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    cache.bytes = bytes;
    cache.image = image;
    return image;
}

bool DrawPicture(QPainter& painter, const CPicture& picture, const QRect& dest) {
    return DrawPicturePart(painter, picture, dest, 0.0, 1.0, 0.0, 1.0);
}

bool DrawPicturePart(QPainter& painter, const CPicture& picture, const QRect& dest, double x0,
                     double x1, double y0, double y1) {
    const QImage image = DecodedPicture(picture);
    if (image.isNull() || dest.isEmpty())
        return false;
    const double w = image.width(), h = image.height();
    // Fractions count from the bottom edge; image rows from the top.
    const QRectF source(x0 * w, (1.0 - y1) * h, (x1 - x0) * w, (y1 - y0) * h);
    if (!(source.width() > 0.0) || !(source.height() > 0.0))
        return false;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(dest), image, source);
    painter.restore();
    return true;
}

} // namespace tarvo
