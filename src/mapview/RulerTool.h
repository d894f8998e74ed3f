#pragma once
// The distance ruler: press takes the first point, a dotted rubber band
// follows the pointer with the distance in the status bar, release shows
// the "Measured Distance" dialog. The measure mode ends after one ruler.

#include "mapview/PointerContext.h"

#include <QPoint>

class QPainter;

namespace tarvo {

class CRulerTool {
public:
    explicit CRulerTool(CPointerContext& context) : ctx_(context) {}

    bool Dragging() const { return dragging_; }
    void Press(QPoint p);
    void Move(QPoint p);
    void Release(QPoint p);
    void Paint(QPainter& painter);

private:
    void End();

    CPointerContext& ctx_;
    QPoint first_;
    QPoint second_;
    bool dragging_ = false; // mirrored in the view state's ruler flag
    bool measured_ = false; // the finished line shows while its dialog is open
};

} // namespace tarvo
