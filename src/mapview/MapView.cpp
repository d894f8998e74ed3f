#include "mapview/MapView.h"

#include "mapview/DocumentHost.h"
#include "mapview/MapInteraction.h"
#include "mapview/MapViewCommands.h"
#include "mapview/PlanCalibrationTool.h"
#include "view/Icons.h"
#include "view/LayerContext.h"
#include "view/ViewBitmap.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>

#include <array>

namespace tarvo {

namespace {

constexpr int kScrollMax = 1000;
// The platform's default time the pointer rests before a hover.
constexpr int kHoverMs = 400;
// Line steps per notch of the wheel.
constexpr int kWheelLines = 3;

// The pointer of a mode: its icon with the hot spot in the middle.
const QCursor& ModeCursor(int iconId) {
    static std::array<QCursor, kZoomOutPointerIcon - kFirstApIcon + 1> cursors;
    QCursor& cursor = cursors[iconId - kFirstApIcon];
    if (cursor.pixmap().isNull())
        cursor = QCursor(QPixmap::fromImage(ProgramIcon(iconId)), kIconSize / 2, kIconSize / 2);
    return cursor;
}

ScrollCode CodeFor(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return ScrollCode::LineDown;
    case QAbstractSlider::SliderSingleStepSub:
        return ScrollCode::LineUp;
    case QAbstractSlider::SliderPageStepAdd:
        return ScrollCode::PageDown;
    case QAbstractSlider::SliderPageStepSub:
        return ScrollCode::PageUp;
    case QAbstractSlider::SliderToMinimum:
        return ScrollCode::Top;
    case QAbstractSlider::SliderToMaximum:
        return ScrollCode::Bottom;
    case QAbstractSlider::SliderMove:
        return ScrollCode::ThumbTrack;
    default:
        return ScrollCode::EndScroll;
    }
}

} // namespace

CTarvoAnalyzerView::CTarvoAnalyzerView(CDocumentHost& host, QWidget* parent)
    : QWidget(parent), host_(host), interaction_(std::make_unique<CMapInteraction>(host, *this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(100, 100);

    hbar_ = new QScrollBar(Qt::Horizontal, this);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    corner_ = new QWidget(this);
    corner_->setAutoFillBackground(true);
    for (QScrollBar* bar : {hbar_, vbar_}) {
        bar->setRange(0, kScrollMax);
        bar->hide();
        const bool horizontal = bar == hbar_;
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, horizontal](int action) {
            const ScrollCode code = CodeFor(action);
            if (code != ScrollCode::EndScroll)
                Scroll(horizontal, code, bar->sliderPosition());
        });
    }
    corner_->hide();

    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(kHoverMs);
    connect(&hoverTimer_, &QTimer::timeout, this, [this] { interaction_->Hover(hoverAt_); });

    commands_ = new CMapViewCommands(host_, *this, this);
    connect(&host_, &CDocumentHost::documentChanged, this, &CTarvoAnalyzerView::onDocumentChanged);
    connect(&host_, &CDocumentHost::busyChanged, this, [this](bool busy) {
        if (busy)
            return;
        SyncScrollBars();
        frameStale_ = true;
        update();
    });
}

CTarvoAnalyzerView::~CTarvoAnalyzerView() = default;

QSize CTarvoAnalyzerView::ClientSize() const {
    const int w = width() - (vbar_->isHidden() ? 0 : vbar_->width());
    const int h = height() - (hbar_->isHidden() ? 0 : hbar_->height());
    return {std::max(w, 1), std::max(h, 1)};
}

void CTarvoAnalyzerView::SetStatusText(int pane, const QString& text) {
    emit statusText(pane, text);
}

void CTarvoAnalyzerView::RerenderPicture() {
    cache_.Invalidate();
    exportCache_.Invalidate();
    frameStale_ = true;
    update();
}

void CTarvoAnalyzerView::RefreshFrame() {
    frameStale_ = true;
    update();
}

void CTarvoAnalyzerView::SyncLastViewBitmap() {
    if (host_.isBusy())
        return;
    host_.doc().lastViewBitmap = ToViewBitmap(ExportPicture());
}

const QImage& CTarvoAnalyzerView::Picture() const {
    if (!pictureReady_ && bare_) {
        picture_ = cache_.LayersCrop();
        pictureReady_ = true;
    }
    return picture_;
}

QImage CTarvoAnalyzerView::ExportPicture() {
    ComposeFrame();
    if (frameDpr_ == 1.0)
        return Picture();
    // While a worker owns the document the last export picture stands in,
    // as the last finished picture does on screen.
    if (!host_.isBusy() || exportPicture_.isNull()) {
        const QSize client = ClientSize();
        exportPicture_ = host_.isBusy() ? Picture()
                                        : exportCache_.Frame(host_.doc(), client.width(),
                                                             client.height(), host_.ui(), 1.0);
    }
    return exportPicture_;
}

