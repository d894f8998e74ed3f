// The worker's hold on the document, seen from the whole window: every
// command off from the moment a worker is asked to start until it has
// ended, the checks as they were, a Cancel that really cancels processing
// and brings the earlier study back, and a refused processing that leaves
// the study unmodified.

#include "FrameFixture.h"
#include "app/StatusPanes.h"
#include "panel/ControlView.h"
#include "panel/PanelLayout.h"
#include "panel/PanelTestSupport.h"
#include "support/gui/HoldingUi.h"

#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace tarvo {
namespace {

using Zone = CApTreeCtrl::Zone;

class WorkerHold : public test::FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        host.setUiServices(&holding);
    }
    CControlView& Panel() { return *frame->Panel(); }
    QString Message() { return frame->StatusPanes()->Pane(0)->text(); }
    // The panel as shown, the keyboard focus on the map (a focused tree
    // draws its current item in another colour).
    QImage Grab(QWidget& widget) {
        View().setFocus();
        QCoreApplication::processEvents();
        return widget.grab().toImage();
    }
    // The window's commands that act on the document: the map view's and
    // the File menu's.
    QStringList EnabledDocumentCommands() {
        QStringList enabled;
        for (const QAction* action : frame->ToolBar()->actions())
            if (!action->isSeparator() && action->isEnabled() &&
                !action->objectName().startsWith(QLatin1String("edit")) &&
                action->objectName() != QLatin1String("appAbout"))
                enabled << action->objectName();
        for (const char* name :
             {"fileNew", "fileSaveAs", "filePrintPreview", "filePrintSetup", "estimatorJoint"})
            if (Act(name)->isEnabled())
                enabled << QString::fromLatin1(name);
        return enabled;
    }
    bool DropAccepted(const std::string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &enter);
        return enter.isAccepted();
    }

    test::CHoldingUi holding;
};

TEST_F(WorkerHold, EveryCommandIsOffFromTheRequestUntilTheWorkerHasEnded) {
    Load("office");
    Trigger("zoomIn");
    Trigger("showLegend");
    const QStringList idle = EnabledDocumentCommands();
    ASSERT_TRUE(idle.contains(QStringLiteral("fileSaveAs")));
    ASSERT_TRUE(idle.contains(QStringLiteral("filePrint")));
    const std::string workspace = test::SaveSampleWorkspace("campus", dir.Path());

    std::atomic<bool> release{false};
    ASSERT_TRUE(host.runWorker(
        [&] {
            while (!release.load())
                std::this_thread::yield();
        },
        {}));
    EXPECT_EQ(EnabledDocumentCommands(), QStringList());
    EXPECT_TRUE(Act("zoomIn")->isChecked()) << "checks as they were";
    EXPECT_TRUE(Act("showLegend")->isChecked());
    EXPECT_FALSE(Panel().button(kIdProcessFiles)->isEnabled());

    // Shortcuts, the menu, a drop: nothing reaches the document.
    QTest::keyClick(frame.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(frame.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(frame.get(), Qt::Key_P, Qt::ControlModifier);
    Trigger("fileSaveAs");
    EXPECT_FALSE(DropAccepted(workspace));
    EXPECT_TRUE(holding.choices.empty());
    EXPECT_TRUE(holding.messages.empty());

    // The map is used meanwhile without reading the document.
    for (int x = 40; x < 400; x += 60)
        QTest::mouseMove(&View(), QPoint(x, x / 2));
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseDClick(&View(), Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseClick(&View(), Qt::RightButton, {}, QPoint(200, 150));
    QTest::qWait(450); // the pointer rests: no information window
    EXPECT_EQ(host.heldAccesses(), 0);

    release.store(true);
    host.waitForWorker();
    EXPECT_EQ(EnabledDocumentCommands(), idle);
    EXPECT_TRUE(Panel().button(kIdProcessFiles)->isEnabled());
    EXPECT_EQ(host.heldAccesses(), 0);
}

TEST_F(WorkerHold, CancelDuringProcessingBringsTheEarlierStudyBackWhole) {
    Load("campus");
    CControlView& panel = Panel();
    // The study as the user left it: a group ticked, the Data Study page.
    test::ShowPage(panel, kPageDataStudy);
    CApTreeCtrl& tree = *panel.apTree();
    ASSERT_GT(tree.topLevelItemCount(), 0);
    test::ClickAt(panel, test::TreeZone(panel, tree, tree.topLevelItem(0), Zone::CheckBox));
    host.setModified(false);
    const CTarvoAnalyzerDoc before = Doc();
    const QImage page = Grab(panel);
    const int aps = Doc().aps.GetSize();

    test::ShowPage(panel, kPageFiles);
    holding.HoldAt("Process 3 out of", 0);
    test::ClickAt(panel, test::Button(138, 66)); // "Process Files"
    ASSERT_TRUE(QTest::qWaitFor([&] { return holding.Held(); }, 60000));
    CDialogProgress* window = holding.Window();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 5000));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("progressCancel")),
                      Qt::LeftButton);
    EXPECT_FALSE(window->isVisible()) << "Cancel hides the window at once";
    // Until the worker has stopped, the window says that it is stopping.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Message() == QLatin1String("Cancelling..."); }, 5000));
    EXPECT_TRUE(host.isBusy());
    EXPECT_FALSE(panel.button(kIdProcessFiles)->isEnabled());
    holding.Release();
    host.waitForWorker();
    EXPECT_EQ(Message(), QStringLiteral("Ready"));

    // Each thread stopped at its next AP.
    int last = 0;
    for (const std::string& text : holding.Texts())
        std::sscanf(text.c_str(), "Process %d out of", &last);
    const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    EXPECT_LE(last, std::min(aps, 3 + threads));

    EXPECT_FALSE(host.isModified());
    test::ShowPage(panel, kPageDataStudy);
    EXPECT_TRUE(Doc() == before) << "the earlier study, whole";
    EXPECT_EQ(Grab(panel), page) << "its controls and selection too";

    // A Cancel pressed after the last AP, while the load finishes, cancels
    // too.
    test::ShowPage(panel, kPageFiles);
    holding.HoldAt("Process", 100);
    test::ClickAt(panel, test::Button(138, 66));
    ASSERT_TRUE(QTest::qWaitFor([&] { return holding.Held(); }, 60000));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("progressCancel")),
                      Qt::LeftButton);
    holding.Release();
    host.waitForWorker();
    EXPECT_FALSE(host.isModified());
    test::ShowPage(panel, kPageDataStudy);
    EXPECT_TRUE(Doc() == before);
    EXPECT_EQ(host.heldAccesses(), 0);
}

TEST_F(WorkerHold, RefusedProcessingLeavesTheStudyUnmodified) {
    Load("office");
    // A GPS walk beside the floor plan's linear walks: refused.
    ASSERT_TRUE(test::WriteSampleStudyTo("campus", dir.File("campus")));
    CControlView& panel = Panel();
    holding.QueuePath(dir.File("campus/walk1.ssd"));
    test::ClickAt(panel, test::Button(42, 66)); // "Open SSD Files"
    ASSERT_EQ(Doc().files.GetSize(), 3);
    host.setModified(false); // as if just saved
    const CTarvoAnalyzerDoc before = Doc();

    test::ClickAt(panel, test::Button(138, 66)); // "Process Files"
    host.waitForWorker();
    ASSERT_EQ(holding.messages.size(), 1u);
    EXPECT_EQ(holding.messages[0].title, "Please input the map.");
    EXPECT_FALSE(host.isModified());
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_TRUE(Doc() == before);
}

} // namespace
} // namespace tarvo
