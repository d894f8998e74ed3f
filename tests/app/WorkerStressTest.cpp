// The window used hard while workers start and are cancelled: "Process
// Files", "Plot Graph" and the report, each held at a step while the test
// moves and clicks the mouse over the map, opens every menu, presses the
// shortcuts, changes pages and drops a file, then cancelled. Nothing on the
// GUI thread may read the document meanwhile, no command may act, and a
// cancelled processing leaves the study as it was.

#include "FrameFixture.h"
#include "analysis/Coverage.h"
#include "app/StatusPanes.h"
#include "panel/ControlView.h"
#include "panel/PanelLayout.h"
#include "panel/PanelTestSupport.h"
#include "support/gui/HoldingUi.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::Button;
using test::ClickAt;

struct COperation {
    const char* name;
    int page;
    QPoint button;        // on that page
    const char* holdText; // held at the first bar position under this text
    int holdPercent;
};

const COperation kOperations[] = {
    {"Process Files", kPageFiles, Button(138, 66), "Process 2 out of", 0},
    {"Plot Graph", kPageDataStudy, Button(138, 99), kCalculatingCoverageText, 1},
    {"Genereate Report", kPageReports, Button(90, 298), "Begin to Write", 1},
};

class WorkerStress : public test::FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        host.setUiServices(&holding);
    }
    CControlView& Panel() { return *frame->Panel(); }

    // Everything a restless user does while the worker runs.
    void UseTheWindow(int round) {
        const QSize client = View().ClientSize();
        for (int i = 1; i < 8; ++i)
            QTest::mouseMove(&View(),
                             QPoint(client.width() * i / 8, client.height() * (8 - i) / 8));
        const QPoint middle(client.width() / 2, client.height() / 2);
        QTest::mouseClick(&View(), Qt::LeftButton, {}, middle);
        QTest::mouseClick(&View(), Qt::RightButton, {}, middle);
        QTest::mouseDClick(frame->windowHandle(), Qt::LeftButton, {},
                           View().mapTo(frame.get(), middle));
        QWheelEvent wheel(QPointF(middle), View().mapToGlobal(QPointF(middle)), {}, {0, -120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&View(), &wheel);

        for (QAction* entry : frame->menuBar()->actions()) {
            QMenu* menu = entry->menu();
            menu->popup(frame->mapToGlobal(QPoint(10, 30)));
            QCoreApplication::processEvents();
            menu->hide();
        }
        for (const QKeyCombination keys : {Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::Key_O,
                                           Qt::CTRL | Qt::Key_P, Qt::CTRL | Qt::Key_N})
            QTest::keyClick(frame.get(), keys.key(), keys.keyboardModifiers());
        // Every button of the toolbar but About, whose window is modal.
        for (QAction* action : frame->ToolBar()->actions())
            if (QWidget* button = frame->ToolBar()->widgetForAction(action);
                button && action->objectName() != QLatin1String("appAbout"))
                QTest::mouseClick(button, Qt::LeftButton);

        test::ShowPage(Panel(), round % 3);
        ClickAt(Panel(), Button(42, 66));
        ClickAt(Panel(), Button(106, 99));
        test::ShowPage(Panel(), (round + 1) % 3);

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(workspace))});
        QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &enter);
        QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &drop);
        QTest::qWait(20);
    }

    test::CHoldingUi holding;
    std::string workspace;
};

TEST_F(WorkerStress, TheWindowUsedWhileWorkersStartAndAreCancelled) {
    workspace = test::SaveSampleWorkspace("campus", dir.Path());
    ASSERT_FALSE(workspace.empty());
    Load("office");
    test::ShowPage(Panel(), kPageDataStudy);
    CApTreeCtrl& tree = *Panel().apTree();
    for (int j = 0; j < tree.topLevelItemCount(); ++j)
        ClickAt(Panel(),
                test::TreeZone(Panel(), tree, tree.topLevelItem(j), CApTreeCtrl::Zone::CheckBox));
    ASSERT_TRUE(Doc().aps[0].selected);
    host.setModified(false);
    const CTarvoAnalyzerDoc study = Doc();

    for (int round = 0; round < 6; ++round) {
        const COperation& op = kOperations[round % 3];
        SCOPED_TRACE(op.name);
        const std::size_t asked = holding.choices.size() + holding.messages.size();
        test::ShowPage(Panel(), op.page);
        holding.HoldAt(op.holdText, op.holdPercent);
        if (op.page == kPageReports)
            holding.QueuePath(dir.File("report" + std::to_string(round) + ".html"));
        ClickAt(Panel(), op.button);
        ASSERT_TRUE(QTest::qWaitFor([&] { return holding.Held(); }, 60000));
        const std::size_t asking = holding.choices.size() + holding.messages.size();

        UseTheWindow(round);
        EXPECT_EQ(holding.choices.size() + holding.messages.size(), asking)
            << "no command asked anything while the worker held the document";
        EXPECT_EQ(host.heldAccesses(), 0);

        CDialogProgress* window = holding.Window();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 5000));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("progressCancel")),
                          Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return frame->StatusPanes()->Pane(0)->text() == QLatin1String("Cancelling..."); },
            5000));
        UseTheWindow(round + 1);
        holding.Release();
        host.waitForWorker();
        EXPECT_GE(holding.choices.size() + holding.messages.size(), asked);
        EXPECT_EQ(host.heldAccesses(), 0);
        EXPECT_EQ(frame->StatusPanes()->Pane(0)->text(), QStringLiteral("Ready"));
    }

    // A cancelled processing left the study; only what the other two
    // change may differ: the coverage they drop and the report's path.
    EXPECT_EQ(Doc().aps.GetSize(), study.aps.GetSize());
    EXPECT_EQ(Doc().points, study.points);
    EXPECT_EQ(Doc().files, study.files);
    EXPECT_TRUE(Doc().processed);
    EXPECT_FALSE(Doc().coveragePresent);
    EXPECT_EQ(host.heldAccesses(), 0);
}

} // namespace
} // namespace tarvo
