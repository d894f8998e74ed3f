#include "panel/BitCheckButton.h"

#include "panel/PanelIcons.h"

#include <QMouseEvent>
#include <QPainter>

namespace tarvo {

CBitCheckButton::CBitCheckButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void CBitCheckButton::setStrip(const QPixmap& strip) {
    strip_ = strip;
    update();
}

void CBitCheckButton::setCheck(int state) {
    if (state < 0 || state > 2 || state == state_)
        return;
    state_ = state;
    update();
}

QSize CBitCheckButton::sizeHint() const {
    if (strip_.isNull())
        return {32, 32};
    const QSizeF size = strip_.deviceIndependentSize();
    return QSizeF(size.width() / 3.0, size.height()).toSize();
}

void CBitCheckButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (autoToggle_ && state_ != 2)
        state_ ^= 1;
    update();
    emit pressed();
}

void CBitCheckButton::drawFrame(QPainter& painter, const QRect& target) const {
    const QPixmap frame = StripFrame(strip_, 3, shownFrame());
    if (frame.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, frame);
}

void CBitCheckButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(painter, rect());
}

} // namespace tarvo
