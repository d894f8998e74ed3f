#include "mapview/MapInteraction.h"

#include "mapview/DocumentHost.h"
#include "mapview/MapCanvas.h"

namespace tarvo {

CMapInteraction::CMapInteraction(CDocumentHost& host, IMapCanvas& canvas)
    : host_(host), canvas_(canvas) {}

CMapInteraction::~CMapInteraction() = default;

void CMapInteraction::Press(QMouseEvent*) {}
void CMapInteraction::Move(QMouseEvent*) {}
void CMapInteraction::Release(QMouseEvent*) {}
void CMapInteraction::DoubleClick(QMouseEvent*) {}
void CMapInteraction::ContextMenu(QMouseEvent*) {}
void CMapInteraction::Hover(QPoint) {}
void CMapInteraction::Leave() {}
void CMapInteraction::PaintOverlay(QPainter&) {}

} // namespace tarvo
