#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/AppResources.h"
#include "app/FrameActions.h"
#include "app/ImportCommands.h"
#include "app/MapAccuracyCommands.h"
#include "app/ProgramSettings.h"
#include "app/RecordCommands.h"
#include "app/Splash.h"
#include "app/StatusPanes.h"
#include "app/SurveyCommands.h"
#include "app/ThroughputCommands.h"
#include "formats/WorkspaceCommands.h"
#include "mapview/DocumentHost.h"
#include "mapview/MapView.h"
#include "mapview/MapViewCommands.h"
#include "panel/ControlView.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QToolBar>

#include <utility>

namespace tarvo {

namespace {

constexpr int kPanelWidth = 220;
const QString kProgramName = QStringLiteral("TarvoAnalyzer");
const QString kCancellingText = QStringLiteral("Cancelling...");

// The window's commands about the study, off while a worker holds it (the
// map view's commands follow the same rule): the File menu but Exit, and the
// estimator choice, which the running processing does not take. What only
// arranges the window (About, the bars, the panes, Exit, which waits for the
// worker) stays.
constexpr const char* kDocumentCommands[] = {"fileNew",        "fileOpen",       "fileSave",
                                             "fileSaveAs",     "filePrint",      "filePrintPreview",
                                             "filePrintSetup", "estimatorStudy", "estimatorJoint"};

QString FileTitle(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName();
}

// The first local file of a drag, or an empty text.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

} // namespace

CMainFrame::CMainFrame(CDocumentHost& host, QWidget* parent) : QMainWindow(parent), host_(host) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(ApplicationIcon());
    setAcceptDrops(true);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    panel_ = new CControlView(host_, splitter);
    mapView_ = new CTarvoAnalyzerView(host_, splitter);
    splitter->addWidget(panel_);
    splitter->addWidget(mapView_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    resize(1100, 720);
    splitter->setSizes({kPanelWidth, width() - kPanelWidth});

    status_ = new CFrameStatusBar(this);
    setStatusBar(status_);
    connect(mapView_, &CTarvoAnalyzerView::statusText, status_, &CFrameStatusBar::SetPaneText);

    CreateActions();
    BuildMenus();
    BuildToolbar();
    splash_ = new CSplash(this);

    host_.setDialogParent(this);
    connect(&host_, &CDocumentHost::busyChanged, this, &CMainFrame::RefreshState);
    // Until the worker has really stopped the user sees that it is stopping.
    connect(&host_, &CDocumentHost::cancelling, this, [this] {
        cancelling_ = true;
        status_->SetMessage(kCancellingText);
    });
    connect(&host_, &CDocumentHost::modifiedChanged, this, &CMainFrame::UpdateTitle);
    connect(&host_, &CDocumentHost::titleChanged, this, &CMainFrame::UpdateTitle);
    RefreshState();
    UpdateTitle();
}

CMainFrame::~CMainFrame() {
    // No worker may outlive the widgets it reports to.
    host_.waitForWorker();
    host_.setDialogParent(nullptr);
}

void CMainFrame::CreateActions() {
    for (const CFrameCommand& command : FrameCommands()) {
        const QString name = QString::fromLatin1(command.name);
        const QStringList prompt = QString::fromLatin1(command.prompt).split(QLatin1Char('\n'));
        auto* action = new QAction(QString::fromLatin1(command.text), this);
        action->setObjectName(name);
        action->setStatusTip(prompt.value(0));
        action->setToolTip(prompt.value(1, prompt.value(0)));
        QList<QKeySequence> keys;
        for (const QString& key :
             QString::fromLatin1(command.shortcuts).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            keys << QKeySequence(key);
        action->setShortcuts(keys);
        action->setCheckable(command.checkable);
        action->setEnabled(command.enabled);
        action->setIcon(ToolbarIcon(name));
        addAction(action); // shortcuts work without a menu entry too
        actions_.insert(name, action);
    }
    CMapViewCommands& viewCommands = mapView_->Commands();
    for (int i = 0; i < static_cast<int>(ViewCommand::Count); ++i) {
        QAction* action = viewCommands.Action(static_cast<ViewCommand>(i));
        action->setIcon(ToolbarIcon(action->objectName()));
        actions_.insert(action->objectName(), action);
    }

    Connect("fileNew", &CMainFrame::OnNew);
    Connect("fileOpen", &CMainFrame::OnOpen);
    Connect("fileSave", &CMainFrame::OnSave);
    Connect("fileSaveAs", &CMainFrame::OnSaveAs);
    Connect("filePrint", &CMainFrame::OnPrint);
    Connect("filePrintPreview", &CMainFrame::OnPrintPreview);
    Connect("filePrintSetup", &CMainFrame::OnPrintSetup);
    Connect("appAbout", &CMainFrame::OnAbout);
    Connect("nextPane", &CMainFrame::OnNextPane);
    Connect("previousPane", &CMainFrame::OnPreviousPane);
    connect(Action(QStringLiteral("appExit")), &QAction::triggered, this, &QWidget::close);
    ConnectEstimatorChoice();
    imports_ = new CImportCommands(host_, *mapView_, Action(QStringLiteral("fileNewPlan")),
                                   Action(QStringLiteral("fileImportSurvey")), this);
    surveyCommands_ = new CSurveyCommands(host_, *this);
    new CMapAccuracyCommands(host_, Action(QStringLiteral("coverageStudy")),
                             Action(QStringLiteral("coverageSurvey")),
                             Action(QStringLiteral("evaluateMaps")), this);
    recording_ = new CRecordCommands(host_, *mapView_, Action(QStringLiteral("fileRecordWalk")),
                                     Action(QStringLiteral("editUndo")), this);
    throughput_ = new CThroughputCommands(host_, Action(QStringLiteral("viewThroughput")), this);
    QAction* statusToggle = Action(QStringLiteral("viewStatusBar"));
    statusToggle->setChecked(true);
    connect(statusToggle, &QAction::toggled, status_, &QWidget::setVisible);
}

void CMainFrame::ConnectEstimatorChoice() {
    auto* group = new QActionGroup(this);
    const EstimatorKind stored = StoredEstimator();
    host_.setEstimatorChoice(stored);
    for (const auto& [name, kind] : {std::pair{"estimatorStudy", EstimatorKind::Study},
                                     std::pair{"estimatorJoint", EstimatorKind::Joint},
                                     std::pair{"estimatorRobust", EstimatorKind::Robust}}) {
        QAction* action = Action(QString::fromLatin1(name));
        group->addAction(action);
        action->setChecked(kind == stored);
        // clang 14 cannot capture a structured binding in a lambda.
        const EstimatorKind choice = kind;
        connect(action, &QAction::triggered, this, [this, choice] {
            host_.setEstimatorChoice(choice);
            StoreEstimator(choice);
        });
    }
}

void CMainFrame::Connect(const char* name, void (CMainFrame::*handler)()) {
    connect(Action(QString::fromLatin1(name)), &QAction::triggered, this, handler);
}

void CMainFrame::BuildMenus() {
    for (const CMenuLayout& layout : MenuLayout()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(layout.title));
        if (!fileMenu_)
            fileMenu_ = menu;
        for (const char* item : layout.items) {
            const QString name = QString::fromLatin1(item);
            if (name == QLatin1String(kSeparator)) {
                QAction* separator = menu->addSeparator();
                if (menu == fileMenu_ && !recentActions_.isEmpty() && !recentAnchor_)
                    recentAnchor_ = separator;
            } else if (name == QLatin1String(kEstimatorMenu)) {
                QMenu* estimators = menu->addMenu(QStringLiteral("Position Estimator"));
                estimators->setObjectName(QString::fromLatin1(kEstimatorMenu));
                estimators->addAction(Action(QStringLiteral("estimatorStudy")));
                estimators->addAction(Action(QStringLiteral("estimatorJoint")));
                estimators->addAction(Action(QStringLiteral("estimatorRobust")));
            } else if (name == QLatin1String(kSurveyViewMenu)) {
                QMenu* views = menu->addMenu(QStringLiteral("Survey Views"));
                views->setObjectName(QString::fromLatin1(kSurveyViewMenu));
                for (const char* view : kSurveyViewActions)
                    views->addAction(Action(QString::fromLatin1(view)));
            } else if (name == QLatin1String(kCoverageModelMenu)) {
                QMenu* models = menu->addMenu(QStringLiteral("Coverage Model"));
                models->setObjectName(QString::fromLatin1(kCoverageModelMenu));
                models->addAction(Action(QStringLiteral("coverageStudy")));
                models->addAction(Action(QStringLiteral("coverageSurvey")));
            } else if (name == QLatin1String(kRecentFiles)) {
                // A placeholder; the entries are inserted before the next separator.
                recentActions_ << menu->addAction(QString());
            } else if (QAction* action = Action(name)) {
                menu->addAction(action);
            }
        }
    }
    RefreshRecentMenu();
}

void CMainFrame::BuildToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Standard"));
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    toolbar_->setIconSize(QSize(16, 15));
    toolbar_->setMovable(true);
    for (const char* item : ToolbarLayout()) {
        const QString name = QString::fromLatin1(item);
        if (name == QLatin1String(kSeparator))
            toolbar_->addSeparator();
        else if (QAction* action = Action(name))
            toolbar_->addAction(action);
    }
    QAction* toggle = Action(QStringLiteral("viewToolbar"));
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, toolbar_, &QWidget::setVisible);
    connect(toolbar_, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void CMainFrame::RefreshRecentMenu() {
    if (!fileMenu_ || !recentAnchor_)
        return;
    for (QAction* action : recentActions_) {
        fileMenu_->removeAction(action);
        action->deleteLater();
    }
    recentActions_.clear();
    const QStringList& files = recent_.Files();
    if (files.isEmpty()) {
        QAction* none = new QAction(QStringLiteral("Recent File"), fileMenu_);
        none->setEnabled(false);
        fileMenu_->insertAction(recentAnchor_, none);
        recentActions_ << none;
        return;
    }
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* entry = new QAction(CRecentFileList::MenuText(i, path), fileMenu_);
        entry->setObjectName(QStringLiteral("recentFile%1").arg(i + 1));
        entry->setStatusTip(QStringLiteral("Open this document"));
        entry->setEnabled(!host_.isBusy());
        connect(entry, &QAction::triggered, this, [this, path] {
            if (!OpenWorkspace(path) && !QFileInfo::exists(path)) {
                recent_.Remove(path);
                RefreshRecentMenu();
            }
        });
        fileMenu_->insertAction(recentAnchor_, entry);
        recentActions_ << entry;
    }
}

