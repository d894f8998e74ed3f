#pragma once
// Inserting an AP: a click opens the AP properties dialog at the clicked
// position; OK adds a marked AP, or, when the typed MAC is that of a
// received AP, places that AP instead ("AP Found!"). The mode ends either
// way.

#include "mapview/PointerContext.h"

#include <QPoint>

#include <optional>

class QPainter;

namespace tarvo {

class CInsertApTool {
public:
    explicit CInsertApTool(CPointerContext& context) : ctx_(context) {}

    void Release(QPoint p);
    void Paint(QPainter& painter);

private:
    CPointerContext& ctx_;
    std::optional<QPoint> clicked_; // the new icon shows here while the dialog is open
};

} // namespace tarvo
