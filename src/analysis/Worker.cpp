#include "analysis/Worker.h"

#include "model/UiServices.h"

#include <exception>
#include <stdexcept>
#include <system_error>

namespace tarvo {

CDocumentWorker::~CDocumentWorker() {
    Wait();
}

void CDocumentWorker::Wait() {
    if (thread_.joinable())
        thread_.join();
}

bool CDocumentWorker::Start(CTarvoAnalyzerDoc& doc, Operation operation, Finished finished) {
    if (!doc.busy.TrySet())
        return false;
    // The flag was free, so an earlier thread has finished its operation;
    // collect it before starting the next.
    Wait();
    try {
        thread_ =
            std::thread([&doc, operation = std::move(operation), finished = std::move(finished)]() {
                WorkerStatus status = WorkerStatus::Completed;
                std::string error;
                try {
                    operation();
                } catch (const CCancelException&) {
                    status = WorkerStatus::Cancelled;
                } catch (const std::exception& e) {
                    status = WorkerStatus::Failed;
                    error = e.what();
                } catch (...) {
                    status = WorkerStatus::Failed;
                    error = "unknown error";
                }
                doc.busy.Clear();
                if (finished)
                    finished(status, error);
            });
    } catch (const std::system_error&) {
        doc.busy.Clear(); // no thread could be started: nothing runs
        return false;
    }
    return true;
}

} // namespace tarvo
