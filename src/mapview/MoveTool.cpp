#include "mapview/MoveTool.h"

#include "mapview/ResourceEditing.h"

#include <QPainter>

namespace tarvo {

void CMoveTool::Press(QPoint p) {
    const CHit hit = ctx_.HitTest(p);
    if (!hit.Found())
        return;
    CTarvoAnalyzerDoc& doc = ctx_.Doc();
    hit_ = hit;
    before_ = ResourcePosition(doc, hit);
    icon_ = ResourceIcon(doc, hit);
    pressedAt_ = pointer_ = p;
    dragging_ = true;
    SetResourcePosition(doc, hit,
                        {doc.ViewWindow.minY - kLiftDistance, doc.ViewWindow.minX - kLiftDistance});
    ctx_.canvas.RerenderPicture();
}

void CMoveTool::Move(QPoint p) {
    if (!dragging_)
        return;
    pointer_ = p;
    ctx_.canvas.RepaintOverlay();
}

void CMoveTool::Release(QPoint p) {
    if (!dragging_)
        return;
    CTarvoAnalyzerDoc& doc = ctx_.Doc();
    if (!HitExists(doc, hit_)) { // the study was replaced meanwhile
        dragging_ = false;
        ctx_.ClearHit();
        return;
    }
    if (!ctx_.InView(p) || p == pressedAt_) {
        Cancel();
        ctx_.ClearHit();
        ctx_.EndMode(kToolMove);
        return;
    }
    dragging_ = false;
    const CSitePoint to = ctx_.SiteAt(p);
    unsigned changed = kChangeAps | kChangeView;
    if (hit_.kind == kHitAp)
        changed =
            PlaceAp(doc, hit_.index, before_, to, doc.aps[hit_.index].valid != 0, ctx_.host.ui());
    else
        SetResourcePosition(doc, hit_, to);
    ctx_.ClearHit();
    ctx_.EndMode(kToolMove, changed);
    ctx_.canvas.RepaintOverlay();
}

void CMoveTool::Cancel() {
    if (!dragging_)
        return;
    dragging_ = false;
    if (HitExists(ctx_.Doc(), hit_))
        SetResourcePosition(ctx_.Doc(), hit_, before_);
    ctx_.canvas.RerenderPicture();
}

void CMoveTool::Paint(QPainter& painter) {
    if (dragging_)
        DrawIconCentred(painter, icon_, pointer_);
}

} // namespace tarvo
