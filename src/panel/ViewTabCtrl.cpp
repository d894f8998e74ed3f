#include "panel/ViewTabCtrl.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tarvo {

namespace {

constexpr int kFirstTabX = 2;
constexpr int kMostPadding = 14;
constexpr int kLeastPadding = 3;
constexpr int kImageGap = 3; // between a tab's image and its text

} // namespace

CViewTabCtrl::CViewTabCtrl(QWidget* parent) : QWidget(parent) {
    QFont bold(QStringLiteral("Arial"));
    bold.setPointSizeF(8.5);
    bold.setBold(true);
    setFont(bold);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

void CViewTabCtrl::addTab(const QString& text, const QIcon& image) {
    tabs_ << text;
    images_ << image;
    update();
}

int CViewTabCtrl::contentWidth(int index) const {
    const int image = images_[index].isNull() ? 0 : kImageSize + kImageGap;
    return image + QFontMetrics(font()).horizontalAdvance(tabs_[index]);
}

int CViewTabCtrl::padding() const {
    if (count() == 0)
        return kMostPadding;
    int contents = 0;
    for (int i = 0; i < count(); ++i)
        contents += contentWidth(i);
    const int spare = (width() - 2 * kFirstTabX - contents) / (2 * count());
    return std::clamp(spare, kLeastPadding, kMostPadding);
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
    const int pad = padding();
    int x = kFirstTabX;
    for (int i = 0; i < index; ++i)
        x += contentWidth(i) + 2 * pad;
    return {x, 2, contentWidth(index) + 2 * pad, kHeaderHeight - 2};
}

QRect CViewTabCtrl::iconRect(int index) const {
    if (index < 0 || index >= count() || images_[index].isNull())
        return {};
    const QRect tab = tabRect(index);
    return {tab.left() + padding(), tab.center().y() - kImageSize / 2 + 1, kImageSize, kImageSize};
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
        const QRect image = iconRect(i);
        if (!image.isNull())
            images_[i].paint(&painter, image);
        painter.setPen(i == hot_ ? pal.color(QPalette::Highlight)
                                 : pal.color(QPalette::WindowText));
        const QRect text =
            tabRect(i).adjusted(padding() + (image.isNull() ? 0 : kImageSize + kImageGap), 0, 0, 0);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, tabs_[i]);
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
