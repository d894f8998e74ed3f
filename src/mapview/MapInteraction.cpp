#include "mapview/MapInteraction.h"

#include "mapview/InfoWnd.h"
#include "mapview/InsertApTool.h"
#include "mapview/InsertSourceTool.h"
#include "mapview/MoveTool.h"
#include "mapview/PointerContext.h"
#include "mapview/ResourceEditor.h"
#include "mapview/RulerTool.h"
#include "view/InfoText.h"

#include <QMouseEvent>
#include <QWidget>

namespace tarvo {

namespace {

QPoint PointOf(const QMouseEvent* event) {
    return event->position().toPoint();
}

} // namespace

CMapInteraction::CMapInteraction(CDocumentHost& host, IMapCanvas& canvas)
    : host_(host), canvas_(canvas), ctx_(std::make_unique<CPointerContext>(host, canvas)),
      ruler_(std::make_unique<CRulerTool>(*ctx_)),
      insertAp_(std::make_unique<CInsertApTool>(*ctx_)),
      insertSource_(std::make_unique<CInsertSourceTool>(*ctx_)),
      move_(std::make_unique<CMoveTool>(*ctx_)), editor_(std::make_unique<CResourceEditor>(*ctx_)) {
    // A resource lifted by a drag goes back before anything saves, exports
    // or hands the study to a worker.
    settling_ = QObject::connect(&host_, &CDocumentHost::settling, [this] { move_->Cancel(); });
}

CMapInteraction::~CMapInteraction() {
    QObject::disconnect(settling_);
}

bool CMapInteraction::Idle() const {
    return !host_.isBusy();
}

void CMapInteraction::Press(QMouseEvent* event) {
    HideInfo();
    if (!Idle())
        return;
    const QPoint p = PointOf(event);
    if (ctx_->ModeOn(kToolMeasure))
        ruler_->Press(p);
    else if (ctx_->ModeOn(kToolMove))
        move_->Press(p);
}

void CMapInteraction::Move(QMouseEvent* event) {
    const QPoint p = PointOf(event);
    if (info_ && info_->isVisible() && info_->ShownAt() != p)
        HideInfo();
    if (!Idle())
        return;
    ctx_->ShowStatus(MoveStatusTexts(host_.doc(), p, ctx_->Wc(), ctx_->Hc(), ctx_->quietUi));
    ruler_->Move(p);
    move_->Move(p);
}

void CMapInteraction::Release(QMouseEvent* event) {
    if (!Idle())
        return;
    const QPoint p = PointOf(event);
    if (ruler_->Dragging())
        ruler_->Release(p);
    else if (move_->Dragging())
        move_->Release(p);
    else if (ctx_->ModeOn(kToolInsertAp))
        insertAp_->Release(p);
    else if (ctx_->ModeOn(kToolInsertSource))
        insertSource_->Release(p);
}

void CMapInteraction::DoubleClick(QMouseEvent* event) {
    HideInfo();
    if (Idle())
        editor_->DoubleClick(PointOf(event));
}

void CMapInteraction::ContextMenu(QMouseEvent* event) {
    HideInfo();
    if (Idle())
        editor_->ContextMenu(PointOf(event), event->globalPosition().toPoint());
}

void CMapInteraction::Hover(QPoint position) {
    if (!Idle())
        return;
    const CTarvoAnalyzerDoc& doc = host_.doc();
    if (!doc.processed || !doc.infoWindowShown || !ctx_->InView(position) || ruler_->Dragging() ||
        move_->Dragging())
        return;
    if (info_ && info_->isVisible() && info_->ShownAt() == position)
        return;
    if (!info_)
        info_ = new CInfoWnd(canvas_.CanvasWidget());
    const std::string text = InfoWindowText(doc, position, ctx_->Wc(), ctx_->Hc(), ctx_->quietUi);
    info_->ShowText(QString::fromStdString(text), position, canvas_.ClientSize(),
                    canvas_.Picture());
}

void CMapInteraction::Leave() {
    HideInfo();
    move_->Cancel();
}

void CMapInteraction::HideInfo() {
    if (info_ && info_->isVisible())
        info_->hide();
}

void CMapInteraction::PaintOverlay(QPainter& painter) {
    ruler_->Paint(painter);
    move_->Paint(painter);
    insertAp_->Paint(painter);
    insertSource_->Paint(painter);
}

} // namespace tarvo
