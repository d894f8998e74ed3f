#include "mapview/RecordTool.h"

#include "view/Fonts.h"
#include "view/LayerContext.h"
#include "view/LayerDrawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

namespace tarvo {

namespace {

constexpr int kStatusPane = 4;
constexpr int kDotRadius = 5;
constexpr int kHintMargin = 6;
const QColor kPathColour(40, 40, 40);
const QColor kSilentColour(150, 150, 150); // a point where nothing was heard

QString CountText(std::size_t points) {
    return points == 1 ? QStringLiteral("1 point recorded")
                       : QStringLiteral("%1 points recorded").arg(points);
}

} // namespace

const char* CRecordTool::HintText() {
    return "Recording a walk: click where you stand to scan there. Ctrl+Z removes the last "
           "point, Esc ends the walk.";
}

QCursor CRecordTool::Cursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const auto& [colour, width] : {std::pair{QColor(Qt::white), 4}, {QColor(Qt::black), 2}}) {
        painter.setPen(QPen(colour, width));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QPointF(16, 16), 9, 9);
        painter.drawLine(QPointF(16, 1), QPointF(16, 10));
        painter.drawLine(QPointF(16, 22), QPointF(16, 31));
        painter.drawLine(QPointF(1, 16), QPointF(10, 16));
        painter.drawLine(QPointF(22, 16), QPointF(31, 16));
    }
    painter.end();
    return QCursor(pixmap, 16, 16);
}

void CRecordTool::Start(Clicked clicked) {
    clicked_ = std::move(clicked);
    Show({}, std::nullopt);
}

void CRecordTool::Stop() {
    clicked_ = nullptr;
    dots_.clear();
    scanning_.reset();
    pixels_.clear();
    colours_.clear();
    placed_ = false;
    ctx_.canvas.SetStatusText(kStatusPane, QString());
    ctx_.canvas.RepaintOverlay();
}

void CRecordTool::Show(std::vector<CRecordDot> dots, std::optional<CRecordDot> scanning) {
    dots_ = std::move(dots);
    scanning_ = std::move(scanning);
    placed_ = false;
    if (!ctx_.host.isBusy())
        Place();
    const QString count = CountText(dots_.size());
    ctx_.canvas.SetStatusText(kStatusPane,
                              scanning_ ? QStringLiteral("Scanning... ") + count : count);
    ctx_.canvas.RepaintOverlay();
}

void CRecordTool::Place() {
    const CTarvoAnalyzerDoc& doc = ctx_.Doc();
    const CLayerContext layer(doc, ctx_.Wc(), ctx_.Hc());
    pixels_.clear();
    colours_.clear();
    for (const CRecordDot& dot : dots_) {
        pixels_.push_back(layer.Pixel(dot.x, dot.y));
        colours_.push_back(dot.strongestDbm ? ToQColor(doc.CoveragePalette[SampleBandColourIndex(
                                                  *dot.strongestDbm, doc.PowerLow, doc.PowerHigh)])
                                            : kSilentColour);
    }
    if (scanning_)
        pixels_.push_back(layer.Pixel(scanning_->x, scanning_->y));
    placed_ = true;
}

void CRecordTool::Release(QPoint p) {
    if (!Active() || ctx_.host.isBusy() || !ctx_.InView(p))
        return;
    const Clicked clicked = clicked_; // the command may stop the tool
    clicked(p);
}

void CRecordTool::Paint(QPainter& painter) {
    if (!Active())
        return;
    // Zoom, scroll and size change only while the document is free: the
    // places are taken again then, and kept while a scan runs.
    if (!ctx_.host.isBusy())
        Place();
    if (!placed_)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kPathColour, 2));
    for (std::size_t i = 1; i < dots_.size(); ++i)
        painter.drawLine(pixels_[i - 1], pixels_[i]);
    if (scanning_ && !dots_.empty())
        painter.drawLine(pixels_[dots_.size() - 1], pixels_.back());
    for (std::size_t i = 0; i < dots_.size(); ++i) {
        painter.setPen(QPen(kPathColour, 1));
        painter.setBrush(colours_[i]);
        painter.drawEllipse(pixels_[i], kDotRadius, kDotRadius);
    }
    if (scanning_) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 4));
        painter.drawEllipse(pixels_.back(), kDotRadius + 2, kDotRadius + 2);
        painter.setPen(QPen(QColor(0, 0, 255), 2));
        painter.drawEllipse(pixels_.back(), kDotRadius + 2, kDotRadius + 2);
    }
    // The hint, in the lower left, where neither the legend nor the compass is.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(OverlayFont());
    const QFontMetrics metrics(painter.font());
    const QString hint = QString::fromLatin1(HintText());
    const QRect text = metrics.boundingRect(hint).adjusted(-4, -2, 4, 2);
    const QRect box(kHintMargin, ctx_.Hc() - kHintMargin - text.height(), text.width(),
                    text.height());
    painter.setPen(QPen(QColor(120, 120, 90), 1));
    painter.setBrush(QColor(255, 255, 225));
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, hint);
    painter.restore();
}

} // namespace tarvo
