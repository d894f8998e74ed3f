#include "mapview/IconDialog.h"

#include "mapview/DialogLayout.h"
#include "view/Icons.h"

#include <QMouseEvent>
#include <QPainter>

namespace tarvo {

namespace {

constexpr QColor kFrameColour(20, 20, 20);

QRect Square(QPoint topLeft) {
    return {topLeft, QSize(kIconSize, kIconSize)};
}

void DrawIconSquare(QPainter& painter, QPoint at, int iconId, bool framed) {
    painter.fillRect(Square(at), Qt::white);
    DrawProgramIcon(painter, iconId, at);
    if (framed) {
        painter.setPen(QPen(kFrameColour, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(Square(at).adjusted(-1, -1, 0, 0));
    }
}

} // namespace

CIconDialog::CIconDialog(QWidget* parent, const CIconDialogLayout& layout, int iconId)
    : QDialog(parent), firstIcon_(layout.firstIcon) {
    CDialogLayout built(*this, layout.title, layout.width, layout.height);
    built.Group(QString::fromUtf8(layout.selectTitle), layout.selectGroup);
    built.Group(QStringLiteral("Selected"), layout.selectedGroup);
    built.Buttons(layout.okX, layout.okY, layout.cancelX, layout.cancelY);
    const int index = iconId - firstIcon_;
    selected_ = index >= 0 && index < kIconStyles ? index : 0;
}

int CIconDialog::SquareAt(QPoint p) {
    for (int i = 0; i < kIconStyles; ++i) {
        const QPoint& s = kIconSquares[i];
        if (p.x() >= s.x() && p.x() <= s.x() + kIconSize && p.y() >= s.y() &&
            p.y() <= s.y() + kIconSize)
            return i;
    }
    return -1;
}

void CIconDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < kIconStyles; ++i)
        DrawIconSquare(painter, kIconSquares[i], firstIcon_ + i, i == selected_);
    DrawIconSquare(painter, kSelectedIconAt, SelectedIcon(), true);
}

void CIconDialog::mousePressEvent(QMouseEvent* event) {
    const int square = SquareAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && square >= 0) {
        selected_ = square;
        update();
    }
    QDialog::mousePressEvent(event);
}

bool RunIconDialog(QWidget* parent, const CIconDialogLayout& layout, int& iconId) {
    CIconDialog dialog(parent, layout, iconId);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    iconId = dialog.SelectedIcon();
    return true;
}

} // namespace tarvo
