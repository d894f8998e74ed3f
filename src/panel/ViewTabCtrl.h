#pragma once
// The panel's tab control, drawn by the program in a plain look: a row of
// tabs over a framed page area. The tab under the pointer is highlighted.
// A click reports the new selection only when it differs from the one last
// reported, so a click on the selected tab says nothing.

#include <QStringList>
#include <QWidget>

namespace tarvo {

class CViewTabCtrl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeaderHeight = 22;

    explicit CViewTabCtrl(QWidget* parent = nullptr);

    void addTab(const QString& text);
    int count() const { return static_cast<int>(tabs_.size()); }
    int currentIndex() const { return current_; }
    // Selects a tab without a report (the program's own change).
    void setCurrentIndex(int index);
    QRect tabRect(int index) const;

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

    QStringList tabs_;
    int current_ = 0;
    int lastReported_ = 0;
    int hot_ = -1;
};

} // namespace tarvo
