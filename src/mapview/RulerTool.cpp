#include "mapview/RulerTool.h"

#include <QPainter>

namespace tarvo {

namespace {

constexpr const char* kInvalidPointTitle = "Invalid Point";

QPen RulerPen(Qt::PenStyle style) {
    QPen pen(QColor(0, 0, 255));
    pen.setWidth(1);
    pen.setStyle(style);
    return pen;
}

} // namespace

void CRulerTool::Press(QPoint p) {
    if (!ctx_.InView(p)) {
        ctx_.host.ui().MessageBox("The 1st Point Is Out of View!", kInvalidPointTitle,
                                  MsgIcon::Error);
        return;
    }
    first_ = second_ = p;
    measured_ = false;
    dragging_ = true;
    ctx_.Doc().view.tools[kToolRulerDragging] = 1;
}

void CRulerTool::Move(QPoint p) {
    if (!Dragging())
        return;
    second_ = p;
    ctx_.ShowStatus(RulerStatusTexts(ctx_.Doc(), first_, p, ctx_.Wc(), ctx_.Hc(), ctx_.quietUi));
    ctx_.canvas.RepaintOverlay();
}

void CRulerTool::Release(QPoint p) {
    if (!Dragging())
        return;
    if (!ctx_.InView(p)) {
        ctx_.host.ui().MessageBox("The 2nd Point Is Out of View!", kInvalidPointTitle,
                                  MsgIcon::Error);
        End();
        return;
    }
    second_ = p;
    measured_ = true;
    ctx_.canvas.RepaintOverlay();
    CTarvoAnalyzerDoc& doc = ctx_.Doc();
    ctx_.ShowStatus(RulerStatusTexts(doc, first_, p, ctx_.Wc(), ctx_.Hc(), ctx_.quietUi));
    const CRulerReadout r = RulerReadout(doc, first_, p, ctx_.Wc(), ctx_.Hc(), ctx_.host.ui());
    ctx_.host.dialogs().ShowMeasuredDistance({r.firstHeader, r.secondHeader, r.firstPoint1,
                                              r.firstPoint2, r.secondPoint1, r.secondPoint2,
                                              r.distance});
    End();
}

void CRulerTool::End() {
    measured_ = false;
    dragging_ = false;
    ctx_.Doc().view.tools[kToolRulerDragging] = 0;
    ctx_.EndMode(kToolMeasure);
    ctx_.canvas.RepaintOverlay();
}

void CRulerTool::Paint(QPainter& painter) {
    if (!Dragging() && !measured_)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(RulerPen(measured_ ? Qt::SolidLine : Qt::DotLine));
    painter.drawLine(first_, second_);
    painter.restore();
}

} // namespace tarvo
