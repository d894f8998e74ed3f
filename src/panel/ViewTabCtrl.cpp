#include "panel/ViewTabCtrl.h"

#include <QMouseEvent>
#include <QPainter>

namespace tarvo {

namespace {

constexpr int kFirstTabX = 2;
constexpr int kTabPadding = 14;

} // namespace

CViewTabCtrl::CViewTabCtrl(QWidget* parent) : QWidget(parent) {
    QFont bold(QStringLiteral("Arial"));
    bold.setPointSizeF(8.5);
    bold.setBold(true);
    setFont(bold);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void CViewTabCtrl::addTab(const QString& text) {
    tabs_ << text;
    update();
}

void CViewTabCtrl::setCurrentIndex(int index) {
    if (index < 0 || index >= count())
        return;
    current_ = index;
    lastReported_ = index;
    update();
}

QRect CViewTabCtrl::tabRect(int index) const {
    if (index < 0 || index >= count())
        return {};
    const QFontMetrics metrics(font());
    int x = kFirstTabX;
    for (int i = 0; i < index; ++i)
        x += metrics.horizontalAdvance(tabs_[i]) + 2 * kTabPadding;
    return {x, 2, metrics.horizontalAdvance(tabs_[index]) + 2 * kTabPadding, kHeaderHeight - 2};
}

int CViewTabCtrl::tabAt(QPoint pos) const {
    for (int i = 0; i < count(); ++i)
        if (tabRect(i).contains(pos))
            return i;
    return -1;
}

void CViewTabCtrl::setHot(int index) {
    if (index == hot_)
        return;
    // Only the two tabs concerned are repainted, each grown by 2 pixels.
    if (hot_ >= 0)
        update(tabRect(hot_).adjusted(-2, -2, 2, 2));
    hot_ = index;
    if (hot_ >= 0)
        update(tabRect(hot_).adjusted(-2, -2, 2, 2));
}

void CViewTabCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    const QRect pane(0, kHeaderHeight, width(), height() - kHeaderHeight);
    painter.fillRect(pane, pal.color(QPalette::Window));
    painter.setPen(pal.color(QPalette::Mid));
    painter.drawRect(pane.adjusted(0, 0, -1, -1));

    for (int i = 0; i < count(); ++i) {
        QRect tab = tabRect(i);
        const bool selected = i == current_;
        if (selected)
            tab.adjust(-2, -2, 2, 1); // the selected tab stands out and joins the page
        QColor fill = selected ? pal.color(QPalette::Window) : pal.color(QPalette::Button);
        if (i == hot_ && !selected)
            fill = fill.lighter(110);
        painter.fillRect(tab, fill);
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawLine(tab.bottomLeft(), tab.topLeft());
        painter.drawLine(tab.topLeft(), tab.topRight());
        painter.drawLine(tab.topRight(), tab.bottomRight());
        if (!selected)
            painter.drawLine(tab.bottomLeft(), tab.bottomRight());
        painter.setPen(i == hot_ ? pal.color(QPalette::Highlight)
                                 : pal.color(QPalette::WindowText));
        painter.drawText(tab, Qt::AlignCenter, tabs_[i]);
    }
}

void CViewTabCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int index = tabAt(event->position().toPoint());
    if (index < 0)
        return;
    current_ = index;
    update();
    if (index != lastReported_) {
        lastReported_ = index;
        emit selectionChanged(index);
    }
}

void CViewTabCtrl::mouseMoveEvent(QMouseEvent* event) {
    setHot(tabAt(event->position().toPoint()));
}

void CViewTabCtrl::leaveEvent(QEvent*) {
    setHot(-1);
}

} // namespace tarvo
