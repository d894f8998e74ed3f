#pragma once
// The right-button menu on a resource ("Delete", "Change Icon") and editing
// a resource by double-click through its property dialog.

#include "mapview/PointerContext.h"

#include <QPoint>

namespace tarvo {

class CResourceEditor {
public:
    explicit CResourceEditor(CPointerContext& context) : ctx_(context) {}

    // globalPos: where the menu opens on the screen.
    void ContextMenu(QPoint p, QPoint globalPos);
    void DoubleClick(QPoint p);

private:
    unsigned ChangeIcon(CHit hit);

    CPointerContext& ctx_;
};

} // namespace tarvo
