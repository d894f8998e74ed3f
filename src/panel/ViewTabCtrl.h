#pragma once
// The panel's tab control, drawn by the program in a plain look: a row of
// tabs, each with its image and its text, over a framed page area. The tab
// under the pointer is highlighted.
// A click reports the new selection only when it differs from the one last
// reported, so a click on the selected tab says nothing.

#include <QIcon>
#include <QList>
#include <QStringList>
#include <QWidget>

namespace tarvo {

class CViewTabCtrl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeaderHeight = 22;
    static constexpr int kImageSize = 16;

    explicit CViewTabCtrl(QWidget* parent = nullptr);

    void addTab(const QString& text, const QIcon& image = {});
    int count() const { return static_cast<int>(tabs_.size()); }
    int currentIndex() const { return current_; }
    // Selects a tab without a report (the program's own change).
    void setCurrentIndex(int index);
    QRect tabRect(int index) const;
    // Where a tab's image is drawn (empty for a tab without one).
    QRect iconRect(int index) const;

signals:
    void selectionChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int tabAt(QPoint pos) const;
    void setHot(int index);
    // The room on either side of a tab's contents: as much as the width
    // gives, up to a comfortable margin.
    int padding() const;
    int contentWidth(int index) const;

    QStringList tabs_;
    QList<QIcon> images_;
    int current_ = 0;
    int lastReported_ = 0;
    int hot_ = -1;
};

} // namespace tarvo
