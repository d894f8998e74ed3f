#include "panel/ImageTextButton.h"

#include "panel/PanelIcons.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace tarvo {

CImageTextButton::CImageTextButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void CImageTextButton::setPictures(const QPixmap& pair, const QString& name) {
    pair_ = pair;
    pictureName_ = name;
    update();
}

void CImageTextButton::setTextColour(const QColor& colour) {
    textColour_ = colour;
    update();
}

void CImageTextButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);

    const QRect inner = rect().adjusted(2, 2, -2, -2);
    QPixmap picture = StripFrame(pair_, 2, isDown() ? 1 : 0);
    if (!isEnabled() && !picture.isNull()) {
        QStyleOption plain;
        plain.initFrom(this);
        picture = style()->generatedIconPixmap(QIcon::Disabled, picture, &plain);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Without a text the picture fills the button; with one it is a square
    // on the left and the text follows.
    QRect pictureRect = inner;
    if (!text().isEmpty())
        pictureRect.setWidth(inner.height());
    if (isDown())
        pictureRect.translate(1, 1);
    if (!picture.isNull())
        painter.drawPixmap(pictureRect, picture);
    if (!text().isEmpty()) {
        painter.setPen(isEnabled() ? textColour_
                                   : palette().color(QPalette::Disabled, QPalette::ButtonText));
        const QRect textRect = inner.adjusted(pictureRect.width() + 3, 0, 0, 0);
        painter.drawText(textRect.translated(isDown() ? 1 : 0, isDown() ? 1 : 0),
                         Qt::AlignLeft | Qt::AlignVCenter, text());
    }
}

} // namespace tarvo
