#include "app/AppResources.h"

#include <QFile>

// The resources live in a static library; registering them explicitly keeps
// the linker from dropping them.
static void RegisterAppIcons() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(app_icons);
        return true;
    }();
    (void)registered;
}

namespace tarvo {

QIcon ToolbarIcon(const QString& actionName) {
    RegisterAppIcons();
    const QString base = QStringLiteral(":/tarvo/app/toolbar/") + actionName;
    if (!QFile::exists(base + QStringLiteral(".png")))
        return {};
    QIcon icon;
    icon.addFile(base + QStringLiteral(".png"), QSize(16, 15));
    icon.addFile(base + QStringLiteral("@2x.png"), QSize(32, 30));
    return icon;
}

QIcon ApplicationIcon() {
    RegisterAppIcons();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/tarvo/app/hicolor/%1x%1/apps/tarvo-analyzer.png").arg(size),
                     QSize(size, size));
    return icon;
}

QPixmap SplashPicture() {
    RegisterAppIcons();
    return QPixmap(QStringLiteral(":/tarvo/app/splash.png"));
}

} // namespace tarvo
