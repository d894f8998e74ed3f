#pragma once
// The map view window: paints the study from document state, caches the
// picture between frames and hands the pointer to CMapInteraction.

#include "mapview/MapCanvas.h"

#include <QImage>
#include <QWidget>

#include <memory>

namespace tarvo {

class CDocumentHost;
class CMapInteraction;

class CTarvoAnalyzerView : public QWidget, public IMapCanvas {
    Q_OBJECT

public:
    CTarvoAnalyzerView(CDocumentHost& host, QWidget* parent = nullptr);
    ~CTarvoAnalyzerView() override;

    // IMapCanvas
    QSize ClientSize() const override { return size(); }
    QWidget* CanvasWidget() override { return this; }
    void SetStatusText(int pane, const QString& text) override;
    void RepaintOverlay() override { update(); }
    void RerenderPicture() override;
    const QImage& Picture() const override { return picture_; }

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

private:
    void onDocumentChanged(unsigned what);

    CDocumentHost& host_;
    std::unique_ptr<CMapInteraction> interaction_;
    QImage picture_;
    bool pictureStale_ = true;
};

} // namespace tarvo
