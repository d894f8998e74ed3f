#include "mapview/PointerContext.h"

#include "view/Icons.h"
#include "view/ViewGeometry.h"

#include <QPainter>

namespace tarvo {

bool CPointerContext::InView(QPoint p) const {
    return p.x() >= 0 && p.y() >= 0 && p.x() < Wc() && p.y() < Hc();
}

CSitePoint CPointerContext::SiteAt(QPoint p) {
    CSitePoint site;
    ClientToSite(VisibleRect(Doc()), p.x(), p.y(), Wc(), Hc(), site.x, site.y);
    return site;
}

CHit CPointerContext::HitTest(QPoint p) {
    const CHit hit = HitTestResource(Doc(), p, Wc(), Hc());
    CMapViewState& view = Doc().view;
    view.hitIndex = hit.index;
    if (hit.Found())
        view.hitKind = hit.kind;
    return hit;
}

void CPointerContext::ClearHit() {
    Doc().view.hitIndex = -1;
}

void CPointerContext::EndMode(PointerTool tool, unsigned changed) {
    Doc().view.tools[tool] = 0;
    if (changed)
        Changed(changed | kChangeView);
    else
        host.notify(kChangeView);
}

void CPointerContext::ShowStatus(const CStatusTexts& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (texts[i])
            canvas.SetStatusText(static_cast<int>(i) + 1, QString::fromStdString(*texts[i]));
}

void CPointerContext::Changed(unsigned what) {
    host.setModified(true);
    host.notify(what);
}

void DrawIconCentred(QPainter& painter, int iconId, QPoint p) {
    DrawProgramIcon(painter, iconId, QPoint(p.x() - kIconSize / 2, p.y() - kIconSize / 2));
}

} // namespace tarvo
