#pragma once
// A bare map canvas for the pointer tests: renders the study at a fixed
// size and hands the mouse to CMapInteraction the way the map view does,
// keeping the status-bar texts it is given.

#include "mapview/DocumentHost.h"
#include "mapview/MapCanvas.h"
#include "mapview/MapInteraction.h"
#include "view/RenderLayers.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <map>

namespace tarvo::test {

class CTestCanvas : public QWidget, public IMapCanvas {
public:
    CTestCanvas(CDocumentHost& host, QSize size) : host_(host) {
        setFixedSize(size);
        setMouseTracking(true);
        QObject::connect(&host, &CDocumentHost::documentChanged, this, [this](unsigned) {
            RerenderPicture();
            interaction.DocumentChanged();
        });
        RerenderPicture();
    }

    QSize ClientSize() const override { return size(); }
    QWidget* CanvasWidget() override { return this; }
    void SetStatusText(int pane, const QString& text) override { panes[pane] = text; }
    void RepaintOverlay() override { update(); }
    void RerenderPicture() override {
        host_.doc().view.clientWidth = width();
        host_.doc().view.clientHeight = height();
        picture_ = RenderLayers(host_.doc(), width(), height(), host_.ui());
        update();
    }
    const QImage& Picture() const override { return picture_; }

    CDocumentHost& host_; // before the interaction, which is built from it
    CMapInteraction interaction{host_, *this};
    std::map<int, QString> panes;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, picture_);
        interaction.PaintOverlay(painter);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            interaction.Press(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override { interaction.Move(e); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            interaction.Release(e);
        else if (e->button() == Qt::RightButton)
            interaction.ContextMenu(e);
    }
    void leaveEvent(QEvent*) override { interaction.Leave(); }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            interaction.DoubleClick(e);
    }

private:
    QImage picture_;
};

} // namespace tarvo::test
