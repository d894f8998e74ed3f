#pragma once
// The power-range control: a 140-pixel track from x = 30 with two thumbs,
// low and high, over a scale of whole numbers. The bar between the thumbs
// is shaded from white at the low thumb to the bar colour at the high one;
// the two values are written at both ends. A thumb is grabbed within 5
// pixels of its position and only on its picture; dragging moves it (the
// low thumb up to the high value, the high one down to the low value) and
// the new values are reported once, when the button is released.

#include <QColor>
#include <QImage>
#include <QWidget>

namespace tarvo {

class CRangeControl : public QWidget {
    Q_OBJECT

public:
    enum Thumb { kNone = 0, kLow = 1, kHigh = 2 };

    static constexpr int kTrackLeft = 30;
    static constexpr int kTrackLength = 140;

    explicit CRangeControl(QWidget* parent = nullptr);

    void setScale(int minimum, int maximum);
    int minimum() const { return min_; }
    int maximum() const { return max_; }
    // Sets both values, each held to the scale, low to at most high.
    void setValues(int low, int high);
    int low() const { return low_; }
    int high() const { return high_; }
    void setBarColour(const QColor& colour);

    // x of value v: trunc(30 + (v - min) * 140 / (max - min)).
    int xOfValue(int value) const;

    QSize sizeHint() const override { return {200, 32}; }

signals:
    // After a release; `thumb` is the one that was dragged (kLow or kHigh).
    void released(int thumb, int low, int high);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool hitsThumb(int thumbX, QPoint pos) const;
    void moveActiveThumb(int x);

    int min_ = -90;
    int max_ = -30;
    int low_ = -90;
    int high_ = -30;
    int active_ = kNone;
    int grabOffset_ = 0;
    QColor barColour_{30, 80, 200};
    QImage thumb_; // its alpha channel is the mask
};

} // namespace tarvo
