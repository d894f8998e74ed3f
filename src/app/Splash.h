#pragma once
// The splash picture, shown centred on the main window while it starts.

#include <QLabel>

namespace tarvo {

class CSplash : public QLabel {
    Q_OBJECT

public:
    explicit CSplash(QWidget* frame);

    // Moves the picture so that its centre lies on the centre of the frame's
    // window rectangle, and shows it at once.
    void ShowCentred();
    bool Shown() const { return shown_; }
    void Dismiss();

private:
    QWidget* frame_;
    bool shown_ = false;
};

} // namespace tarvo
