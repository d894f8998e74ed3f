#include "FrameFixture.h"
#include "app/FrameActions.h"
#include "app/Splash.h"
#include "app/Startup.h"
#include "app/StatusPanes.h"
#include "formats/WorkspaceWriter.h"
#include "panel/ControlView.h"

#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QUrl>

#include <chrono>
#include <filesystem>
#include <thread>

namespace tarvo {
namespace {

using test::FrameTest;

QStringList MenuItems(const QMenu* menu) {
    QStringList items;
    for (const QAction* a : menu->actions()) {
        QString item = a->isSeparator() ? QStringLiteral("|") : a->text();
        if (!a->shortcut().isEmpty())
            item += QLatin1Char('\t') + a->shortcut().toString();
        items << item;
    }
    return items;
}

TEST_F(FrameTest, MenusToolbarPromptsAndAccelerators) {
    const QList<QAction*> menus = frame->menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(MenuItems(menus[0]->menu()),
              QStringList({"&Open Existing Project...\tCtrl+O", "&Save Project\tCtrl+S",
                           "Save Project &As...", "|", "&Print...\tCtrl+P", "Print Pre&view",
                           "P&rint Setup...", "|", "Recent File", "|", "E&xit", "|",
                           "New Floor Plan from Ima&ge...", "&Import Survey Data...",
                           "Record &Walk...", "|", "Report as P&DF..."}));
    EXPECT_EQ(menus[1]->text(), "&View");
    EXPECT_EQ(MenuItems(menus[1]->menu()),
              QStringList({"&Toolbar", "&Status Bar", "|", "Position Estimator", "Coverage Model",
                           "Survey Views", "T&hroughput", "Evaluate Map &Accuracy..."}));
    const auto* estimators = menus[1]->menu()->findChild<QMenu*>(QStringLiteral("estimatorMenu"));
    ASSERT_NE(estimators, nullptr);
    EXPECT_EQ(MenuItems(estimators),
              QStringList({"Study Method", "Joint Fit", "Robust Peak or Fit"}));
    const auto* views = menus[1]->menu()->findChild<QMenu*>(QStringLiteral("surveyViewMenu"));
    ASSERT_NE(views, nullptr);
    EXPECT_EQ(MenuItems(views), QStringList({"Signal-to-&Noise Margin", "&Secondary Coverage",
                                             "&Co-channel Overlap", "Strongest &AP"}));
    EXPECT_EQ(menus[2]->text(), "&Help");
    EXPECT_EQ(MenuItems(menus[2]->menu()), QStringList({"&About TarvoAnalyzer..."}));

    QStringList buttons;
    for (const QAction* a : frame->ToolBar()->actions()) {
        buttons << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
        if (!a->isSeparator()) {
            EXPECT_TRUE(a->icon().availableSizes().contains(QSize(16, 15)))
                << a->objectName().toStdString();
        }
    }
    EXPECT_EQ(buttons.join(' '),
              "fileOpen fileSave filePrint | zoomIn zoomOut fitInWindow fitInMap | insertAp "
              "insertInterference moveResource | showMap showCompass measureDistance showLegend "
              "showInfoWindow takeSnapshot createKml outputTable | appAbout | editCut editCopy "
              "editPaste");

    // The prompt before "\n" goes to the status bar, the text after it is the tip.
    EXPECT_EQ(Act("fileOpen")->statusTip(), "Open an existing document");
    EXPECT_EQ(Act("fileOpen")->toolTip(), "Open");
    EXPECT_EQ(Act("zoomIn")->toolTip(), "Zoom in the figure");
    EXPECT_EQ(Act("zoomIn")->statusTip(), "Zoom in the figure");
    EXPECT_EQ(Act("outputTable")->toolTip(), "Output a table ");
    EXPECT_EQ(Act("showCompass")->toolTip(), "");

    const std::pair<const char*, QString> accelerators[] = {{"fileNew", "Ctrl+N"},
                                                            {"editUndo", "Ctrl+Z, Alt+Backspace"},
                                                            {"editCut", "Ctrl+X, Shift+Del"},
                                                            {"editCopy", "Ctrl+C, Ctrl+Ins"},
                                                            {"editPaste", "Ctrl+V, Shift+Ins"},
                                                            {"nextPane", "F6"},
                                                            {"previousPane", "Shift+F6"}};
    for (const auto& [name, keys] : accelerators) {
        QStringList list;
        for (const QKeySequence& k : Act(name)->shortcuts())
            list << k.toString();
        EXPECT_EQ(list.join(QStringLiteral(", ")), keys) << name;
    }
    for (const char* edit : {"editUndo", "editCut", "editCopy", "editPaste"})
        EXPECT_FALSE(Act(edit)->isEnabled()) << edit;

    EXPECT_EQ(frame->Panel()->width(), 220);
    EXPECT_EQ(frame->windowTitle(), "KDR[*] - TarvoAnalyzer"); // the panel names the study
    Trigger("viewToolbar");
    EXPECT_TRUE(frame->ToolBar()->isHidden());

    // The estimator chosen is the host's and the next start's.
    EXPECT_TRUE(Act("estimatorStudy")->isChecked());
    Trigger("estimatorJoint");
    EXPECT_FALSE(Act("estimatorStudy")->isChecked());
    EXPECT_EQ(host.estimatorChoice(), EstimatorKind::Joint);
    CDocumentHost nextHost;
    nextHost.setUiServices(&ui);
    const CMainFrame next(nextHost);
    EXPECT_EQ(nextHost.estimatorChoice(), EstimatorKind::Joint);
    EXPECT_TRUE(next.Action(QStringLiteral("estimatorJoint"))->isChecked());
    Trigger("estimatorRobust");
    EXPECT_FALSE(Act("estimatorJoint")->isChecked());
    EXPECT_TRUE(Act("estimatorRobust")->isChecked());
    EXPECT_EQ(host.estimatorChoice(), EstimatorKind::Robust);
    CDocumentHost thirdHost;
    thirdHost.setUiServices(&ui);
    const CMainFrame third(thirdHost);
    EXPECT_EQ(thirdHost.estimatorChoice(), EstimatorKind::Robust);
}

TEST_F(FrameTest, StatusPanesTakeExactlyTheirTextAndMovesDoNotRepaint) {
    CFrameStatusBar* bar = frame->StatusPanes();
    EXPECT_EQ(bar->Pane(0)->text(), "Ready");
    for (int pane = 1; pane <= 5; ++pane)
        EXPECT_TRUE(bar->Pane(pane)->isHidden()) << pane;

    const QString text = QStringLiteral("(X = 12.345, Y = 6.789)");
    View().SetStatusText(2, text);
    EXPECT_FALSE(bar->Pane(2)->isHidden());
    EXPECT_EQ(bar->Pane(2)->width(), bar->Pane(2)->fontMetrics().horizontalAdvance(text));
    EXPECT_TRUE(bar->Pane(1)->isHidden());
    View().SetStatusText(2, QString());
    EXPECT_TRUE(bar->Pane(2)->isHidden());

    QStatusTipEvent prompt(QStringLiteral("Zoom in the figure"));
    QCoreApplication::sendEvent(frame.get(), &prompt);
    EXPECT_EQ(bar->Pane(0)->text(), "Zoom in the figure");
    QStatusTipEvent idle{QString()};
    QCoreApplication::sendEvent(frame.get(), &idle);
    EXPECT_EQ(bar->Pane(0)->text(), "Ready");

    Load("office");
    View().repaint();
    const int frames = View().FrameCount();
    const int renders = View().LayerRenders();
    for (int x = 20; x < 300; x += 40)
        QTest::mouseMove(&View(), QPoint(x, x / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(View().FrameCount(), frames);
    EXPECT_EQ(View().LayerRenders(), renders);
}

TEST_F(FrameTest, OpenSaveAndDropThroughTheFileCommands) {
    const std::string campus = test::SaveSampleWorkspace("campus", dir.Path());
    ASSERT_FALSE(campus.empty());
    ui.QueuePath(campus);
    Trigger("fileOpen");
    ASSERT_EQ(ui.choices.size(), 1u);
    EXPECT_EQ(ui.choices[0].filter, kTwsOpenFilter);
    EXPECT_EQ(ui.choices[0].title, kTwsOpenTitle);
    EXPECT_TRUE(Doc().processed);
    EXPECT_TRUE(Doc().gpsPointsPresent);
    EXPECT_EQ(frame->windowTitle(), "campus.tws[*] - TarvoAnalyzer");

    // An opened workspace has no name yet: the first save asks for one.
    ui.QueuePath(dir.File("copy.dat"));
    Trigger("fileSave");
    ASSERT_EQ(ui.choices.size(), 2u);
    EXPECT_EQ(ui.choices[1].filter, kTwsSaveFilter);
    EXPECT_EQ(ui.choices[1].title, kTwsSaveTitle);
    EXPECT_TRUE(std::filesystem::exists(dir.File("copy.tws")));
    EXPECT_EQ(frame->windowTitle(), "copy.tws[*] - TarvoAnalyzer");
    Trigger("fileSave"); // named now: no question
    EXPECT_EQ(ui.choices.size(), 2u);
    ui.QueuePath(std::nullopt);
    Trigger("fileSaveAs"); // asks even when named; Cancel keeps the name
    EXPECT_EQ(ui.choices.size(), 3u);
    EXPECT_TRUE(Doc().workspaceNamed);
    EXPECT_EQ(frame->RecentFiles().Files().value(0),
              QFileInfo(QString::fromStdString(dir.File("copy.tws"))).canonicalFilePath());

    // A dropped file opens as a workspace; one that is not leaves the study.
    const std::string other = dir.Write("notes.tws", {'n', 'o', 't', 'e'});
    for (const std::string& path : {other, campus}) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &enter);
        QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &drop);
    }
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages[0].title, "Invalid File");
    EXPECT_EQ(frame->windowTitle(), "campus.tws[*] - TarvoAnalyzer");
    EXPECT_TRUE(Doc().processed);
}

