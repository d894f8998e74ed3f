#pragma once
// The one owner of the study in the desktop program: the document, the
// worker that runs long operations on it, and the services through which the
// engine talks to the user. Widgets hold a reference to the host, change the
// document only on the GUI thread while no worker runs, and learn what
// changed from documentChanged(); they never call each other.

#include "analysis/Worker.h"
#include "mapview/DialogService.h"
#include "model/Document.h"
#include "model/UiServices.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace tarvo {

class CQtUiServices;
class CQtDialogService;

// What a change touched; widgets refresh only what they show.
enum DocChange : unsigned {
    kChangeFiles = 1u << 0,    // the survey-file list
    kChangeAps = 1u << 1,      // AP records, selection, groups, markers, sources
    kChangeCoverage = 1u << 2, // matrices, contours, display type
    kChangeView = 1u << 3,     // view window, zoom, layer flags: repaint the map
    kChangeSettings = 1u << 4, // units, ranges, opacity, report options, page
    kChangeStudy = 0xFFFFu     // a different study: refresh everything
};

class CDocumentHost : public QObject {
    Q_OBJECT

public:
    explicit CDocumentHost(QObject* parent = nullptr);
    // Waits for a running worker (processing events meanwhile, so that a
    // question it asks can still be answered).
    ~CDocumentHost() override;

    // The document. Read and change it on the GUI thread only, and change it
    // only while !isBusy().
    CTarvoAnalyzerDoc& doc() { return doc_; }
    const CTarvoAnalyzerDoc& doc() const { return doc_; }

    // Message boxes, file choices, progress: the Qt ones unless a test has
    // installed others. Safe to call from the worker thread.
    IUiServices& ui();
    // The program's modal dialogs, answered by a script in tests.
    IDialogService& dialogs();
    void setUiServices(IUiServices* ui);            // not owned; nullptr: the Qt ones
    void setDialogService(IDialogService* dialogs); // not owned; nullptr: the Qt ones
    // The window that Qt dialogs and message boxes belong to.
    void setDialogParent(QWidget* parent);

    // True while a worker owns the document.
    bool isBusy() const { return doc_.busy.IsSet(); }

    // Starts `operation` on the worker thread. Returns false and runs
    // nothing when a worker already runs. `done` runs afterwards on the GUI
    // thread, after busyChanged(false); the caller then notifies what changed.
    using Done = std::function<void(WorkerStatus status, const std::string& error)>;
    bool runWorker(std::function<void()> operation, Done done);
    // Blocks until the running worker (if any) has finished and its `done`
    // has run, processing events meanwhile. For closing and for tests.
    void waitForWorker();

    // The modified flag: set by every command that changes what a workspace
    // saves, cleared by opening and saving.
    bool isModified() const { return modified_; }
    void setModified(bool modified);

    // The document title shown in the main window's caption.
    QString title() const { return title_; }
    void setTitle(const QString& title);

    // The estimator that processing files places the APs with: the
    // program's setting, handed to the document as each load starts (the
    // document keeps the one that placed its APs). GUI thread.
    EstimatorKind estimatorChoice() const { return estimatorChoice_; }
    void setEstimatorChoice(EstimatorKind kind) { estimatorChoice_ = kind; }

    // Tells every widget what changed (GUI thread).
    void notify(unsigned what) { emit documentChanged(what); }

signals:
    void documentChanged(unsigned what);
    void busyChanged(bool busy);
    void modifiedChanged(bool modified);
    void titleChanged(const QString& title);

private:
    CTarvoAnalyzerDoc doc_;
    std::unique_ptr<CQtUiServices> qtUi_;
    std::unique_ptr<CQtDialogService> qtDialogs_;
    IUiServices* ui_ = nullptr;
    IDialogService* dialogs_ = nullptr;
    CDocumentWorker worker_;
    bool workerPending_ = false; // started and its `done` has not run yet
    bool modified_ = false;
    QString title_;
    EstimatorKind estimatorChoice_ = EstimatorKind::Study;
};

} // namespace tarvo
