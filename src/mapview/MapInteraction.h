#pragma once
// The pointer on the map view: status-bar readouts, the information window,
// the ruler, inserting, moving, editing and deleting resources. The view
// forwards its mouse events here (zoom clicks it handles itself) and paints
// the overlay this object draws over the cached picture.

#include <QPoint>

class QMouseEvent;
class QPainter;

namespace tarvo {

class CDocumentHost;
class IMapCanvas;

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
    void Hover(QPoint position);
    void Leave();
    void PaintOverlay(QPainter& painter);

private:
    CDocumentHost& host_;
    IMapCanvas& canvas_;
};

} // namespace tarvo
