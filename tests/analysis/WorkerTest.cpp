#include "analysis/Worker.h"
#include "model/UiServices.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tarvo {
namespace {

TEST(WorkerTest, HoldsTheDocumentWhileRunningAndFreesItOnCancelOrFailure) {
    CTarvoAnalyzerDoc doc;
    CDocumentWorker worker;
    WorkerStatus status = WorkerStatus::Completed;
    std::string error;
    auto record = [&](WorkerStatus s, const std::string& e) {
        status = s;
        error = e;
    };

    bool busyWhileRunning = false;
    ASSERT_TRUE(worker.Start(
        doc,
        [&] {
            busyWhileRunning = doc.busy.IsSet();
            throw CCancelException();
        },
        record));
    worker.Wait();
    EXPECT_TRUE(busyWhileRunning);
    EXPECT_EQ(status, WorkerStatus::Cancelled);
    EXPECT_FALSE(doc.busy.IsSet());

    ASSERT_TRUE(worker.Start(
        doc, [] { throw std::invalid_argument("CArray: index 5"); }, record));
    worker.Wait();
    EXPECT_EQ(status, WorkerStatus::Failed);
    EXPECT_EQ(error, "CArray: index 5");
    EXPECT_FALSE(doc.busy.IsSet());

    ASSERT_TRUE(doc.busy.TrySet()); // a busy document runs nothing
    bool ran = false;
    EXPECT_FALSE(worker.Start(doc, [&ran] { ran = true; }));
    worker.Wait();
    EXPECT_FALSE(ran);
}

} // namespace
} // namespace tarvo
