#pragma once
// The pointer on the map view: status-bar readouts, the information window,
// the ruler, inserting, moving, editing and deleting resources. The view
// forwards its mouse events here (zoom clicks it handles itself) and paints
// the overlay this object draws over the cached picture. Each pointer tool
// is its own small object; this one routes events to them by mode.
// GUI thread only; while a worker owns the document nothing is read or
// changed here.

#include <QMetaObject>
#include <QPoint>

#include <memory>
#include <optional>

class QMouseEvent;
class QPainter;

namespace tarvo {

class CDocumentHost;
class IMapCanvas;
class CPointerContext;
class CRulerTool;
class CInsertApTool;
class CInsertSourceTool;
class CMoveTool;
class CResourceEditor;
class CInfoWnd;
class CPlanCalibrationTool;
class CRecordTool;

class CMapInteraction {
public:
    CMapInteraction(CDocumentHost& host, IMapCanvas& canvas);
    ~CMapInteraction();
    CMapInteraction(const CMapInteraction&) = delete;
    CMapInteraction& operator=(const CMapInteraction&) = delete;

    // Positions are in the canvas's logical pixels.
    void Press(QMouseEvent* event);   // left button down
    void Move(QMouseEvent* event);    // every move, also in the zoom modes
    void Release(QMouseEvent* event); // left button up
    void DoubleClick(QMouseEvent* event);
    void ContextMenu(QMouseEvent* event); // right button up
    // The pointer rests at `position` (the view times the rest): opens the
    // information window when the document's info-window flag is on.
    void Hover(QPoint position);
    // The pointer left the canvas: hides the information window, puts a
    // dragged resource back and clears the readouts of the pointer.
    void Leave();
    // The document changed: the status-bar readouts are taken again where
    // the pointer rests, or cleared when it is not over the canvas, so no
    // pane keeps describing a coverage, a ruler or a study that has ended.
    void DocumentChanged();
    void PaintOverlay(QPainter& painter);

    // The information window, or nullptr before it was first shown.
    CInfoWnd* InfoWindow() const { return info_; }

    // The calibration line of a new floor plan; while it is active it takes
    // every pointer action and covers the study.
    CPlanCalibrationTool& Calibration() { return *calibration_; }
    bool Calibrating() const;

    // The recording mode of a walk; while it is active a left click records
    // a point, and the other pointer tools wait.
    CRecordTool& Recording() { return *record_; }
    bool RecordingWalk() const;

private:
    bool Idle() const; // no worker owns the document
    void HideInfo();
    void TrackPointer(QPoint p);

    CDocumentHost& host_;
    IMapCanvas& canvas_;
    std::unique_ptr<CPointerContext> ctx_;
    std::unique_ptr<CRulerTool> ruler_;
    std::unique_ptr<CInsertApTool> insertAp_;
    std::unique_ptr<CInsertSourceTool> insertSource_;
    std::unique_ptr<CMoveTool> move_;
    std::unique_ptr<CResourceEditor> editor_;
    std::unique_ptr<CPlanCalibrationTool> calibration_;
    std::unique_ptr<CRecordTool> record_;
    CInfoWnd* info_ = nullptr;      // owned by the canvas widget
    std::optional<QPoint> pointer_; // where the pointer is over the canvas
    QMetaObject::Connection settling_;
};

} // namespace tarvo
