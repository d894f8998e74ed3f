#include "mapview/MapView.h"

#include "mapview/DocumentHost.h"
#include "mapview/MapInteraction.h"
#include "view/RenderLayers.h"

#include <QMouseEvent>
#include <QPainter>

namespace tarvo {

CTarvoAnalyzerView::CTarvoAnalyzerView(CDocumentHost& host, QWidget* parent)
    : QWidget(parent), host_(host), interaction_(std::make_unique<CMapInteraction>(host, *this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&host_, &CDocumentHost::documentChanged, this, &CTarvoAnalyzerView::onDocumentChanged);
}

CTarvoAnalyzerView::~CTarvoAnalyzerView() = default;

void CTarvoAnalyzerView::SetStatusText(int pane, const QString& text) {
    emit statusText(pane, text);
}

void CTarvoAnalyzerView::RerenderPicture() {
    pictureStale_ = true;
    update();
}

void CTarvoAnalyzerView::onDocumentChanged(unsigned) {
    RerenderPicture();
}

void CTarvoAnalyzerView::paintEvent(QPaintEvent*) {
    // While a worker owns the document the last finished picture is shown.
    if ((pictureStale_ || picture_.size() != size()) && !host_.isBusy() && width() > 1 &&
        height() > 1) {
        CTarvoAnalyzerDoc& doc = host_.doc();
        doc.view.clientWidth = width();
        doc.view.clientHeight = height();
        picture_ = RenderLayers(doc, width(), height(), host_.ui());
        pictureStale_ = false;
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, picture_);
    interaction_->PaintOverlay(painter);
}

void CTarvoAnalyzerView::resizeEvent(QResizeEvent*) {
    pictureStale_ = true;
}

void CTarvoAnalyzerView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        interaction_->Press(event);
}

void CTarvoAnalyzerView::mouseMoveEvent(QMouseEvent* event) {
    interaction_->Move(event);
}

void CTarvoAnalyzerView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        interaction_->Release(event);
    else if (event->button() == Qt::RightButton)
        interaction_->ContextMenu(event);
}

void CTarvoAnalyzerView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        interaction_->DoubleClick(event);
}

} // namespace tarvo
