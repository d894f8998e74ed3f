#pragma once
// The coverage-resolution control: a thumb on an 84-pixel track standing
// for minimum + (maximum - minimum) * position / 84, with the value and its
// unit written to the right of the thumb (to its left where the control
// ends too soon). A press on the track away from the thumb
// moves the thumb there and reports at once; a dragged thumb reports when
// it is released.

#include <QString>
#include <QWidget>

namespace tarvo {

class CResolutionControl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTrackLength = 84;
    static constexpr int kThumbWidth = 10;

    explicit CResolutionControl(QWidget* parent = nullptr);

    // Stores the range, value and unit; the thumb goes to
    // trunc((value - minimum) * 84 / (maximum - minimum)).
    void setRange(double minimum, double maximum, double value, const QString& unit);
    void setUnit(const QString& unit);
    // "%4.0f %s" when on (the default), else "%4.1f %s".
    void setWholeNumbers(bool on);

    double minimum() const { return min_; }
    double maximum() const { return max_; }
    double value() const; // the value the thumb stands for
    int position() const { return position_; }
    QString text() const; // the value as shown
    // Where the thumb and the value are drawn.
    QRect thumbRect() const;
    QRect textRect() const;

    QSize sizeHint() const override { return {100, 24}; }

signals:
    void valueChosen(double value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum Drag { kIdle = 0, kDragging = 1, kTrackPressed = 2 };

    double min_ = 1.0;
    double max_ = 10.0;
    QString unit_;
    bool wholeNumbers_ = true;
    int position_ = 0;
    int drag_ = kIdle;
    int grabOffset_ = 0;
};

} // namespace tarvo
