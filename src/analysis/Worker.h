#pragma once
// Running a long document operation (collection loading, coverage, report,
// table) on a worker thread while the document is marked busy, so that
// commands which change the document can refuse meanwhile.

#include "model/Document.h"

#include <functional>
#include <string>
#include <thread>

namespace tarvo {

enum class WorkerStatus { Completed, Cancelled, Failed };

// Runs one operation at a time on its own std::thread.
//
// Threads: Start and Wait are called from the owning (GUI) thread. The
// operation runs on the worker thread; it may throw CCancelException
// (reported as Cancelled) and any other exception ends it as Failed with
// the exception's text, never escaping the thread. doc.busy is set before
// the thread starts and cleared on the worker after the operation, before
// `finished` is called there, on the worker thread. `finished` must hand
// its result to the GUI thread without waiting for it (a queued call, not a
// blocking one): the GUI thread may itself be blocked in Wait() or in the
// destructor, joining the worker, and would never answer. It must not call
// Start or Wait either. The destructor waits for a running operation.
class CDocumentWorker {
public:
    using Operation = std::function<void()>;
    using Finished = std::function<void(WorkerStatus status, const std::string& error)>;

    CDocumentWorker() = default;
    ~CDocumentWorker();
    CDocumentWorker(const CDocumentWorker&) = delete;
    CDocumentWorker& operator=(const CDocumentWorker&) = delete;

    // Returns false, and runs nothing, when the document is already busy
    // (or no thread can be started).
    bool Start(CTarvoAnalyzerDoc& doc, Operation operation, Finished finished = {});

    // Blocks until the running operation (if any) has finished.
    void Wait();

private:
    std::thread thread_;
};

} // namespace tarvo
