#pragma once
// The main window: the control panel and the map view side by side in a
// splitter, the menus and toolbar built from one table of actions, the
// status bar with its panes, the splash, the recently-used workspaces,
// dropped files, and the question about unsaved changes on closing.

#include "app/RecentFiles.h"
#include "mapview/ViewPrinter.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QMenu;
class QToolBar;

namespace tarvo {

class CDocumentHost;
class CControlView;
class CTarvoAnalyzerView;
class CFrameStatusBar;
class CImportCommands;
class CRecordCommands;
class CThroughputCommands;
class CSplash;
class CSurveyCommands;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CDocumentHost& host, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CControlView* Panel() const { return panel_; }
    CTarvoAnalyzerView* MapView() const { return mapView_; }
    CFrameStatusBar* StatusPanes() const { return status_; }
    QToolBar* ToolBar() const { return toolbar_; }
    CSplash* Splash() const { return splash_; }
    CViewPrinter& Printer() { return printer_; }
    const CRecentFileList& RecentFiles() const { return recent_; }
    CRecordCommands* Recording() const { return recording_; }

    // An action of the window or of the map view by its objectName.
    QAction* Action(const QString& name) const { return actions_.value(name); }

    // Opens a workspace, asking about unsaved changes first; an empty path
    // asks for the file. True when a workspace was opened.
    bool OpenWorkspace(const QString& path);

    // "Save changes?" for a modified study: true when the study may be
    // replaced or closed (saved, or the user said No).
    bool MaySaveChanges();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void BuildMenus();
    void BuildToolbar();
    void RefreshRecentMenu();
    void RefreshState();
    void UpdateTitle();
    void Connect(const char* name, void (CMainFrame::*handler)());
    // The "Position Estimator" choice: read from the settings into the
    // host, stored again when the user picks the other one.
    void ConnectEstimatorChoice();

    void OnNew();
    void OnOpen();
    void OnSave();
    void OnSaveAs();
    void OnPrint();
    void OnPrintPreview();
    void OnPrintSetup();
    void OnAbout();
    void OnNextPane();
    void OnPreviousPane();
    // After a workspace was written: not modified, titled, listed as recent.
    void AfterSaved();
    // The picture to print, brought up to date.
    QImage PrintedPicture();

    CDocumentHost& host_;
    CControlView* panel_ = nullptr;
    CTarvoAnalyzerView* mapView_ = nullptr;
    CFrameStatusBar* status_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    CSplash* splash_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentAnchor_ = nullptr; // the separator below the recent files
    QList<QAction*> recentActions_;
    QHash<QString, QAction*> actions_;
    CImportCommands* imports_ = nullptr;        // "New Floor Plan...", "Import Survey Data..."
    CSurveyCommands* surveyCommands_ = nullptr; // the survey views and the PDF report
    // "Record Walk..." and View > Throughput.
    CRecordCommands* recording_ = nullptr;
    CThroughputCommands* throughput_ = nullptr;
    CViewPrinter printer_;
    CRecentFileList recent_;
    bool closing_ = false;
    bool cancelling_ = false; // "Cancelling..." shown until the worker stops
};

} // namespace tarvo
