#include "panel/ApTreeCtrl.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace tarvo {

// Gives the tree the style options its items are painted with, so that the
// hit test uses the same rectangles as the drawing. It never toggles a
// check box itself: Qt's delegate would flip the box again on the release
// after the owner has set it from the document. An item without a tool tip
// of its own shows its whole text as one: the narrow panel cuts long AP
// texts off at the tree's edge.
class CApTreeCtrl::CDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::initStyleOption;
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() == QEvent::ToolTip && index.isValid() &&
            !index.data(Qt::ToolTipRole).isValid()) {
            const QString text = index.data(Qt::DisplayRole).toString();
            if (!text.isEmpty()) {
                QToolTip::showText(event->globalPos(), text, view, view->visualRect(index));
                return true;
            }
        }
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }

    bool editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&,
                     const QModelIndex&) override {
        return false;
    }
};

CApTreeCtrl::CApTreeCtrl(QWidget* parent) : QTreeWidget(parent), delegate_(new CDelegate(this)) {
    setItemDelegate(delegate_);
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(true);
    // Long AP texts scroll sideways rather than being cut short.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setIndentation(14);
}

int CApTreeCtrl::ItemData(const QTreeWidgetItem* item) {
    return item ? item->data(0, Qt::UserRole).toInt() : 0;
}

void CApTreeCtrl::SetItemData(QTreeWidgetItem* item, int data) {
    item->setData(0, Qt::UserRole, data);
}

bool CApTreeCtrl::IsChecked(const QTreeWidgetItem* item) {
    return item && item->checkState(0) == Qt::Checked;
}

void CApTreeCtrl::SetChecked(QTreeWidgetItem* item, bool on) {
    SetCheckState(item, on ? Qt::Checked : Qt::Unchecked);
}

void CApTreeCtrl::SetCheckState(QTreeWidgetItem* item, Qt::CheckState state) {
    // Not user-checkable: the box is drawn from this state, and only the
    // owner changes it, from the document.
    item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    item->setData(0, Qt::CheckStateRole, state);
}

QRect CApTreeCtrl::ZoneRect(QTreeWidgetItem* item, Zone zone) const {
    if (!item || zone == Zone::None)
        return {};
    const QModelIndex index = indexFromItem(item);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    delegate_->initStyleOption(&option, index);
    const QStyle::SubElement element = zone == Zone::CheckBox
                                           ? QStyle::SE_ItemViewItemCheckIndicator
                                       : zone == Zone::Icon ? QStyle::SE_ItemViewItemDecoration
                                                            : QStyle::SE_ItemViewItemText;
    return style()->subElementRect(element, &option, this);
}

CApTreeCtrl::Zone CApTreeCtrl::ZoneAt(QPoint viewportPos, QTreeWidgetItem** found) const {
    QTreeWidgetItem* item = itemAt(viewportPos);
    if (found)
        *found = item;
    if (!item)
        return Zone::None;
    for (Zone zone : {Zone::CheckBox, Zone::Icon, Zone::Label})
        if (ZoneRect(item, zone).contains(viewportPos))
            return zone;
    return Zone::None;
}

void CApTreeCtrl::ExpandAll() {
    for (int i = 0; i < topLevelItemCount(); ++i)
        topLevelItem(i)->setExpanded(true);
}

void CApTreeCtrl::mousePressEvent(QMouseEvent* event) {
    QTreeWidgetItem* item = nullptr;
    const Zone zone = ZoneAt(event->position().toPoint(), &item);
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && zone == Zone::CheckBox)
        emit checkBoxPressed(item);
    else if (event->button() == Qt::LeftButton && zone == Zone::Icon)
        emit iconPressed(item);
    else if (event->button() == Qt::RightButton && zone == Zone::Icon)
        emit iconRightPressed(item, event->globalPosition().toPoint());
}

void CApTreeCtrl::keyPressEvent(QKeyEvent* event) {
    // Space ticks the current item as a click on its box would.
    QTreeWidgetItem* item = currentItem();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && item &&
        item->data(0, Qt::CheckStateRole).isValid()) {
        event->accept();
        emit checkBoxPressed(item);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CApTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidgetItem* item = nullptr;
    const Zone zone = ZoneAt(event->position().toPoint(), &item);
    if (event->button() == Qt::LeftButton && zone == Zone::CheckBox) {
        // The second press of a double click comes as the double click
        // itself: it is a second tick.
        emit checkBoxPressed(item);
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && zone == Zone::Label)
        emit labelDoubleClicked(item);
}

} // namespace tarvo
