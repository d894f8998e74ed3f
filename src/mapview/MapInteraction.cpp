#include "mapview/MapInteraction.h"

#include "mapview/InfoWnd.h"
#include "mapview/InsertApTool.h"
#include "mapview/InsertSourceTool.h"
#include "mapview/MoveTool.h"
#include "mapview/PlanCalibrationTool.h"
#include "mapview/PointerContext.h"
#include "mapview/RecordTool.h"
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
      move_(std::make_unique<CMoveTool>(*ctx_)), editor_(std::make_unique<CResourceEditor>(*ctx_)),
      calibration_(std::make_unique<CPlanCalibrationTool>(canvas, host)),
      record_(std::make_unique<CRecordTool>(*ctx_)) {
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

bool CMapInteraction::Calibrating() const {
    return calibration_->Active();
}

bool CMapInteraction::RecordingWalk() const {
    return record_->Active();
}

void CMapInteraction::Press(QMouseEvent* event) {
    HideInfo();
    const QPoint p = PointOf(event);
    TrackPointer(p);
    if (Calibrating()) {
        calibration_->Press(p);
        return;
    }
    if (!Idle() || RecordingWalk())
        return;
    if (ctx_->ModeOn(kToolMeasure))
        ruler_->Press(p);
    else if (ctx_->ModeOn(kToolMove))
        move_->Press(p);
}

void CMapInteraction::Move(QMouseEvent* event) {
    const QPoint p = PointOf(event);
    TrackPointer(p);
    if (info_ && info_->isVisible() && info_->ShownAt() != p)
        HideInfo();
    if (Calibrating()) {
        calibration_->Move(p);
        return;
    }
    if (!Idle())
        return;
    ctx_->ShowStatus(MoveStatusTexts(host_.doc(), p, ctx_->Wc(), ctx_->Hc(), ctx_->quietUi));
    ruler_->Move(p);
    move_->Move(p);
}

void CMapInteraction::Release(QMouseEvent* event) {
    const QPoint p = PointOf(event);
    TrackPointer(p);
    if (Calibrating()) {
        calibration_->Release(p);
        return;
    }
    if (!Idle())
        return;
    if (RecordingWalk())
        record_->Release(p);
    else if (ruler_->Dragging())
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
    if (Idle() && !Calibrating() && !RecordingWalk())
        editor_->DoubleClick(PointOf(event));
}

void CMapInteraction::ContextMenu(QMouseEvent* event) {
    HideInfo();
    if (Calibrating())
        calibration_->Stop();
    else if (Idle())
        editor_->ContextMenu(PointOf(event), event->globalPosition().toPoint());
}

void CMapInteraction::Hover(QPoint position) {
    if (!Idle())
        return;
    const CTarvoAnalyzerDoc& doc = host_.doc();
    if (Calibrating() || !doc.processed || !doc.infoWindowShown || !ctx_->InView(position) ||
        ruler_->Dragging() || move_->Dragging())
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
    pointer_.reset();
    if (!ruler_->Dragging())
        ctx_->ShowStatus({std::string(), std::string(), std::nullopt});
}

void CMapInteraction::DocumentChanged() {
    // A running ruler keeps its own readout until it ends.
    if (!Idle() || ruler_->Dragging())
        return;
    CStatusTexts texts{std::string(), std::string(), std::nullopt};
    if (pointer_)
        texts = MoveStatusTexts(host_.doc(), *pointer_, ctx_->Wc(), ctx_->Hc(), ctx_->quietUi);
    texts[2] = std::string(); // the ruler's distance, which ended with it
    ctx_->ShowStatus(texts);
}

void CMapInteraction::TrackPointer(QPoint p) {
    if (ctx_->InView(p))
        pointer_ = p;
    else
        pointer_.reset();
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
    record_->Paint(painter);
    calibration_->Paint(painter); // over everything while it is active
}

} // namespace tarvo
