#include "panel/PanelIcons.h"

#include <QColor>
#include <QPainter>
#include <QPixmapCache>

// The resources live in a static library; registering them explicitly keeps
// the linker from dropping them.
static void RegisterPanelIcons() {
    Q_INIT_RESOURCE(panel_icons);
}

namespace tarvo {

namespace {

constexpr qreal kStripRatio = 2.0;

QPixmap Swatch(const QColor& fill, const QColor& frame) {
    QPixmap pixmap(32, 32);
    pixmap.setDevicePixelRatio(kStripRatio);
    pixmap.fill(fill);
    QPainter painter(&pixmap);
    painter.setPen(QPen(frame, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, 15, 15));
    return pixmap;
}

} // namespace

QPixmap PanelStrip(const QString& name) {
    static const bool registered = (RegisterPanelIcons(), true);
    (void)registered;
    QPixmap strip(QStringLiteral(":/tarvo/panel/%1.png").arg(name));
    if (!strip.isNull())
        strip.setDevicePixelRatio(kStripRatio);
    return strip;
}

QPixmap StripFrame(const QPixmap& strip, int frames, int index) {
    if (strip.isNull() || frames < 1)
        return {};
    const int width = strip.width() / frames;
    QPixmap frame = strip.copy(width * index, 0, width, strip.height());
    frame.setDevicePixelRatio(strip.devicePixelRatio());
    return frame;
}

QIcon SwatchIcon(ColourRef colour) {
    // The trees ask for the same few colours over and over; Qt's pixmap
    // cache keeps them (and is emptied with the application).
    const QString key = QStringLiteral("tarvo_swatch_%1").arg(colour, 6, 16, QLatin1Char('0'));
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        const QColor fill(RedOf(colour), GreenOf(colour), BlueOf(colour));
        pixmap = Swatch(fill, fill.darker(160));
        QPixmapCache::insert(key, pixmap);
    }
    return QIcon(pixmap);
}

QIcon NeutralSwatchIcon() {
    return QIcon(Swatch(Qt::white, QColor(128, 128, 128)));
}

} // namespace tarvo
