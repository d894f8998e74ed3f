#include "mapview/InsertSourceTool.h"

#include "mapview/ResourceEditing.h"

#include <QPainter>

namespace tarvo {

void CInsertSourceTool::Release(QPoint p) {
    if (!ctx_.InView(p))
        return;
    clicked_ = p;
    ctx_.canvas.RepaintOverlay();
    const CSitePoint site = ctx_.SiteAt(p);
    CSourcePropertiesText fields;
    const bool ok = ctx_.host.dialogs().EditSourceProperties(fields);
    clicked_.reset();
    if (ok) {
        CISMarker source;
        source.icon = kDefaultSourceIcon;
        source.y = site.y;
        source.x = site.x;
        ApplySourceTexts(source, fields);
        ctx_.Doc().sources.Add(source);
    }
    ctx_.EndMode(kToolInsertSource, ok ? kChangeAps : 0u);
    ctx_.canvas.RepaintOverlay();
}

void CInsertSourceTool::Paint(QPainter& painter) {
    if (clicked_)
        DrawIconCentred(painter, kDefaultSourceIcon, *clicked_);
}

} // namespace tarvo
