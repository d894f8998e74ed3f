#include "panel/RangeControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tarvo {

namespace {

constexpr int kThumbHalfWidth = 5;
constexpr int kThumbTop = 6;
constexpr int kBarTop = 9;
constexpr int kBarHeight = 14;
constexpr int kBandHeight = 6;

// One picture for both thumbs: a pointer 11 pixels wide, its transparent
// corners outside the mask.
QImage ThumbPicture() {
    QImage image(2 * kThumbHalfWidth + 1, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QPainterPath outline;
    outline.moveTo(0.5, 0.5);
    outline.lineTo(10.5, 0.5);
    outline.lineTo(10.5, 13.5);
    outline.lineTo(5.5, 19.5);
    outline.lineTo(0.5, 13.5);
    outline.closeSubpath();
    painter.setPen(QPen(QColor(40, 40, 40), 1.0));
    painter.setBrush(QColor(225, 225, 225));
    painter.drawPath(outline);
    painter.setPen(QColor(140, 140, 140));
    for (int x : {3, 5, 7})
        painter.drawLine(x, 4, x, 11);
    return image;
}

QColor Mix(const QColor& bar, double w) {
    const auto mix = [w](int c) { return static_cast<int>(c * (1.0 - w) + 255 * w); };
    return {mix(bar.red()), mix(bar.green()), mix(bar.blue())};
}

} // namespace

CRangeControl::CRangeControl(QWidget* parent) : QWidget(parent), thumb_(ThumbPicture()) {
    setFocusPolicy(Qt::NoFocus);
}

void CRangeControl::setScale(int minimum, int maximum) {
    if (maximum <= minimum)
        return;
    min_ = minimum;
    max_ = maximum;
    setValues(low_, high_);
}

void CRangeControl::setValues(int low, int high) {
    high_ = std::clamp(high, min_, max_);
    low_ = std::clamp(low, min_, high_);
    update();
}

void CRangeControl::setBarColour(const QColor& colour) {
    barColour_ = colour;
    update();
}

int CRangeControl::xOfValue(int value) const {
    return static_cast<int>(kTrackLeft +
                            static_cast<double>(value - min_) * kTrackLength / (max_ - min_));
}

void CRangeControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.fillRect(0, 0, width(), kBandHeight, Qt::white);
    painter.fillRect(0, height() - kBandHeight, width(), kBandHeight, Qt::white);

    // Each column of the bar stands for a value; the weight of white falls
    // from 1 at the low value to 0.1 at the high one. Values are compared
    // in 1/256 steps as 16-bit numbers.
    const int lowX = xOfValue(low_), highX = xOfValue(high_);
    const double perPixel = static_cast<double>(max_ - min_) / kTrackLength;
    const auto fixed = [](double v) { return static_cast<std::int16_t>(v * 256.0); };
    const std::int16_t low256 = fixed(low_), high256 = fixed(high_);
    for (int i = lowX; i <= highX; ++i) {
        const std::int16_t v256 = fixed(min_ + (i - kTrackLeft) * perPixel);
        double w = 0.1;
        if (v256 < low256)
            w = 1.0;
        else if (v256 <= high256)
            w = high256 == low256 ? 1.0 : 0.1 + 0.9 * (high256 - v256) / double(high256 - low256);
        painter.setPen(Mix(barColour_, w));
        painter.drawLine(i, kBarTop, i, kBarTop + kBarHeight - 1);
    }
    painter.drawImage(lowX - kThumbHalfWidth, kThumbTop, thumb_);
    painter.drawImage(highX - kThumbHalfWidth, kThumbTop, thumb_);

    QFont small = font();
    small.setPixelSize(9);
    small.setBold(true);
    painter.setFont(small);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(QRect(0, 0, 30, height()), Qt::AlignCenter, QString::number(low_));
    painter.drawText(QRect(170, 0, 30, height()), Qt::AlignCenter, QString::number(high_));
}

bool CRangeControl::hitsThumb(int thumbX, QPoint pos) const {
    if (std::abs(pos.x() - thumbX) > kThumbHalfWidth)
        return false;
    const QPoint inPicture(pos.x() - (thumbX - kThumbHalfWidth), pos.y() - kThumbTop);
    return thumb_.valid(inPicture) && qAlpha(thumb_.pixel(inPicture)) != 0;
}

void CRangeControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const int lowX = xOfValue(low_), highX = xOfValue(high_);
    const bool onLow = hitsThumb(lowX, pos), onHigh = hitsThumb(highX, pos);
    active_ = onLow ? kLow : onHigh ? kHigh : kNone;
    // Thumbs that lie on each other: taking the low one first would pin
    // both at the bottom of the scale for good, so the one that can move
    // toward the pointer's side is taken.
    if (onLow && onHigh && low_ == high_) {
        if (low_ == min_ || (low_ != max_ && pos.x() >= lowX))
            active_ = kHigh;
    }
    if (active_ == kNone)
        return;
    grabOffset_ = pos.x() - ((active_ == kLow ? lowX : highX) - kThumbHalfWidth);
}

void CRangeControl::moveActiveThumb(int x) {
    const double perValue = static_cast<double>(kTrackLength) / (max_ - min_);
    const int value =
        static_cast<int>((x - grabOffset_ - (kTrackLeft - kThumbHalfWidth)) / perValue + min_);
    if (active_ == kLow)
        low_ = std::clamp(value, min_, high_);
    else
        high_ = std::clamp(value, low_, max_);
    update();
}

void CRangeControl::mouseMoveEvent(QMouseEvent* event) {
    if (active_ != kNone)
        moveActiveThumb(event->position().toPoint().x());
}

void CRangeControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || active_ == kNone)
        return;
    moveActiveThumb(event->position().toPoint().x());
    const int thumb = active_;
    active_ = kNone;
    emit released(thumb, low_, high_);
}

} // namespace tarvo