TEST_F(FrameTest, ClosingAModifiedStudyAsksAndWaitsForTheWorker) {
    Load("office");
    host.setTitle(QStringLiteral("office.tws"));
    host.setModified(true);
    EXPECT_EQ(frame->windowTitle(), "office.tws[*] - TarvoAnalyzer");
    EXPECT_TRUE(frame->isWindowModified());

    ui.QueueAnswer(MsgAnswer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(ui.Said(), "TarvoAnalyzer: Save changes to office.tws?");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoCancel);

    // Yes with the file choice cancelled saves nothing and keeps the window.
    ui.QueueAnswer(MsgAnswer::Yes);
    ui.QueuePath(std::nullopt);
    EXPECT_FALSE(frame->close());

    // A running worker is waited for before the question.
    ASSERT_TRUE(
        host.runWorker([] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }, {}));
    ui.QueueAnswer(MsgAnswer::Yes);
    ui.QueuePath(dir.File("closing"));
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(host.isBusy());
    EXPECT_TRUE(std::filesystem::exists(dir.File("closing.tws")));
}

// Start-up shows the window itself.
class StartupTest : public FrameTest {
protected:
    void SetUp() override { MakeFrame(); }
};

TEST_F(StartupTest, SplashThenTheWindowThenTheWorkspace) {
    const std::string office = test::SaveSampleWorkspace("office", dir.Path());
    CStartup startup(*frame, {QString::fromStdString(office), {}, 30});
    QSignalSpy ready(&startup, &CStartup::ready);
    startup.Begin();
    ASSERT_TRUE(frame->Splash()->isVisible());
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(frame->Splash()->size(), QSize(300, 300) + QSize(2, 2)); // with its border
    const QPoint offset = frame->Splash()->geometry().center() - frame->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2);

    ASSERT_TRUE(ready.wait(5000));
    EXPECT_FALSE(frame->Splash()->isVisible());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(host.doc().processed);
    EXPECT_FALSE(host.isModified());
    EXPECT_EQ(frame->windowTitle(), "office.tws[*] - TarvoAnalyzer");
    EXPECT_EQ(frame->RecentFiles().Files(),
              QStringList({QFileInfo(QString::fromStdString(office)).canonicalFilePath()}));
}

TEST_F(StartupTest, WithoutAWorkspaceOrWithOneThatFails) {
    const std::string notWorkspace = dir.Write("plain.tws", {'x', 'y', 'z', 'w', 0, 0, 0, 0});
    struct {
        std::string workspace;
        int exitCode; // -1: started normally
        const char* title;
    } cases[] = {{"", -1, ""},
                 {dir.File("missing.tws"), 1, "File Open Error"},
                 {notWorkspace, 1, "Invalid File"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.workspace);
        ui.messages.clear();
        CStartup startup(*frame, {QString::fromStdString(c.workspace), {}, 0});
        QSignalSpy ready(&startup, &CStartup::ready);
        QSignalSpy finished(&startup, &CStartup::finished);
        startup.Begin();
        if (c.exitCode < 0) {
            ASSERT_TRUE(ready.wait(5000));
            EXPECT_TRUE(ui.messages.empty());
        } else {
            ASSERT_TRUE(finished.wait(5000));
            EXPECT_EQ(finished[0][0].toInt(), c.exitCode);
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].title, c.title);
        }
        EXPECT_FALSE(host.doc().processed);
    }
}

} // namespace
} // namespace tarvo
