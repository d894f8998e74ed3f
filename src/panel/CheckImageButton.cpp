#include "panel/CheckImageButton.h"

#include <QPainter>

namespace tarvo {

CCheckImageButton::CCheckImageButton(const QString& text, QWidget* parent)
    : CBitCheckButton(parent), text_(text) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.0);
    setFont(font);
}

void CCheckImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(painter, QRect(4, (height() - 16) / 2, 16, 16));
    painter.setPen(isEnabled() ? QColor(10, 10, 100)
                               : palette().color(QPalette::Disabled, QPalette::WindowText));
    painter.drawText(QRect(25, 1, width() - 25, height() - 1), Qt::AlignLeft | Qt::AlignVCenter,
                     text_);
}

} // namespace tarvo
