#include "view/Icons.h"

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

// Decoded once; QImage copies share the pixels, so handing them out from
// any thread is cheap and safe.
const std::array<QImage, kIconCount>& LoadedIcons() {
    static std::array<QImage, kIconCount> icons;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        RegisterViewIcons();
        for (int i = 0; i < kIconCount; ++i) {
            QImage image(QStringLiteral(":/tarvo/icons/%1.png").arg(kFirstApIcon + i));
            icons[i] = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
    });
    return icons;
}

} // namespace

QImage ProgramIcon(int id) {
    if (id < kFirstApIcon || id > kZoomOutPointerIcon)
        return {};
    return LoadedIcons()[id - kFirstApIcon];
}

} // namespace tarvo
