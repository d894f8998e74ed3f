#include "mapview/ResourceEditor.h"

#include "mapview/ResourceEditing.h"
#include "view/Icons.h"

namespace tarvo {

namespace {

enum MenuItem { kMenuDelete = 0, kMenuChangeIcon = 1 };

bool LayerShown(const CTarvoAnalyzerDoc& doc, int kind) {
    switch (kind) {
    case kHitAp:
        return doc.apIconsShown;
    case kHitMarker:
        return doc.markedApIconsShown;
    default:
        return doc.interferenceIconsShown;
    }
}

} // namespace

void CResourceEditor::ContextMenu(QPoint p, QPoint globalPos) {
    const CHit hit = ctx_.HitTest(p);
    unsigned changed = 0;
    if (hit.Found() && LayerShown(ctx_.Doc(), hit.kind)) {
        switch (ctx_.host.dialogs().ChooseMenuItem({"Delete", "Change Icon"}, globalPos)) {
        case kMenuDelete:
            changed = DeleteResource(ctx_.Doc(), hit, ctx_.Wc(), ctx_.Hc());
            break;
        case kMenuChangeIcon:
            changed = ChangeIcon(hit);
            break;
        default:
            break;
        }
    }
    ctx_.ClearHit();
    if (changed)
        ctx_.Changed(changed);
}

unsigned CResourceEditor::ChangeIcon(CHit hit) {
    const bool source = hit.kind == kHitSource;
    const int first = source ? kFirstSourceIcon : kFirstApIcon;
    int id = ResourceIcon(ctx_.Doc(), hit);
    const bool ok =
        source ? ctx_.host.dialogs().ChooseSourceIcon(id) : ctx_.host.dialogs().ChooseApIcon(id);
    if (!ok || id < first || id >= first + kIconStyles || !HitExists(ctx_.Doc(), hit))
        return 0;
    ResourceIcon(ctx_.Doc(), hit) = id;
    return kChangeAps | kChangeView;
}

void CResourceEditor::DoubleClick(QPoint p) {
    const CHit hit = ctx_.HitTest(p);
    unsigned changed = 0;
    if (hit.Found())
        changed = EditResource(ctx_.Doc(), hit, ctx_.host.dialogs(), ctx_.host.ui());
    ctx_.ClearHit();
    if (changed)
        ctx_.Changed(changed);
}

} // namespace tarvo
