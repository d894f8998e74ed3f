#include "export/ReportImages.h"

#include "formats/BitmapFile.h"
#include "formats/FileIo.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <vector>

namespace tarvo {

namespace {

QColor ToQColor(ColourRef c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

bool SaveImageAsBitmapFile(const std::string& path, const QImage& image, CWriteFailure* failure) {
    if (image.isNull())
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width(), height = rgb.height();
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    // QImage rows are padded to 4 bytes; the writer wants them packed.
    std::vector<std::uint8_t> rows(rowBytes * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(rows.data() + rowBytes * static_cast<std::size_t>(y), rgb.constScanLine(y),
                    rowBytes);
    const std::vector<std::uint8_t> bytes = EncodeBitmapFile(width, height, rows);
    return !bytes.empty() && WriteFileAtomically(path, bytes, failure);
}

std::vector<std::uint8_t> PngBytes(const QImage& image) {
    if (image.isNull())
        return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return {};
    const QByteArray& data = buffer.data();
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            reinterpret_cast<const std::uint8_t*>(data.constData()) + data.size()};
}

bool SaveImageAsPngFile(const std::string& path, const QImage& image, CWriteFailure* failure) {
    const std::vector<std::uint8_t> bytes = PngBytes(image);
    return !bytes.empty() && WriteFileAtomically(path, bytes, failure);
}

QImage PathLegendImage(ColourRef colour) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(ToQColor(colour), 1, Qt::SolidLine));
    painter.setBrush(Qt::white);
    painter.drawLine(0, 10, 40, 10);
    // The rectangle (18, 8)-(22, 12), right and bottom edges excluded.
    painter.drawEllipse(QRect(18, 8, 4, 4));
    return image;
}

QImage ColourSwatchImage(ColourRef colour) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(ToQColor(colour));
    return image;
}

QImage BlendedSwatchImage(ColourRef colour, int alpha) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int a = std::clamp(alpha, 0, 255);
    if (a > 0) {
        QPainter painter(&image);
        painter.setOpacity(a / 255.0);
        painter.fillRect(image.rect(), ToQColor(colour));
    }
    return image;
}

} // namespace tarvo
