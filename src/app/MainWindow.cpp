#include "app/MainWindow.h"

#include "mapview/DocumentHost.h"
#include "mapview/MapView.h"
#include "panel/ControlView.h"

#include <QSplitter>
#include <QStatusBar>

namespace tarvo {

CMainFrame::CMainFrame(CDocumentHost& host, QWidget* parent) : QMainWindow(parent), host_(host) {
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    panel_ = new CControlView(host_, splitter);
    mapView_ = new CTarvoAnalyzerView(host_, splitter);
    splitter->addWidget(panel_);
    splitter->addWidget(mapView_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 800});
    setCentralWidget(splitter);
    statusBar()->showMessage(tr("Ready"));
    host_.setDialogParent(this);
    resize(1100, 750);
}

} // namespace tarvo
