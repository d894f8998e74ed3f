#include "mapview/DocumentHost.h"

#include "mapview/GatedServices.h"
#include "mapview/QtDialogService.h"
#include "mapview/QtUiServices.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QtGlobal>

namespace tarvo {

namespace {

// How often the progress window's Cancel is looked for while a worker runs.
constexpr int kCancelWatchMs = 50;

} // namespace

CDocumentHost::CDocumentHost(QObject* parent)
    : QObject(parent), qtUi_(std::make_unique<CQtUiServices>()),
      qtDialogs_(std::make_unique<CQtDialogService>()) {
    const CDocumentGate gate{[this] { return isBusy(); }, [this] { return OnGuiThread(); },
                             [this](int step) { dialogsOpen_ += step; }};
    gatedUi_ = std::make_unique<CGatedUiServices>(gate);
    gatedDialogs_ = std::make_unique<CGatedDialogs>(gate);
    setUiServices(nullptr);
    setDialogService(nullptr);
    cancelWatch_.setInterval(kCancelWatchMs);
    connect(&cancelWatch_, &QTimer::timeout, this, &CDocumentHost::WatchCancel);
}

CDocumentHost::~CDocumentHost() {
    waitForWorker();
}

bool CDocumentHost::OnGuiThread() const {
    return QThread::currentThread() == thread();
}

void CDocumentHost::NoteAccess() const {
    if (!isBusy() || !OnGuiThread())
        return;
    if (heldAccesses_.fetch_add(1) == 0)
        qWarning("The document was read on the GUI thread while a worker held it");
}

CTarvoAnalyzerDoc& CDocumentHost::doc() {
    NoteAccess();
    return doc_;
}

const CTarvoAnalyzerDoc& CDocumentHost::doc() const {
    NoteAccess();
    return doc_;
}

CDocumentState CDocumentHost::state() const {
    return isBusy() ? heldState_ : CDocumentState::Of(doc_);
}

IUiServices& CDocumentHost::ui() {
    return *gatedUi_;
}

IDialogService& CDocumentHost::dialogs() {
    return *gatedDialogs_;
}

void CDocumentHost::setUiServices(IUiServices* ui) {
    ui_ = ui ? ui : qtUi_.get();
    gatedUi_->SetInner(ui_);
}

void CDocumentHost::setDialogService(IDialogService* dialogs) {
    gatedDialogs_->SetInner(dialogs ? dialogs : qtDialogs_.get());
}

void CDocumentHost::setDialogParent(QWidget* parent) {
    qtUi_->SetParent(parent);
    qtDialogs_->SetParent(parent);
}

void CDocumentHost::settle() {
    if (!isBusy())
        emit settling();
}

bool CDocumentHost::runWorker(std::function<void()> operation, Done done) {
    // A command waiting on its dialog will act on the document once the
    // dialog closes: no worker may take the document from under it.
    if (isBusy() || dialogsOpen_ > 0)
        return false;
    settle();
    // From here on the GUI thread leaves the document alone: the widgets
    // refresh from this copy, before the worker can write anything.
    heldState_ = CDocumentState::Of(doc_);
    ui_->Progress().ClearCancelled(); // a Cancel of an earlier operation
    held_.store(true, std::memory_order_release);
    cancelSeen_ = false;
    emit busyChanged(true);

    QPointer<CDocumentHost> self(this);
    const bool started = worker_.Start(
        doc_, std::move(operation),
        [self, done = std::move(done)](WorkerStatus status, const std::string& error) {
            // On the worker thread: hand the outcome to the GUI thread. The
            // host outlives the thread (its destructor waits), so `self` is
            // only a guard against a host torn down without waiting.
            if (!self)
                return;
            self->mailbox_.Post([self, done, status, error] {
                if (!self)
                    return;
                // The thread ends right after posting this; joining it
                // orders everything it wrote before what follows.
                self->worker_.Wait();
                self->cancelWatch_.stop();
                self->held_.store(false, std::memory_order_release);
                if (done)
                    done(status, error);
                emit self->busyChanged(false);
            });
        });
    if (!started) {
        held_.store(false, std::memory_order_release);
        emit busyChanged(false);
        return false;
    }
    cancelWatch_.start();
    return true;
}

void CDocumentHost::WatchCancel() {
    if (cancelSeen_ || !isBusy() || !ui_->Progress().IsCancelled())
        return;
    cancelSeen_ = true;
    cancelWatch_.stop();
    emit cancelling();
}

void CDocumentHost::waitForWorker() {
    // Events keep flowing so that a question the worker asks on the GUI
    // thread can be answered, and its completion can be delivered.
    while (isBusy() || doc_.busy.IsSet())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    worker_.Wait();
}

void CDocumentHost::setModified(bool modified) {
    if (modified_ == modified)
        return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

void CDocumentHost::setTitle(const QString& title) {
    if (title_ == title)
        return;
    title_ = title;
    emit titleChanged(title);
}

} // namespace tarvo
