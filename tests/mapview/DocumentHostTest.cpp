#include "mapview/DocumentHost.h"
#include "mapview/QtUiServices.h"
#include "support/FakeUi.h"

#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

namespace tarvo {
namespace {

TEST(DocumentHost, WorkerHoldsTheDocumentAndReportsOnTheGuiThread) {
    CDocumentHost host;
    test::CFakeUi ui;
    host.setUiServices(&ui);
    std::vector<bool> busy;
    QObject::connect(&host, &CDocumentHost::busyChanged, [&](bool b) { busy.push_back(b); });

    std::atomic<bool> release{false};
    WorkerStatus seen = WorkerStatus::Failed;
    bool doneOnGui = false;
    ASSERT_TRUE(host.runWorker(
        [&] {
            while (!release.load())
                std::this_thread::yield();
            host.ui().MessageBox("asked from the worker", "Title", MsgIcon::Information);
        },
        [&](WorkerStatus status, const std::string&) {
            seen = status;
            doneOnGui = QThread::currentThread() == host.thread();
            EXPECT_FALSE(host.isBusy());
        }));
    EXPECT_TRUE(host.isBusy());
    EXPECT_FALSE(host.runWorker([] {}, {})) << "a second operation while one runs";
    release.store(true);
    host.waitForWorker();

    EXPECT_EQ(seen, WorkerStatus::Completed);
    EXPECT_TRUE(doneOnGui);
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(ui.Said(), "Title: asked from the worker");
}

// A worker held at its start until the test lets it go.
struct CHeldWorker {
    std::atomic<bool> started{false};
    std::atomic<bool> release{false};
    std::function<void()> Operation() {
        return [this] {
            started.store(true);
            while (!release.load())
                std::this_thread::yield();
        };
    }
};

TEST(DocumentHost, WidgetsSeeTheStateTakenBeforeTheWorkerAndLeaveTheDocumentAlone) {
    CDocumentHost host;
    test::CFakeUi ui;
    host.setUiServices(&ui);
    host.doc().processed = true;
    host.doc().view.tools[kToolZoomIn] = 1;
    const CDocumentState before = host.state();

    CHeldWorker worker;
    bool startedAtBusy = true;
    CDocumentState seen;
    QObject::connect(&host, &CDocumentHost::busyChanged, [&](bool busy) {
        if (!busy)
            return;
        startedAtBusy = worker.started.load();
        seen = host.state();
    });
    ASSERT_TRUE(host.runWorker(worker.Operation(), {}));
    EXPECT_FALSE(startedAtBusy) << "widgets hear of the worker before it has the document";
    EXPECT_EQ(seen, before);
    ASSERT_TRUE(QTest::qWaitFor([&] { return worker.started.load(); }, 5000));
    EXPECT_EQ(host.state(), before);
    EXPECT_EQ(host.heldAccesses(), 0);
    (void)host.doc().processed; // a read the rule forbids, counted
    EXPECT_EQ(host.heldAccesses(), 1);

    // A command's dialog meets the held document: Cancel, nothing asked.
    EXPECT_EQ(host.ui().ChooseSaveFile("Any (*.x)|*.x||", "Save", ""), std::nullopt);
    EXPECT_EQ(host.ui().MessageBox("Delete?", "Delete", MsgIcon::Information, MsgButtons::YesNo),
              MsgAnswer::No);
    CApPropertiesText fields;
    EXPECT_FALSE(host.dialogs().EditApProperties(fields));
    EXPECT_TRUE(ui.choices.empty());
    EXPECT_TRUE(ui.messages.empty());
    worker.release.store(true);
    host.waitForWorker();
    EXPECT_EQ(host.heldAccesses(), 1);
}

// Opens a dialog during which something tries to start a worker.
class CStartingUi : public test::CFakeUi {
public:
    explicit CStartingUi(CDocumentHost& host) : host_(host) {}
    std::optional<std::string> ChooseSaveFile(const std::string& filter, const std::string& title,
                                              const std::string& defaultName) override {
        startedMeanwhile = host_.runWorker([] {}, {});
        return test::CFakeUi::ChooseSaveFile(filter, title, defaultName);
    }
    bool startedMeanwhile = true;

private:
    CDocumentHost& host_;
};

TEST(DocumentHost, NoWorkerStartsWhileACommandWaitsOnItsDialog) {
    CDocumentHost host;
    CStartingUi ui(host);
    host.setUiServices(&ui);
    ui.QueuePath(std::string("/tmp/chosen"));
    EXPECT_EQ(host.ui().ChooseSaveFile("Any (*.x)|*.x||", "Save", ""), "/tmp/chosen")
        << "the answer counts: the document stayed free";
    EXPECT_FALSE(ui.startedMeanwhile);
    EXPECT_FALSE(host.isBusy());
    EXPECT_TRUE(host.runWorker([] {}, {})) << "once the dialog has closed";
    host.waitForWorker();
}

TEST(QtUiServices, FileFiltersBecomeQtFilters) {
    EXPECT_EQ(QtFileFilter("Tarvo Site Survey File (*.ssd)|*.ssd||"),
              "Tarvo Site Survey File (*.ssd)");
    EXPECT_EQ(QtFileFilter("HTML File (*.html)|*.html|All files (*.*)|*.*||"),
              "HTML File (*.html);;All files (*.*)");
    EXPECT_EQ(QtFileFilter("Tarvo Work Space (tws)|*.tws||"), "Tarvo Work Space (tws) (*.tws)");
    EXPECT_EQ(QtFileFilter("BMP - Bitmap picture (*.bmp)|"), "BMP - Bitmap picture (*.bmp)");
}

} // namespace
} // namespace tarvo