void CMainFrame::RefreshState() {
    const bool idle = !host_.isBusy();
    for (const char* name : kDocumentCommands)
        Action(QString::fromLatin1(name))->setEnabled(idle);
    if (idle && cancelling_) {
        cancelling_ = false;
        status_->SetMessage({});
    }
    for (QAction* entry : recentActions_)
        if (!entry->objectName().isEmpty())
            entry->setEnabled(idle);
}

void CMainFrame::UpdateTitle() {
    const QString title = host_.title().isEmpty() ? QStringLiteral("Untitled") : host_.title();
    setWindowTitle(title + QStringLiteral("[*] - ") + kProgramName);
    setWindowModified(host_.isModified());
}

bool CMainFrame::MaySaveChanges() {
    host_.settle(); // what is saved, or replaced, is the study outside a drag
    if (!host_.isModified())
        return true;
    const QString title = host_.title().isEmpty() ? QStringLiteral("Untitled") : host_.title();
    const MsgAnswer answer = host_.ui().MessageBox("Save changes to " + title.toStdString() + "?",
                                                   kProgramName.toStdString(), MsgIcon::Warning,
                                                   MsgButtons::YesNoCancel);
    if (answer == MsgAnswer::No)
        return true;
    if (answer != MsgAnswer::Yes)
        return false;
    if (!SaveWorkspaceCommand(host_.doc(), host_.ui()))
        return false; // not saved: keep the study open
    AfterSaved();
    return true;
}

