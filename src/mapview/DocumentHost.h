#pragma once
// The one owner of the study in the desktop program: the document, the
// worker that runs long operations on it, and the services through which the
// engine talks to the user. Widgets hold a reference to the host, change the
// document only on the GUI thread while no worker runs, and learn what
// changed from documentChanged(); they never call each other.
//
// The worker's hold on the document. From the moment runWorker() is asked
// to start an operation until the operation's `done` has run, a worker
// holds the document: isBusy() is true, and nothing on the GUI thread may
// read or change the document. Widgets take what they show from state(),
// the copy taken before the worker started; every command is refused or
// disabled. No worker starts while a command waits on its dialog, and a
// dialog that finds the document held gives its command Cancel. Reads of
// doc() on the GUI thread while a worker holds the
// document are counted (heldAccesses()), so that tests can check the rule.

#include "analysis/Worker.h"
#include "mapview/DialogService.h"
#include "mapview/DocumentState.h"
#include "mapview/GuiMailbox.h"
#include "model/Document.h"
#include "model/UiServices.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace tarvo {

class CQtUiServices;
class CQtDialogService;
class CGatedUiServices;
class CGatedDialogs;

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

    // The document. Read and change it on the GUI thread only while
    // !isBusy(); the worker's operation may use it on the worker thread.
    CTarvoAnalyzerDoc& doc();
    const CTarvoAnalyzerDoc& doc() const;

    // The flags the enable and check rules read: the document's own while
    // it is free, the copy taken before the worker started while it is not.
    CDocumentState state() const;

    // Message boxes, file choices, progress: the Qt ones unless a test has
    // installed others. Safe to call from the worker thread. On the GUI
    // thread a dialog's answer is Cancel when a worker holds the document
    // when it opens or closes.
    IUiServices& ui();
    // The program's modal dialogs, answered by a script in tests; gated the
    // same way.
    IDialogService& dialogs();
    void setUiServices(IUiServices* ui);            // not owned; nullptr: the Qt ones
    void setDialogService(IDialogService* dialogs); // not owned; nullptr: the Qt ones
    // The window that Qt dialogs and message boxes belong to.
    void setDialogParent(QWidget* parent);

    // True while a worker holds the document (see above). Any thread.
    bool isBusy() const { return held_.load(std::memory_order_acquire); }

    // Starts `operation` on the worker thread. Returns false and runs
    // nothing when a worker already holds the document, or while a
    // command's dialog (one opened through ui() or dialogs() on the GUI
    // thread) is open. Before the thread
    // starts, gestures are settled, state() is taken and busyChanged(true)
    // is emitted. Afterwards, on the GUI thread, `done` runs with the
    // document free again (it may change it and notify), then
    // busyChanged(false) is emitted.
    using Done = std::function<void(WorkerStatus status, const std::string& error)>;
    bool runWorker(std::function<void()> operation, Done done);
    // Blocks until the running worker (if any) has finished and its `done`
    // has run, processing events meanwhile. For closing and for tests.
    void waitForWorker();

    // Ends every gesture that holds the document in a passing state (a
    // resource lifted by a drag goes back), so that what is saved, exported
    // or handed to a worker is the study itself. GUI thread, while free.
    void settle();

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

    // Reads of doc() on the GUI thread while a worker held the document.
    int heldAccesses() const { return heldAccesses_.load(); }

signals:
    void documentChanged(unsigned what);
    void busyChanged(bool busy);
    // The user asked the running operation to stop; it has not stopped yet.
    void cancelling();
    // settle() was called: tools end what they hold.
    void settling();
    void modifiedChanged(bool modified);
    void titleChanged(const QString& title);

private:
    bool OnGuiThread() const;
    void NoteAccess() const;
    void WatchCancel();

    CTarvoAnalyzerDoc doc_;
    std::unique_ptr<CQtUiServices> qtUi_;
    std::unique_ptr<CQtDialogService> qtDialogs_;
    std::unique_ptr<CGatedUiServices> gatedUi_;
    std::unique_ptr<CGatedDialogs> gatedDialogs_;
    IUiServices* ui_ = nullptr;
    CDocumentWorker worker_;
    CGuiMailbox mailbox_;           // the worker's outcome, handed to the GUI thread
    std::atomic<bool> held_{false}; // asked to start, `done` not run yet
    CDocumentState heldState_;      // taken before the worker started
    mutable std::atomic<int> heldAccesses_{0};
    QTimer cancelWatch_;
    bool cancelSeen_ = false;
    int dialogsOpen_ = 0; // commands' dialogs open on the GUI thread
    bool modified_ = false;
    QString title_;
    EstimatorKind estimatorChoice_ = EstimatorKind::Study;
};

} // namespace tarvo
