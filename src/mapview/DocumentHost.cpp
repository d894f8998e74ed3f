#include "mapview/DocumentHost.h"

#include "mapview/QtDialogService.h"
#include "mapview/QtUiServices.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

namespace tarvo {

CDocumentHost::CDocumentHost(QObject* parent)
    : QObject(parent), qtUi_(std::make_unique<CQtUiServices>()),
      qtDialogs_(std::make_unique<CQtDialogService>()) {
    ui_ = qtUi_.get();
    dialogs_ = qtDialogs_.get();
}

CDocumentHost::~CDocumentHost() {
    waitForWorker();
}

IUiServices& CDocumentHost::ui() {
    return *ui_;
}

IDialogService& CDocumentHost::dialogs() {
    return *dialogs_;
}

void CDocumentHost::setUiServices(IUiServices* ui) {
    ui_ = ui ? ui : qtUi_.get();
}

void CDocumentHost::setDialogService(IDialogService* dialogs) {
    dialogs_ = dialogs ? dialogs : qtDialogs_.get();
}

void CDocumentHost::setDialogParent(QWidget* parent) {
    qtUi_->SetParent(parent);
    qtDialogs_->SetParent(parent);
}

bool CDocumentHost::runWorker(std::function<void()> operation, Done done) {
    if (workerPending_)
        return false;
    QPointer<CDocumentHost> self(this);
    const bool started = worker_.Start(
        doc_, std::move(operation),
        [self, done = std::move(done)](WorkerStatus status, const std::string& error) {
            // On the worker thread: hand the outcome to the GUI thread. The
            // host outlives the thread (its destructor waits), so `self` is
            // only a guard against a host torn down without waiting.
            if (!self)
                return;
            QMetaObject::invokeMethod(
                self.data(),
                [self, done, status, error] {
                    if (!self)
                        return;
                    self->workerPending_ = false;
                    emit self->busyChanged(false);
                    if (done)
                        done(status, error);
                },
                Qt::QueuedConnection);
        });
    if (!started)
        return false;
    workerPending_ = true;
    emit busyChanged(true);
    return true;
}

void CDocumentHost::waitForWorker() {
    // Events keep flowing so that a question the worker asks on the GUI
    // thread can be answered, and its completion can be delivered.
    while (workerPending_ || isBusy())
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
