#pragma once
// A tree with check boxes and 16 x 16 swatches (the file list and the AP
// tree). It never changes a check by itself: it reports where on an item
// the mouse went and its owner sets the checks from the document.
//   left press on the check box   -> checkBoxPressed
//   space on the current item     -> checkBoxPressed
//   left press on the swatch      -> iconPressed
//   right press on the swatch     -> iconRightPressed
//   left double click on the text -> labelDoubleClicked
// Each item keeps an int of item data (Qt::UserRole). Texts are never cut
// short: the tree scrolls sideways, and an item without a tool tip of its
// own shows its whole text as one.

#include <QTreeWidget>

namespace tarvo {

class CApTreeCtrl : public QTreeWidget {
    Q_OBJECT

public:
    enum class Zone { None, CheckBox, Icon, Label };

    explicit CApTreeCtrl(QWidget* parent = nullptr);

    static int ItemData(const QTreeWidgetItem* item);
    static void SetItemData(QTreeWidgetItem* item, int data);
    // Fully ticked (a half-ticked item counts as not ticked).
    static bool IsChecked(const QTreeWidgetItem* item);
    static void SetChecked(QTreeWidgetItem* item, bool on);
    static void SetCheckState(QTreeWidgetItem* item, Qt::CheckState state);

    // The part of an item at a viewport position, and the rectangle of a
    // part in viewport coordinates.
    Zone ZoneAt(QPoint viewportPos, QTreeWidgetItem** item = nullptr) const;
    QRect ZoneRect(QTreeWidgetItem* item, Zone zone) const;

    void ExpandAll(); // expands every top-level item

signals:
    void checkBoxPressed(QTreeWidgetItem* item);
    void iconPressed(QTreeWidgetItem* item);
    void iconRightPressed(QTreeWidgetItem* item, QPoint globalPos);
    void labelDoubleClicked(QTreeWidgetItem* item);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class CDelegate;
    CDelegate* delegate_;
};

} // namespace tarvo
