#pragma once
// The calibration line of a new floor plan: while it is active the map view
// shows the plan's picture (fitted into the view) instead of the study, and
// the user drags a line along something of known length, the way the
// ruler is dragged: press takes the first point, a dotted line follows the
// pointer with its length in the status bar, release hands both points, in
// pixels of the picture, to the caller. It reads and changes no document.

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRectF>

#include <functional>

class QPainter;

namespace tarvo {

class IMapCanvas;
class CDocumentHost;

class CPlanCalibrationTool {
public:
    // Both points in pixels of the picture (origin top-left, continuous).
    using LineDrawn = std::function<void(QPointF first, QPointF second)>;

    CPlanCalibrationTool(IMapCanvas& canvas, CDocumentHost& host) : canvas_(canvas), host_(host) {}

    // Shows `picture` and waits for a line; a running calibration is replaced.
    void Start(QImage picture, LineDrawn drawn);
    // Back to the study.
    void Stop();
    bool Active() const { return !picture_.isNull(); }

    void Press(QPoint p);
    void Move(QPoint p);
    void Release(QPoint p);
    // Paints the picture, the line and the hint over the whole canvas.
    void Paint(QPainter& painter);

    // Where the picture lies on the canvas, and a canvas point in pixels of
    // the picture.
    QRectF PictureRect() const;
    QPointF ToPicture(QPoint p) const;

private:
    IMapCanvas& canvas_;
    CDocumentHost& host_; // its UI services show the refusals
    QImage picture_;
    LineDrawn drawn_;
    QPoint first_, second_;
    bool dragging_ = false;
    bool finished_ = false; // the finished line shows while its dialog is open
};

} // namespace tarvo
