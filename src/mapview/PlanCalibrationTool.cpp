#include "mapview/PlanCalibrationTool.h"

#include "mapview/DocumentHost.h"
#include "mapview/MapCanvas.h"

#include <QPainter>

#include <cmath>

namespace tarvo {

namespace {

constexpr const char* kInvalidPointTitle = "Invalid Point";
constexpr int kHintHeight = 24;
const QString kHint = QStringLiteral(
    "Drag a line along something of known length (a long wall), then type its length. "
    "Esc or the right button returns to the study.");

double Length(QPointF a, QPointF b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

void CPlanCalibrationTool::Start(QImage picture, LineDrawn drawn) {
    picture_ = std::move(picture);
    drawn_ = std::move(drawn);
    dragging_ = finished_ = false;
    canvas_.SetStatusText(1, QStringLiteral("Drag the calibration line"));
    canvas_.RepaintOverlay();
}

void CPlanCalibrationTool::Stop() {
    picture_ = QImage();
    drawn_ = nullptr;
    dragging_ = finished_ = false;
    canvas_.SetStatusText(1, QString());
    canvas_.RepaintOverlay();
}

QRectF CPlanCalibrationTool::PictureRect() const {
    const QSize client = canvas_.ClientSize();
    if (picture_.isNull())
        return {};
    // Below the hint, fitted with its aspect kept, centred.
    const double areaW = client.width(), areaH = std::max(1, client.height() - kHintHeight);
    const double zoom = std::min(areaW / picture_.width(), areaH / picture_.height());
    const double w = picture_.width() * zoom, h = picture_.height() * zoom;
    return {(areaW - w) / 2.0, kHintHeight + (areaH - h) / 2.0, w, h};
}

QPointF CPlanCalibrationTool::ToPicture(QPoint p) const {
    const QRectF rect = PictureRect();
    if (rect.isEmpty())
        return {};
    return {(p.x() - rect.left()) * picture_.width() / rect.width(),
            (p.y() - rect.top()) * picture_.height() / rect.height()};
}

void CPlanCalibrationTool::Press(QPoint p) {
    if (!Active())
        return;
    if (!PictureRect().contains(p)) {
        host_.ui().MessageBox("Start the line on the picture.", kInvalidPointTitle, MsgIcon::Error);
        return;
    }
    first_ = second_ = p;
    dragging_ = true;
    finished_ = false;
}

void CPlanCalibrationTool::Move(QPoint p) {
    if (!dragging_)
        return;
    second_ = p;
    canvas_.SetStatusText(1, QStringLiteral("Line: %1 pixels")
                                 .arg(Length(ToPicture(first_), ToPicture(second_)), 0, 'f', 1));
    canvas_.RepaintOverlay();
}

void CPlanCalibrationTool::Release(QPoint p) {
    if (!dragging_)
        return;
    dragging_ = false;
    if (!PictureRect().contains(p)) {
        host_.ui().MessageBox("End the line on the picture.", kInvalidPointTitle, MsgIcon::Error);
        canvas_.RepaintOverlay();
        return;
    }
    second_ = p;
    const QPointF a = ToPicture(first_), b = ToPicture(second_);
    if (Length(a, b) < 1.0) {
        canvas_.SetStatusText(1, QStringLiteral("Drag the calibration line"));
        canvas_.RepaintOverlay();
        return; // a click, not a line
    }
    finished_ = true;
    canvas_.RepaintOverlay();
    // The caller may stop the tool (or start another) from here.
    const LineDrawn drawn = drawn_;
    if (drawn)
        drawn(a, b);
    finished_ = false;
    canvas_.RepaintOverlay();
}

void CPlanCalibrationTool::Paint(QPainter& painter) {
    if (!Active())
        return;
    const QSize client = canvas_.ClientSize();
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), client), Qt::white);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(PictureRect(), picture_);
    const QRect hint(0, 0, client.width(), kHintHeight);
    painter.fillRect(hint, QColor(255, 255, 225));
    painter.setPen(Qt::black);
    painter.drawText(hint.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, kHint);
    if (dragging_ || finished_) {
        // Over the dark walls it measures, the line keeps a white edge.
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(first_, second_);
        QPen line(QColor(0, 0, 255), 2, finished_ ? Qt::SolidLine : Qt::DashLine, Qt::RoundCap);
        painter.setPen(line);
        painter.drawLine(first_, second_);
        painter.setBrush(Qt::white);
        painter.setPen(QPen(QColor(0, 0, 255), 2));
        for (const QPoint end : {first_, second_})
            painter.drawEllipse(end, 4, 4);
    }
    painter.restore();
}

} // namespace tarvo
