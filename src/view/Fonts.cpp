#include "view/Fonts.h"

#include <cmath>

namespace tarvo {

QString FreeFaceFor(const QString& face) {
    if (face.compare("Times New Roman", Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Serif");
    if (face.compare("Arial", Qt::CaseInsensitive) == 0 ||
        face.compare("MS Shell Dlg", Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    return face;
}

QFont ProgramFont(const QString& face, int pointSizeTenths) {
    QFont font(FreeFaceFor(face));
    // Character height in pixels at 96 dpi, rounded as the platform rounds
    // a point size (MulDiv), so 80 tenths give 11 pixels.
    const int pixels = static_cast<int>(std::lround(pointSizeTenths * 96.0 / 720.0));
    font.setPixelSize(pixels > 0 ? pixels : 1);
    font.setStyleHint(face.compare("Times New Roman", Qt::CaseInsensitive) == 0 ? QFont::Serif
                                                                                : QFont::SansSerif);
    return font;
}

QFont OverlayFont() {
    return ProgramFont(QStringLiteral("Times New Roman"), 80);
}

} // namespace tarvo
