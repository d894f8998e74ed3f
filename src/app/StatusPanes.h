#pragma once
// The main window's status bar: the stretching message pane ("Ready" when
// idle) and panes 1 to 5, which take no room until text is put into them and
// then exactly the width of their text.

#include <QStatusBar>

#include <array>

class QLabel;

namespace tarvo {

class CFrameStatusBar : public QStatusBar {
    Q_OBJECT

public:
    static constexpr int kPanes = 6;

    explicit CFrameStatusBar(QWidget* parent);

    // The message pane; an empty text shows "Ready".
    void SetMessage(const QString& text);
    // Pane 1..5; an empty text gives the pane no room.
    void SetPaneText(int pane, const QString& text);

    QLabel* Pane(int pane) const { return panes_.at(pane); }

private:
    std::array<QLabel*, kPanes> panes_{};
};

} // namespace tarvo
