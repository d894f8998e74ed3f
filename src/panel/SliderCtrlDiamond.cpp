#include "panel/SliderCtrlDiamond.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

constexpr int kMargin = 6; // half the diamond's width: the thumb stays inside

} // namespace

CCDSliderCtrlDiamond::CCDSliderCtrlDiamond(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void CCDSliderCtrlDiamond::setRange(int minimum, int maximum) {
    if (maximum <= minimum)
        return;
    min_ = minimum;
    max_ = maximum;
    value_ = std::clamp(value_, min_, max_);
    update();
}

void CCDSliderCtrlDiamond::setValue(int value) {
    value_ = std::clamp(value, min_, max_);
    update();
}

int CCDSliderCtrlDiamond::xOfValue(int value) const {
    const int track = std::max(1, width() - 2 * kMargin - 1);
    return kMargin +
           static_cast<int>(std::lround(static_cast<double>(value - min_) * track / (max_ - min_)));
}

void CCDSliderCtrlDiamond::moveTo(int value) {
    value = std::clamp(value, min_, max_);
    if (value == value_)
        return;
    value_ = value;
    changed_ = true;
    update();
}

void CCDSliderCtrlDiamond::reportIfChanged() {
    if (!changed_)
        return;
    changed_ = false;
    emit released(value_);
}

void CCDSliderCtrlDiamond::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const int mid = height() / 2;
    painter.setPen(pal.color(QPalette::Dark));
    painter.drawLine(kMargin, mid - 1, width() - kMargin - 1, mid - 1);
    painter.setPen(pal.color(QPalette::Light));
    painter.drawLine(kMargin, mid, width() - kMargin - 1, mid);

    // The diamond: light from the top left, shaded toward the bottom right
    // in tones of the control colour.
    const QColor base = isEnabled() ? QColor(70, 110, 190) : pal.color(QPalette::Mid);
    const double x = xOfValue(value_) + 0.5;
    const QPolygonF diamond{QPointF(x, mid - 9.5), QPointF(x + kMargin - 0.5, mid + 0.5),
                            QPointF(x, mid + 10.5), QPointF(x - kMargin + 0.5, mid + 0.5)};
    QLinearGradient shade(x - kMargin, mid - 9, x + kMargin, mid + 10);
    shade.setColorAt(0.0, base.lighter(170));
    shade.setColorAt(0.5, base);
    shade.setColorAt(1.0, base.darker(150));
    painter.setPen(QPen(base.darker(200), 1.0));
    painter.setBrush(shade);
    painter.drawPolygon(diamond);
}

void CCDSliderCtrlDiamond::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    mouseMoveEvent(event);
}

void CCDSliderCtrlDiamond::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    const int track = std::max(1, width() - 2 * kMargin - 1);
    const double at = (event->position().x() - kMargin) * (max_ - min_) / track + min_;
    moveTo(static_cast<int>(std::lround(at)));
}

void CCDSliderCtrlDiamond::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    mouseMoveEvent(event);
    dragging_ = false;
    reportIfChanged();
}

void CCDSliderCtrlDiamond::keyPressEvent(QKeyEvent* event) {
    const int page = std::max(1, (max_ - min_) / 16);
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        moveTo(value_ - 1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        moveTo(value_ + 1);
        break;
    case Qt::Key_PageDown:
        moveTo(value_ - page);
        break;
    case Qt::Key_PageUp:
        moveTo(value_ + page);
        break;
    case Qt::Key_Home:
        moveTo(min_);
        break;
    case Qt::Key_End:
        moveTo(max_);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CCDSliderCtrlDiamond::keyReleaseEvent(QKeyEvent* event) {
    // Keyboard moves are reported too, so the slider never shows a value
    // that was not applied.
    if (!event->isAutoRepeat())
        reportIfChanged();
    QWidget::keyReleaseEvent(event);
}

} // namespace tarvo
