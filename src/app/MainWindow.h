#pragma once
// The main window: the control panel and the map view side by side, menus,
// toolbar and status bar.

#include <QMainWindow>

namespace tarvo {

class CDocumentHost;
class CControlView;
class CTarvoAnalyzerView;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CDocumentHost& host, QWidget* parent = nullptr);

    CControlView* Panel() const { return panel_; }
    CTarvoAnalyzerView* MapView() const { return mapView_; }

private:
    CDocumentHost& host_;
    CControlView* panel_ = nullptr;
    CTarvoAnalyzerView* mapView_ = nullptr;
};

} // namespace tarvo
