#include "mapview/InsertApTool.h"

#include "mapview/ResourceEditing.h"
#include "view/ResourceTexts.h"

#include <QPainter>

namespace tarvo {

void CInsertApTool::Release(QPoint p) {
    if (!ctx_.InView(p))
        return;
    clicked_ = p;
    ctx_.canvas.RepaintOverlay();
    CTarvoAnalyzerDoc& doc = ctx_.Doc();
    IUiServices& ui = ctx_.host.ui();
    const CSitePoint site = ctx_.SiteAt(p);
    CApPropertiesText fields = NewApProperties(doc, site, ui);
    const bool ok = ctx_.host.dialogs().EditApProperties(fields);
    clicked_.reset();

    unsigned changed = 0;
    if (ok) {
        const int received = ReceivedApIndex(doc, ParseMacText(fields.mac));
        if (received >= 0) {
            changed = ReceiveMarkedAp(doc, received, fields, ui);
        } else {
            CAPMarker marker;
            marker.icon = kDefaultApIcon;
            ApplyMarkerTexts(marker, fields);
            const auto typed =
                TypedPosition(doc, fields.firstCoordinate, fields.secondCoordinate, ui);
            const CSitePoint at = typed ? typed->site : site;
            marker.y = at.y;
            marker.x = at.x;
            doc.markers.Add(marker);
            changed = kChangeAps | kChangeView;
        }
    }
    ctx_.EndMode(kToolInsertAp, changed);
    ctx_.canvas.RepaintOverlay();
}

void CInsertApTool::Paint(QPainter& painter) {
    if (clicked_)
        DrawIconCentred(painter, kDefaultApIcon, *clicked_);
}

} // namespace tarvo
