#include "mapview/DocumentHost.h"
#include "mapview/QtUiServices.h"
#include "support/FakeUi.h"

#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
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
