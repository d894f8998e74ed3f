#include "mapview/MapInteraction.h"

#include "mapview/InfoWnd.h"
#include "mapview/InsertApTool.h"
#include "mapview/InsertSourceTool.h"
#include "mapview/MoveTool.h"
#include "mapview/PointerContext.h"
#include "mapview/ResourceEditor.h"
#include "mapview/RulerTool.h"
#include "view/Icons.h"
#include "view/InfoText.h"

#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>

namespace tarvo {

// Tells the interaction when the pointer leaves the canvas, whether or not
// the window forwards that itself.
class CLeaveWatcher : public QObject {
public:
    explicit CLeaveWatcher(CMapInteraction& interaction) : interaction_(interaction) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Leave)
            interaction_.Leave();
        return false;
    }

private:
    CMapInteraction& interaction_;
};

namespace {

QPoint PointOf(const QMouseEvent* event) {
    return event->position().toPoint();
}

// The pointer shape's icon in the current mode, 0 for the arrow.
int CursorIconFor(const CMapViewState& view) {
    if (view.tools[kToolZoomIn])
        return kZoomInPointerIcon;
    if (view.tools[kToolZoomOut])
        return kZoomOutPointerIcon;
    if (view.tools[kToolMeasure])
        return kMeasurePointerIcon;
    if (view.tools[kToolInsertAp])
        return kFirstApIcon;
    if (view.tools[kToolInsertSource])
        return kFirstSourceIcon;
    return 0;
}

} // namespace

CMapInteraction::CMapInteraction(CDocumentHost& host, IMapCanvas& canvas)
    : host_(host), canvas_(canvas), ctx_(std::make_unique<CPointerContext>(host, canvas)),
      ruler_(std::make_unique<CRulerTool>(*ctx_)),
      insertAp_(std::make_unique<CInsertApTool>(*ctx_)),
      insertSource_(std::make_unique<CInsertSourceTool>(*ctx_)),
      move_(std::make_unique<CMoveTool>(*ctx_)), editor_(std::make_unique<CResourceEditor>(*ctx_)) {
    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(kHoverTimeMs);
    QObject::connect(&hoverTimer_, &QTimer::timeout, [this] { Hover(lastPointer_); });
}

// A deleted event filter removes itself from the canvas.
CMapInteraction::~CMapInteraction() = default;

bool CMapInteraction::Idle() const {
    return !host_.isBusy();
}

void CMapInteraction::WatchCanvas() {
    if (leaveWatcher_)
        return;
    leaveWatcher_ = std::make_unique<CLeaveWatcher>(*this);
    canvas_.CanvasWidget()->installEventFilter(leaveWatcher_.get());
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
    WatchCanvas();
    const QPoint p = PointOf(event);
    lastPointer_ = p;
    if (info_ && info_->isVisible() && info_->ShownAt() != p)
        HideInfo();
    if (!Idle())
        return;
    UpdateCursor();
    ctx_->ShowStatus(MoveStatusTexts(host_.doc(), p, ctx_->Wc(), ctx_->Hc(), ctx_->quietUi));
    ruler_->Move(p);
    move_->Move(p);
    if (host_.doc().infoWindowShown)
        hoverTimer_.start();
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
    const CTarvoAnalyzerDoc& doc = host_.doc();
    if (!Idle() || !doc.processed || !doc.infoWindowShown || !ctx_->InView(position) ||
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
    hoverTimer_.stop();
    HideInfo();
    move_->Cancel();
}

void CMapInteraction::HideInfo() {
    hoverTimer_.stop();
    if (info_ && info_->isVisible())
        info_->hide();
}

void CMapInteraction::UpdateCursor() {
    const int icon = CursorIconFor(host_.doc().view);
    if (icon == cursorIcon_)
        return;
    cursorIcon_ = icon;
    QWidget* widget = canvas_.CanvasWidget();
    if (icon == 0)
        widget->unsetCursor();
    else
        widget->setCursor(
            QCursor(QPixmap::fromImage(ProgramIcon(icon)), kIconSize / 2, kIconSize / 2));
}

void CMapInteraction::PaintOverlay(QPainter& painter) {
    ruler_->Paint(painter);
    move_->Paint(painter);
    insertAp_->Paint(painter);
    insertSource_->Paint(painter);
}

} // namespace tarvo
