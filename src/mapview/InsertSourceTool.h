#pragma once
// Inserting an interference source: a click opens the empty interference
// source dialog; OK adds the source at the clicked position. The mode ends
// either way.

#include "mapview/PointerContext.h"

#include <QPoint>

#include <optional>

class QPainter;

namespace tarvo {

class CInsertSourceTool {
public:
    explicit CInsertSourceTool(CPointerContext& context) : ctx_(context) {}

    void Release(QPoint p);
    void Paint(QPainter& painter);

private:
    CPointerContext& ctx_;
    std::optional<QPoint> clicked_;
};

} // namespace tarvo