void CTarvoAnalyzerView::onDocumentChanged(unsigned) {
    cache_.Invalidate();
    exportCache_.Invalidate();
    frameStale_ = true;
    SyncScrollBars();
    UpdatePointerShape();
    interaction_->DocumentChanged();
    update();
}

void CTarvoAnalyzerView::StartPlanCalibration(QImage picture,
                                              std::function<void(QPointF, QPointF)> drawn) {
    interaction_->Calibration().Start(std::move(picture), std::move(drawn));
    UpdatePointerShape();
    setFocus();
}

void CTarvoAnalyzerView::StopPlanCalibration() {
    interaction_->Calibration().Stop();
    UpdatePointerShape();
}

void CTarvoAnalyzerView::StartRecording(std::function<void(QPoint)> clicked,
                                        std::function<void()> leave) {
    leaveRecording_ = std::move(leave);
    interaction_->Recording().Start(std::move(clicked));
    UpdatePointerShape();
    setFocus();
}

void CTarvoAnalyzerView::StopRecording() {
    leaveRecording_ = nullptr;
    interaction_->Recording().Stop();
    UpdatePointerShape();
}

bool CTarvoAnalyzerView::RecordingActive() const {
    return interaction_->RecordingWalk();
}

void CTarvoAnalyzerView::ShowRecording(std::vector<CRecordDot> dots,
                                       std::optional<CRecordDot> scanning) {
    interaction_->Recording().Show(std::move(dots), std::move(scanning));
}

bool CTarvoAnalyzerView::PlanCalibrationActive() const {
    return interaction_->Calibrating();
}

QRectF CTarvoAnalyzerView::PlanCalibrationPicture() const {
    return interaction_->Calibration().PictureRect();
}

void CTarvoAnalyzerView::UpdatePointerShape() {
    if (interaction_->Calibrating()) {
        setCursor(Qt::CrossCursor);
        return;
    }
    // A recording takes every click but the zoom modes'.
    if (interaction_->RecordingWalk() && !ZoomMode()) {
        setCursor(CRecordTool::Cursor());
        return;
    }
    const auto tools = host_.state().view.tools;
    // Tested in this order, as only one mode is on at a time anyway.
    static constexpr std::array<std::pair<int, int>, 5> kModeIcons = {{
        {kToolZoomIn, kZoomInPointerIcon},
        {kToolZoomOut, kZoomOutPointerIcon},
        {kToolMeasure, kMeasurePointerIcon},
        {kToolInsertAp, kFirstApIcon},
        {kToolInsertSource, kFirstSourceIcon},
    }};
    for (const auto& [tool, icon] : kModeIcons) {
        if (tools[tool]) {
            setCursor(ModeCursor(icon));
            return;
        }
    }
    unsetCursor();
}

bool CTarvoAnalyzerView::ZoomMode() const {
    const auto tools = host_.state().view.tools;
    return tools[kToolZoomIn] || tools[kToolZoomOut];
}

void CTarvoAnalyzerView::ZoomClick(QPoint position) {
    if (host_.isBusy())
        return;
    CMapViewState& view = host_.doc().view;
    const QSize client = ClientSize();
    const auto zoom = view.tools[kToolZoomIn] ? ZoomInAt : ZoomOutAt;
    if (zoom(view, position.x(), position.y(), client.width(), client.height(), host_.ui()) ==
        ZoomClick::OutOfView)
        return;
    host_.notify(kChangeView);
}

void CTarvoAnalyzerView::Scroll(bool horizontal, ScrollCode code, int thumb) {
    if (host_.isBusy())
        return;
    const QSize client = ClientSize();
    const QFontMetrics metrics = fontMetrics();
    ScrollView(host_.doc().view, horizontal, code, thumb,
               horizontal ? client.width() : client.height(),
               horizontal ? metrics.horizontalAdvance(QLatin1Char('X')) : metrics.height());
    SyncScrollBars();
    // Only the crop of the cached layers moves.
    frameStale_ = true;
    update();
}

void CTarvoAnalyzerView::SyncScrollBars() {
    if (host_.isBusy())
        return;
    CMapViewState& view = host_.doc().view;
    const bool shown = UpdateScrollBarVisibility(view);
    if (shown != !hbar_->isHidden()) {
        hbar_->setVisible(shown);
        vbar_->setVisible(shown);
        corner_->setVisible(shown);
        PlaceScrollBars();
        frameStale_ = true;
    }
    if (!shown)
        return;
    const QSize client = ClientSize();
    // The thumb shows the visible share of the picture.
    auto steps = [](QScrollBar* bar, int clientSize, double zoom, int position) {
        const double extra = zoom > 0.0 ? clientSize / zoom - clientSize : 0.0;
        const int page =
            extra > 0.0 ? std::max(1, RoundUpPast04(kScrollMax * clientSize / extra)) : kScrollMax;
        const QSignalBlocker block(bar);
        bar->setPageStep(std::min(page, kScrollMax));
        bar->setValue(position);
    };
    steps(hbar_, client.width(), view.zoomWidth, view.horizontalScroll);
    steps(vbar_, client.height(), view.zoomHeight, view.verticalScroll);
}