bool CMainFrame::OpenWorkspace(const QString& path) {
    if (host_.isBusy() || !MaySaveChanges())
        return false;
    CTarvoAnalyzerDoc& doc = host_.doc();
    const bool opened = path.isEmpty() ? OpenWorkspaceCommand(doc, host_.ui())
                                       : OpenWorkspaceFile(doc, path.toStdString(), host_.ui());
    if (!opened)
        return false;
    host_.setModified(false);
    host_.setTitle(FileTitle(doc.workspacePath));
    recent_.Add(QString::fromStdString(doc.workspacePath));
    RefreshRecentMenu();
    host_.notify(kChangeStudy);
    return true;
}

void CMainFrame::AfterSaved() {
    host_.setModified(false);
    host_.setTitle(FileTitle(host_.doc().workspacePath));
    recent_.Add(QString::fromStdString(host_.doc().workspacePath));
    RefreshRecentMenu();
}

void CMainFrame::OnNew() {
    if (host_.isBusy() || !MaySaveChanges())
        return;
    host_.doc() = CTarvoAnalyzerDoc();
    host_.setModified(false);
    host_.setTitle({});
    host_.notify(kChangeStudy);
}

void CMainFrame::OnOpen() {
    OpenWorkspace({});
}

void CMainFrame::OnSave() {
    if (host_.isBusy())
        return;
    host_.settle(); // the study as it is outside a drag
    if (SaveWorkspaceCommand(host_.doc(), host_.ui()))
        AfterSaved();
}

