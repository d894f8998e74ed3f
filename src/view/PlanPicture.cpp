#include "view/PlanPicture.h"

#include "import/PlanScale.h"

#include <QImageReader>
#include <QPainter>

#include <cstring>

namespace tarvo {

CPlanPicture LoadPlanPicture(const std::string& path) {
    CPlanPicture picture;
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(true);
    QSize size = reader.size();
    // A picture turned by a quarter is read first and scaled afterwards;
    // others may be decoded at the smaller size at once (JPEG can).
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    if (size.isValid() && turned)
        size.transpose();
    if (size.isValid() && !turned) {
        const CPlanFit fit = FitPlanSize(size.width(), size.height());
        if (fit.scaledDown)
            reader.setScaledSize(QSize(fit.width, fit.height));
    }
    QImage read = reader.read();
    if (read.isNull()) {
        picture.error =
            "Could not read the picture \"" + path + "\": " + reader.errorString().toStdString();
        return picture;
    }
    picture.original = size.isValid() ? size : read.size();
    const CPlanFit fit = FitPlanSize(read.width(), read.height());
    if (fit.scaledDown)
        read = read.scaled(fit.width, fit.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.scaledDown = read.size() != picture.original;
    // Transparent parts of a drawing are paper: lay it on white.
    QImage flat(read.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, read);
    }
    picture.image = flat.convertToFormat(QImage::Format_RGB888);
    return picture;
}

std::vector<std::uint8_t> RgbRows(const QImage& image) {
    const QImage rgb = image.format() == QImage::Format_RGB888
                           ? image
                           : image.convertToFormat(QImage::Format_RGB888);
    const std::size_t rowBytes = static_cast<std::size_t>(rgb.width()) * 3;
    std::vector<std::uint8_t> rows(rowBytes * rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(rows.data() + rowBytes * y, rgb.constScanLine(y), rowBytes);
    return rows;
}

} // namespace tarvo
