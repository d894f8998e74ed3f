#include "analysis/Worker.h"
#include "model/UiServices.h"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>

namespace tarvo {
namespace {

TEST(WorkerTest, HoldsTheBusyFlagWhileTheOperationRuns) {
    CTarvoAnalyzerDoc doc;
    CDocumentWorker worker;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<WorkerStatus> done;

    ASSERT_TRUE(worker.Start(
        doc, [released] { released.wait(); },
        [&done](WorkerStatus s, const std::string&) { done.set_value(s); }));
    EXPECT_TRUE(doc.busy.IsSet());
    // A second operation, or a synchronous one, is refused meanwhile.
    bool secondRan = false;
    EXPECT_FALSE(worker.Start(doc, [&secondRan] { secondRan = true; }));
    {
        CBusyGuard guard(doc);
        EXPECT_FALSE(guard.Acquired());
    }
    EXPECT_TRUE(doc.busy.IsSet());

    release.set_value();
    EXPECT_EQ(done.get_future().get(), WorkerStatus::Completed);
    worker.Wait();
    EXPECT_FALSE(doc.busy.IsSet());
    EXPECT_FALSE(secondRan);

    CBusyGuard guard(doc);
    EXPECT_TRUE(guard.Acquired());
}

TEST(WorkerTest, CancelAndFailureEndTheOperationAndFreeTheDocument) {
    CTarvoAnalyzerDoc doc;
    CDocumentWorker worker;
    WorkerStatus status = WorkerStatus::Completed;
    std::string error;
    auto record = [&](WorkerStatus s, const std::string& e) {
        status = s;
        error = e;
    };

    ASSERT_TRUE(worker.Start(
        doc, [] { throw CCancelException(); }, record));
    worker.Wait();
    EXPECT_EQ(status, WorkerStatus::Cancelled);
    EXPECT_FALSE(doc.busy.IsSet());

    ASSERT_TRUE(worker.Start(
        doc, [] { throw std::invalid_argument("CArray: index 5"); }, record));
    worker.Wait();
    EXPECT_EQ(status, WorkerStatus::Failed);
    EXPECT_EQ(error, "CArray: index 5");
    EXPECT_FALSE(doc.busy.IsSet());
}

} // namespace
} // namespace tarvo