void CTarvoAnalyzerView::PlaceScrollBars() {
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int w = width(), h = height();
    vbar_->setGeometry(w - extent, 0, extent, h - extent);
    hbar_->setGeometry(0, h - extent, w - extent, extent);
    corner_->setGeometry(w - extent, h - extent, extent, extent);
}

void CTarvoAnalyzerView::ComposeFrame() {
    if (host_.isBusy())
        return;
    const QSize client = ClientSize();
    const double dpr = PixelRatio();
    CTarvoAnalyzerDoc& doc = host_.doc();
    if (!frameStale_ && frameSize_ == client && frameDpr_ == dpr)
        return;
    doc.view.clientWidth = client.width();
    doc.view.clientHeight = client.height();
    bare_ = !CMapFrameCache::HasWindowOverlays(doc);
    if (bare_) {
        cache_.Prepare(doc, client.width(), client.height(), dpr);
        picture_ = QImage();
        pictureReady_ = false;
    } else {
        picture_ = cache_.Frame(doc, client.width(), client.height(), host_.ui(), dpr);
        pictureReady_ = true;
    }
    frameSize_ = client;
    frameDpr_ = dpr;
    frameStale_ = false;
    ++frames_;
}

double CTarvoAnalyzerView::PixelRatio() const {
    const double dpr = devicePixelRatio();
    return dpr > 0.0 ? dpr : 1.0;
}

void CTarvoAnalyzerView::paintEvent(QPaintEvent*) {
    // While a worker owns the document the last finished picture is shown.
    ComposeFrame();
    QPainter painter(this);
    const QRect client(QPoint(0, 0), ClientSize());
    painter.setClipRect(client);
    if (pictureReady_)
        painter.drawImage(0, 0, picture_);
    else if (bare_)
        cache_.PaintLayersCrop(painter);
    const QRect covered(QPoint(0, 0), frameSize_);
    if (!covered.contains(client)) {
        const QRegion rest = QRegion(client) - QRegion(covered);
        for (const QRect& r : rest)
            painter.fillRect(r, Qt::white);
    }
    interaction_->PaintOverlay(painter);
}

void CTarvoAnalyzerView::resizeEvent(QResizeEvent*) {
    PlaceScrollBars();
    frameStale_ = true;
    if (!host_.isBusy()) {
        const QSize client = ClientSize();
        host_.doc().view.clientWidth = client.width();
        host_.doc().view.clientHeight = client.height();
        SyncScrollBars();
    }
}

void CTarvoAnalyzerView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && (!ZoomMode() || interaction_->Calibrating()))
        interaction_->Press(event);
}

void CTarvoAnalyzerView::mouseMoveEvent(QMouseEvent* event) {
    hoverAt_ = event->position().toPoint();
    hoverTimer_.start();
    interaction_->Move(event);
}

void CTarvoAnalyzerView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (ZoomMode() && !interaction_->Calibrating())
            ZoomClick(event->position().toPoint());
        else
            interaction_->Release(event);
    } else if (event->button() == Qt::RightButton) {
        interaction_->ContextMenu(event);
        UpdatePointerShape(); // the right button also ends a calibration
    }
}

void CTarvoAnalyzerView::mouseDoubleClickEvent(QMouseEvent* event) {
    // In every mode, the zoom modes too: their releases zoom, the double
    // click opens the resource under the pointer.
    if (event->button() == Qt::LeftButton)
        interaction_->DoubleClick(event);
}

void CTarvoAnalyzerView::wheelEvent(QWheelEvent* event) {
    if (hbar_->isHidden()) {
        event->ignore();
        return;
    }
    const QPoint delta = event->angleDelta();
    const bool horizontal =
        (event->modifiers() & Qt::ShiftModifier) || std::abs(delta.x()) > std::abs(delta.y());
    const int notches = (horizontal && delta.x() != 0 ? delta.x() : delta.y()) / 120;
    for (int i = 0; i < std::abs(notches) * kWheelLines; ++i)
        Scroll(horizontal, notches > 0 ? ScrollCode::LineUp : ScrollCode::LineDown);
    event->accept();
}

void CTarvoAnalyzerView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && interaction_->Calibrating()) {
        StopPlanCalibration();
        return;
    }
    if (event->key() == Qt::Key_Escape && interaction_->RecordingWalk() && leaveRecording_) {
        const std::function<void()> leave = leaveRecording_; // it stops the recording
        leave();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CTarvoAnalyzerView::leaveEvent(QEvent*) {
    hoverTimer_.stop();
    interaction_->Leave();
}

} // namespace tarvo
