#pragma once
// What every pointer tool of the map view works with: the document host,
// the canvas, and the few steps they all take (pixel to site, hit test,
// ending a one-shot mode, reporting a change).

#include "mapview/DocumentHost.h"
#include "mapview/MapCanvas.h"
#include "view/HitTest.h"
#include "view/PointerTexts.h"

#include <QPoint>

class QPainter;

namespace tarvo {

class CPointerContext {
public:
    CPointerContext(CDocumentHost& h, IMapCanvas& c) : host(h), canvas(c) {}

    CDocumentHost& host;
    IMapCanvas& canvas;
    // Readouts convert positions on every pointer move; a projection that
    // cannot be inverted must not raise a message box for each of them.
    CSilentUi quietUi;

    CTarvoAnalyzerDoc& Doc() { return host.doc(); }
    int Wc() const { return canvas.ClientSize().width(); }
    int Hc() const { return canvas.ClientSize().height(); }
    bool InView(QPoint p) const;
    // Site position of a client pixel.
    CSitePoint SiteAt(QPoint p);

    // HitTestResource at p; stores the result in the view state (the kind
    // only on a hit) and returns it.
    CHit HitTest(QPoint p);
    // Forgets the hit after each action that used it.
    void ClearHit();

    bool ModeOn(PointerTool tool) { return Doc().view.tools[tool] != 0; }
    // Ends a one-shot mode so the toolbar unchecks it; `changed` names
    // what its action changed in the document (0: nothing, the study is
    // not marked modified).
    void EndMode(PointerTool tool, unsigned changed = 0);

    // Sets the status-bar panes that the texts name.
    void ShowStatus(const CStatusTexts& texts);

    // The document changed: mark the study modified and tell every widget.
    void Changed(unsigned what);
};

// An icon by id with its centre at p (top-left at p - 16).
void DrawIconCentred(QPainter& painter, int iconId, QPoint p);

} // namespace tarvo
