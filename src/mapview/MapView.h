#pragma once
// The map view window: paints the study from document state through a
// frame cache, keeps the two scroll bars of the zoomed picture, handles the
// zoom clicks and the pointer shapes of the modes, and hands every other
// pointer action to CMapInteraction. Its commands are CMapViewCommands.

#include "mapview/MapCanvas.h"
#include "mapview/MapFrameCache.h"
#include "mapview/RecordTool.h"
#include "view/ViewGeometry.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QScrollBar;

namespace tarvo {

class CDocumentHost;
class CMapInteraction;
class CMapViewCommands;

class CTarvoAnalyzerView : public QWidget, public IMapCanvas {
    Q_OBJECT

public:
    CTarvoAnalyzerView(CDocumentHost& host, QWidget* parent = nullptr);
    ~CTarvoAnalyzerView() override;

    // IMapCanvas. The client area is the widget less the scroll bars while
    // they are shown.
    QSize ClientSize() const override;
    QWidget* CanvasWidget() override { return this; }
    void SetStatusText(int pane, const QString& text) override;
    void RepaintOverlay() override { update(); }
    void RerenderPicture() override;
    const QImage& Picture() const override;

    // The toolbar commands of the view.
    CMapViewCommands& Commands() { return *commands_; }

    // Copies the picture on screen into doc.lastViewBitmap, which the
    // snapshot, the KML export and printing read. Done on demand rather
    // than on every frame, which keeps scrolling cheap. The copy has one
    // pixel per logical pixel on any screen, as ExportPicture().
    void SyncLastViewBitmap();
    // The picture on screen as the exports and printing take it: at one
    // device pixel per logical pixel, whatever the screen's pixel ratio.
    QImage ExportPicture();

    // A scroll-bar action on one axis, as the bars and the wheel send it.
    void Scroll(bool horizontal, ScrollCode code, int thumb = 0);

    // The calibration line of a new floor plan: shows `picture` instead of
    // the study until Stop or Esc, and hands each line drawn on it (both
    // ends in pixels of the picture) to `drawn`.
    void StartPlanCalibration(QImage picture, std::function<void(QPointF, QPointF)> drawn);
    void StopPlanCalibration();
    bool PlanCalibrationActive() const;
    // Where the picture being calibrated is shown (empty when none is).
    QRectF PlanCalibrationPicture() const;

    // The recording mode of a walk: each left click on the map (outside the
    // zoom modes) is handed to `clicked`, Esc to `leave`; Show puts the
    // recorded points and the one being scanned on the map.
    void StartRecording(std::function<void(QPoint)> clicked, std::function<void()> leave);
    void StopRecording();
    bool RecordingActive() const;
    void ShowRecording(std::vector<CRecordDot> dots, std::optional<CRecordDot> scanning);

    // The pointer shape of the current mode.
    void UpdatePointerShape();
    // Composes the frame again over the unchanged moving layers (an
    // overlay fixed to the window changed).
    void RefreshFrame();

    QScrollBar* HorizontalBar() const { return hbar_; }
    QScrollBar* VerticalBar() const { return vbar_; }
    // Frames composed and moving-layer renders so far (for tests and the
    // benchmark).
    int FrameCount() const { return frames_; }
    int LayerRenders() const { return cache_.LayerRenders(); }

signals:
    // Text for status-bar pane 1..5.
    void statusText(int pane, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void onDocumentChanged(unsigned what);
    bool ZoomMode() const;
    void ZoomClick(QPoint position);
    // Shows or hides the bars for the zoom and sets their positions and steps.
    void SyncScrollBars();
    void PlaceScrollBars();
    void ComposeFrame();
    double PixelRatio() const;

    CDocumentHost& host_;
    std::unique_ptr<CMapInteraction> interaction_;
    CMapViewCommands* commands_ = nullptr;
    CMapFrameCache cache_;
    // The exports' picture on a high-density screen, rendered only when
    // asked for (the screen's picture serves at ratio 1).
    CMapFrameCache exportCache_;
    QImage exportPicture_;
    // The frame on screen: without overlays fixed to the window ("bare") it
    // is painted straight from the cached layers and made a picture of its
    // own only when asked for; with them it is composed.
    mutable QImage picture_;
    mutable bool pictureReady_ = false;
    bool bare_ = false;
    QSize frameSize_;
    double frameDpr_ = 1.0;
    bool frameStale_ = true;
    int frames_ = 0;
    QScrollBar* hbar_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QWidget* corner_ = nullptr;
    QTimer hoverTimer_;
    QPoint hoverAt_;
    std::function<void()> leaveRecording_;
};

} // namespace tarvo
