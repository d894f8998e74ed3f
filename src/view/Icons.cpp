#include "view/Icons.h"

#include <QPainter>
#include <QString>

#include <array>
#include <mutex>

// The resources live in a static library; registering them explicitly keeps
// the linker from dropping them.
static void RegisterViewIcons() {
    Q_INIT_RESOURCE(view_icons);
}

namespace tarvo {

namespace {

constexpr int kIconCount = kZoomOutPointerIcon - kFirstApIcon + 1;

struct CIconSet {
    std::array<QImage, kIconCount> plain;
    std::array<QImage, kIconCount> doubled; // 64 x 64, device pixel ratio 2
};

QImage Decoded(const QString& path, double dpr) {
    QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    return image;
}

// Decoded once; QImage copies share the pixels, so handing them out from
// any thread is cheap and safe.
const CIconSet& LoadedIcons() {
    static CIconSet icons;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        RegisterViewIcons();
        for (int i = 0; i < kIconCount; ++i) {
            const int id = kFirstApIcon + i;
            icons.plain[i] = Decoded(QStringLiteral(":/tarvo/icons/%1.png").arg(id), 1.0);
            icons.doubled[i] = Decoded(QStringLiteral(":/tarvo/icons/%1@2x.png").arg(id), 2.0);
        }
    });
    return icons;
}

} // namespace

QImage ProgramIcon(int id, double dpr) {
    if (id < kFirstApIcon || id > kZoomOutPointerIcon)
        return {};
    const CIconSet& icons = LoadedIcons();
    return (dpr > 1.0 ? icons.doubled : icons.plain)[id - kFirstApIcon];
}

bool DrawProgramIcon(QPainter& painter, int id, QPoint at) {
    const double dpr = painter.device()->devicePixelRatio();
    const QImage icon = ProgramIcon(id, dpr);
    if (icon.isNull())
        return false;
    if (icon.devicePixelRatio() == dpr) {
        painter.drawImage(at, icon);
        return true;
    }
    // A ratio between the artworks' (1.5, say): scale the finer one smoothly.
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(at, icon);
    painter.restore();
    return true;
}

} // namespace tarvo
