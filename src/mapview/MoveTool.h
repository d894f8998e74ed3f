#pragma once
// Moving a resource by dragging: press on it lifts it out of the picture,
// its icon follows the pointer, release puts it down there (an AP record is
// refitted, or put back when the position is refused). A release outside
// the view, a release where it was picked up, and leaving the window put it
// back unchanged. The move mode ends after one move.

#include "mapview/PointerContext.h"

#include <QPoint>

class QPainter;

namespace tarvo {

// Lifted resources sit this far below and left of the view window, so the
// picture is painted without them.
constexpr double kLiftDistance = 10000000.0;

class CMoveTool {
public:
    explicit CMoveTool(CPointerContext& context) : ctx_(context) {}

    bool Dragging() const { return dragging_; }
    void Press(QPoint p);
    void Move(QPoint p);
    void Release(QPoint p);
    // Puts a lifted resource back where it was; the mode stays on.
    void Cancel();
    void Paint(QPainter& painter);

private:
    CPointerContext& ctx_;
    bool dragging_ = false;
    CHit hit_;
    CSitePoint before_; // where the resource was when it was picked up
    int icon_ = 0;
    QPoint pressedAt_;
    QPoint pointer_;
};

} // namespace tarvo