void CMainFrame::OnSaveAs() {
    if (host_.isBusy())
        return;
    host_.settle();
    // The save command asks for a name while the workspace has none.
    CTarvoAnalyzerDoc& doc = host_.doc();
    const bool wasNamed = doc.workspaceNamed;
    doc.workspaceNamed = false;
    if (SaveWorkspaceCommand(doc, host_.ui()))
        AfterSaved();
    else
        doc.workspaceNamed = wasNamed;
}

QImage CMainFrame::PrintedPicture() {
    host_.settle();
    mapView_->SyncLastViewBitmap();
    return mapView_->ExportPicture();
}

void CMainFrame::OnPrint() {
    if (!host_.isBusy())
        printer_.Print(this, PrintedPicture(), host_.ui());
}

void CMainFrame::OnPrintPreview() {
    if (!host_.isBusy())
        printer_.Preview(this, PrintedPicture(), host_.ui());
}

void CMainFrame::OnPrintSetup() {
    printer_.Setup(this);
}

void CMainFrame::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CMainFrame::OnNextPane() {
    (mapView_->hasFocus() ? static_cast<QWidget*>(panel_) : mapView_)->setFocus();
}

void CMainFrame::OnPreviousPane() {
    OnNextPane(); // two panes: the previous is the next
}

bool CMainFrame::event(QEvent* event) {
    // Prompts go to the message pane, which shows "Ready" again after them.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        status_->SetMessage(tip.isEmpty() && cancelling_ ? kCancellingText : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->ignore();
        return;
    }
    // A worker writes into the document: let it finish before anything else.
    closing_ = true;
    host_.waitForWorker();
    const bool mayClose = MaySaveChanges();
    closing_ = false;
    if (!mayClose) {
        event->ignore();
        return;
    }
    splash_->Dismiss();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    // While a worker holds the document nothing can be opened over it.
    if (!host_.isBusy() && !DroppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty() || host_.isBusy())
        return;
    event->acceptProposedAction();
    OpenWorkspace(file);
}

} // namespace tarvo
