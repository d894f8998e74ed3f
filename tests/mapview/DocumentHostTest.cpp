#include "mapview/DocumentHost.h"
#include "mapview/QtUiServices.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QTimer>
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
    EXPECT_EQ(FilterSuffix(QStringLiteral("HTML File (*.html)")), "html");
    EXPECT_EQ(FilterSuffix(QStringLiteral("Projection Files (gpf.lpf) (*.gpf *.lpf)")), "gpf");
    EXPECT_EQ(FilterSuffix(QStringLiteral("All files (*.*)")), "");
    EXPECT_EQ(FilterSuffix(QStringLiteral("Anything")), "");
}

// Answers the save dialog once it runs: picks a filter, types a name, OK.
void AnswerSaveDialog(const QString& filter, const QString& name) {
    QTimer::singleShot(0, [filter, name] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        // A filter chosen as the user does, in the list of types.
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_TRUE(types);
        while (!filter.isEmpty() && types->currentText() != filter &&
               types->currentIndex() + 1 < types->count())
            QTest::keyClick(types, Qt::Key_Down);
        QLineEdit* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(edit);
        edit->setText(name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

TEST(QtUiServices, ASavedNameWithoutExtensionTakesTheChosenFilters) {
    test::CTempDir dir;
    CQtUiServices ui;
    const std::string filter = "HTML File (*.html)|*.html|All files (*.*)|*.*||";
    const std::string start = dir.File("study.html");
    const struct {
        QString filter; // empty: the first one
        QString typed;
        std::string saved;
    } cases[] = {{{}, QStringLiteral("myreport"), "myreport.html"},
                 {{}, QStringLiteral("my.report"), "my.report"},
                 {QStringLiteral("All files (*.*)"), QStringLiteral("myreport"), "myreport"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        AnswerSaveDialog(c.filter, c.typed);
        const auto chosen = ui.ChooseSaveFile(filter, "Save As", start);
        ASSERT_TRUE(chosen);
        EXPECT_EQ(*chosen, dir.File(c.saved));
    }
}

} // namespace
} // namespace tarvo
