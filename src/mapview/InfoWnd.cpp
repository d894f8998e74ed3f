#include "mapview/InfoWnd.h"

#include "view/Fonts.h"
#include "view/LayerContext.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tarvo {

namespace {

constexpr int kPointerWedge = 12; // the triangle meets the outline this far from its corner

// The picture under `area` (logical pixels), each colour channel halved;
// white where the picture does not reach. It keeps the picture's pixel
// ratio, so the shadow is as sharp as the view.
QImage HalvedBackground(const QImage& picture, const QRect& area) {
    const double dpr = picture.isNull() ? 1.0 : picture.devicePixelRatio();
    QImage under = WhiteImage(area.width(), area.height(), dpr);
    {
        QPainter painter(&under);
        painter.drawImage(-area.topLeft(), picture);
    }
    for (int y = 0; y < under.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(under.scanLine(y));
        for (int x = 0; x < under.width(); ++x)
            row[x] = 0xFF000000u | ((row[x] >> 1) & 0x7F7F7Fu);
    }
    return under;
}

// The triangle from the outline's corner nearest the pointer to the pointer.
QPolygon Wedge(const CBalloonGeometry& g) {
    const QRect& b = g.body;
    const bool left = g.corner == BalloonCorner::TopLeft || g.corner == BalloonCorner::BottomLeft;
    const bool top = g.corner == BalloonCorner::TopLeft || g.corner == BalloonCorner::TopRight;
    const QPoint corner(left ? b.left() : b.right(), top ? b.top() : b.bottom());
    const int dx = left ? kPointerWedge : -kPointerWedge;
    const int dy = top ? kPointerWedge : -kPointerWedge;
    return QPolygon({g.tip, corner + QPoint(dx, 0), corner + QPoint(0, dy)});
}

QPainterPath BalloonShape(const CBalloonGeometry& g) {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(g.body), kBalloonRadius, kBalloonRadius);
    QPainterPath wedge;
    wedge.addPolygon(QPolygonF(Wedge(g)));
    wedge.closeSubpath();
    return shape.united(wedge);
}

} // namespace

CInfoWnd::CInfoWnd(QWidget* canvas) : QWidget(canvas) {
    setObjectName(QStringLiteral("infoWindow"));
    setWindowTitle(QStringLiteral("Info Window"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(OverlayFont());
    hide();
}

void CInfoWnd::ShowText(const QString& text, QPoint pointer, QSize client,
                        const QImage& background) {
    text_ = text;
    shownAt_ = pointer;
    lines_ = text.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast();
    const QFontMetrics metrics(font());
    int width = 0;
    for (const QString& line : lines_)
        width = std::max(width, metrics.horizontalAdvance(line));
    const QSize textSize(width, static_cast<int>(lines_.size()) * metrics.lineSpacing());
    geometry_ = PlaceBalloon(textSize, pointer, client);
    shadowed_ = HalvedBackground(background, geometry_.window);
    setGeometry(geometry_.window);
    show();
    raise();
    update();
}

void CInfoWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPainterPath shape = BalloonShape(geometry_);

    painter.save();
    painter.setClipPath(shape.translated(kBalloonShadow, kBalloonShadow));
    painter.drawImage(0, 0, shadowed_);
    painter.restore();

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(geometry_.body, kBalloonRadius, kBalloonRadius);
    painter.setBrush(Qt::black);
    painter.drawPolygon(Wedge(geometry_));

    const QFontMetrics metrics(font());
    painter.setPen(Qt::black);
    int baseline = geometry_.body.top() + kBalloonInset + metrics.ascent();
    for (const QString& line : lines_) {
        painter.drawText(geometry_.body.left() + kBalloonInset, baseline, line);
        baseline += metrics.lineSpacing();
    }
}

} // namespace tarvo
