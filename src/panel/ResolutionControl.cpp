#include "panel/ResolutionControl.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// The track runs through the middle of the control's 24 pixels.
constexpr int kTrackY = 12;
// Between the thumb and the value.
constexpr int kTextGap = 3;

} // namespace

CResolutionControl::CResolutionControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    QFont font(QStringLiteral("New Roman"));
    font.setPointSizeF(7.5);
    setFont(font);
    setRange(1.0, 10.0, 5.0, QString());
}

void CResolutionControl::setRange(double minimum, double maximum, double value,
                                  const QString& unit) {
    min_ = minimum;
    max_ = maximum;
    unit_ = unit;
    const double span = max_ - min_;
    // A degenerate range leaves the thumb at the start rather than nowhere.
    const double at = span > 0.0 ? std::trunc((value - min_) * kTrackLength / span) : 0.0;
    position_ = std::isfinite(at) ? std::clamp(static_cast<int>(at), 0, kTrackLength) : 0;
    update();
}

void CResolutionControl::setUnit(const QString& unit) {
    unit_ = unit;
    update();
}

void CResolutionControl::setWholeNumbers(bool on) {
    wholeNumbers_ = on;
    update();
}

double CResolutionControl::value() const {
    return min_ + (max_ - min_) * position_ / static_cast<double>(kTrackLength);
}

QString CResolutionControl::text() const {
    const QByteArray unit = unit_.toLocal8Bit();
    return QString::asprintf(wholeNumbers_ ? "%4.0f %s" : "%4.1f %s", value(), unit.constData());
}

QRect CResolutionControl::thumbRect() const {
    return {position_, kTrackY - 5, kThumbWidth, 11};
}

QRect CResolutionControl::textRect() const {
    const QFontMetrics metrics(font());
    const QSize size(metrics.horizontalAdvance(text()), metrics.height());
    const QRect thumb = thumbRect();
    int left = thumb.right() + 1 + kTextGap;
    if (left + size.width() > width())
        left = std::max(0, thumb.left() - kTextGap - size.width());
    return {QPoint(left, kTrackY - size.height() / 2), size};
}

void CResolutionControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const int left = kThumbWidth / 2, right = left + kTrackLength;
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawLine(left, kTrackY - 1, right, kTrackY - 1);
    painter.setPen(pal.color(QPalette::Light));
    painter.drawLine(left, kTrackY, right, kTrackY);

    const QRect thumb = thumbRect();
    painter.setPen(pal.color(QPalette::Shadow));
    painter.setBrush(isEnabled() ? pal.color(QPalette::Button) : pal.color(QPalette::Window));
    painter.drawRect(thumb.adjusted(0, 0, -1, -1));

    // The value sits on the track beside the thumb, the track cut under it.
    const QRect label = textRect();
    painter.fillRect(label.adjusted(-1, 0, 1, 0), pal.color(QPalette::Window));
    painter.setPen(
        pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, text());
}

void CResolutionControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int x = event->position().toPoint().x();
    if (x >= position_ && x < position_ + kThumbWidth) {
        drag_ = kDragging;
        grabOffset_ = x - position_;
        return;
    }
    drag_ = kTrackPressed;
    position_ = std::clamp(x - kThumbWidth / 2, 0, kTrackLength);
    update();
    emit valueChosen(value());
}

void CResolutionControl::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ != kDragging)
        return;
    position_ = std::clamp(event->position().toPoint().x() - grabOffset_, 0, kTrackLength);
    update();
}

void CResolutionControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const bool dragging = drag_ == kDragging;
    drag_ = kIdle;
    if (!dragging)
        return;
    position_ = std::clamp(event->position().toPoint().x() - grabOffset_, 0, kTrackLength);
    update();
    emit valueChosen(value());
}

} // namespace tarvo
