#pragma once
// A horizontal slider with a diamond-shaped thumb. Moving the thumb (mouse
// or arrow keys) marks the slider changed; the new position is reported
// once, when the button (or key) is released after a change.

#include <QWidget>

namespace tarvo {

class CCDSliderCtrlDiamond : public QWidget {
    Q_OBJECT

public:
    explicit CCDSliderCtrlDiamond(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    void setValue(int value); // no report
    int value() const { return value_; }
    // x of the thumb's centre for a value.
    int xOfValue(int value) const;

    QSize sizeHint() const override { return {100, 24}; }

signals:
    void released(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void moveTo(int value);
    void reportIfChanged();

    int min_ = 0;
    int max_ = 255;
    int value_ = 0;
    bool changed_ = false;
    bool dragging_ = false;
};

} // namespace tarvo
