#pragma once
// A check button drawn from one picture strip of three equal frames:
// 0 off, 1 on, 2 disabled. It acts on the press of the left button, not on
// the release: with auto-toggle it flips between off and on (the disabled
// state 2 does not flip), then reports pressed().

#include <QPixmap>
#include <QWidget>

namespace tarvo {

class CBitCheckButton : public QWidget {
    Q_OBJECT

public:
    explicit CBitCheckButton(QWidget* parent = nullptr);

    void setStrip(const QPixmap& strip); // three frames side by side
    int check() const { return state_; } // 0, 1 or 2
    void setCheck(int state);
    bool isOn() const { return state_ == 1; }
    void setAutoToggle(bool on) { autoToggle_ = on; }

    QSize sizeHint() const override;

signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // The frame the button shows now: its state, or 2 while disabled.
    int shownFrame() const { return isEnabled() ? state_ : 2; }
    void drawFrame(QPainter& painter, const QRect& target) const;

private:
    QPixmap strip_;
    int state_ = 0;
    bool autoToggle_ = true;
};

} // namespace tarvo
