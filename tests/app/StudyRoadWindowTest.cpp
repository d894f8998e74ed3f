// The road of a typical study through the whole window, checking what the
// widgets show at each step (check boxes, enabled commands, the title, the
// status panes) and not only the document: a floor plan, two walks,
// processing on the worker, ticking APs, coverage, readouts under the
// pointer, the ruler, the report, saving and opening again.

#include "FrameFixture.h"
#include "app/StatusPanes.h"
#include "panel/BitCheckButton.h"
#include "panel/ControlView.h"
#include "panel/PanelLayout.h"
#include "panel/PanelTestSupport.h"
#include "support/gui/HoldingUi.h"
#include "view/HitTest.h"

#include <QLabel>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <filesystem>

namespace tarvo {
namespace {

using test::Button;
using test::ClickAt;
using Zone = CApTreeCtrl::Zone;

constexpr const char* kViewCommands[] = {
    "measureDistance", "zoomIn",         "zoomOut",     "fitInWindow",  "fitInMap",
    "showLegend",      "showInfoWindow", "showCompass", "insertAp",     "insertInterference",
    "moveResource",    "showMap",        "createKml",   "takeSnapshot", "outputTable"};

class StudyRoadWindow : public test::FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        host.setUiServices(&holding);
        ASSERT_TRUE(test::WriteSampleStudyTo("office", dir.Path().string()));
    }
    CControlView& Panel() { return *frame->Panel(); }
    // "1" enabled, "0" disabled, in the order of kViewCommands.
    std::string Enabled() {
        std::string pattern;
        for (const char* name : kViewCommands)
            pattern += Act(name)->isEnabled() ? '1' : '0';
        return pattern;
    }
    int Check(int id) { return static_cast<CBitCheckButton*>(Panel().button(id))->check(); }
    QString Pane(int i) { return frame->StatusPanes()->Pane(i)->text(); }
    QString Title() {
        return frame->windowTitle().replace(QStringLiteral("[*]"),
                                            frame->isWindowModified() ? "*" : "");
    }
    void MoveTo(QPoint p) { QTest::mouseMove(&View(), p); }

    test::CHoldingUi holding;
};

TEST_F(StudyRoadWindow, WhatTheWindowShowsAlongATypicalStudy) {
    CControlView& panel = Panel();
    EXPECT_EQ(Title(), "KDR - TarvoAnalyzer");
    EXPECT_EQ(Enabled(), "000000000000000");
    EXPECT_EQ(Pane(0), "Ready");

    // The floor plan: shown at once, its tools offered.
    holding.QueuePath(dir.File("office.lpf"));
    ClickAt(panel, Button(10, 66)); // "Open GPF Files"
    EXPECT_EQ(Title(), "KDR* - TarvoAnalyzer");
    EXPECT_TRUE(Act("showMap")->isChecked());
    EXPECT_EQ(Enabled(), "111110001111010");
    MoveTo({200, 150});
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\(X = -?\\d+\\.\\d{3}, Y = -?\\d+\\.\\d{3}\\)$"))
            .match(Pane(1))
            .hasMatch())
        << Pane(1).toStdString();

    // Two walks, ticked in the list.
    for (const char* walk : {"walk1.ssd", "walk2.ssd"}) {
        holding.QueuePath(dir.File(walk));
        ClickAt(panel, Button(42, 66)); // "Open SSD Files"
    }
    QTreeWidgetItem* files = panel.fileList()->topLevelItem(0);
    ASSERT_EQ(files->childCount(), 2);
    EXPECT_EQ(files->checkState(0), Qt::Checked);
    EXPECT_EQ(files->child(1)->text(0), "walk2.ssd");
    EXPECT_EQ(files->child(1)->checkState(0), Qt::Checked);

    // Processing: everything off while it runs, then the processed study.
    holding.HoldAt("Process 2 out of", 0);
    ClickAt(panel, Button(138, 66)); // "Process Files"
    ASSERT_TRUE(QTest::qWaitFor([&] { return holding.Held(); }, 60000));
    EXPECT_EQ(Enabled(), "000000000000000");
    EXPECT_FALSE(Act("fileSave")->isEnabled());
    EXPECT_FALSE(panel.button(kIdOpenSsd)->isEnabled());
    EXPECT_TRUE(Act("showMap")->isChecked()) << "as it was";
    holding.Release();
    host.waitForWorker();
    ASSERT_TRUE(Doc().processed);
    EXPECT_EQ(Enabled(), "111111101111011");
    EXPECT_FALSE(panel.button(kIdCoordinates)->isEnabled()) << "linear data only";
    EXPECT_TRUE(panel.button(kIdOpenSsd)->isEnabled());

    // Data Study: ticking a group ticks its APs and shows their samples.
    test::ShowPage(panel, kPageDataStudy);
    CApTreeCtrl& tree = *panel.apTree();
    ASSERT_GT(tree.topLevelItemCount(), 0);
    QTreeWidgetItem* group = tree.topLevelItem(0);
    EXPECT_EQ(group->checkState(0), Qt::Unchecked);
    ClickAt(panel, test::TreeZone(panel, tree, group, Zone::CheckBox));
    group = tree.topLevelItem(0);
    EXPECT_EQ(group->checkState(0), Qt::Checked);
    for (int c = 0; c < group->childCount(); ++c)
        EXPECT_EQ(group->child(c)->checkState(0), Qt::Checked) << c;
    EXPECT_EQ(Check(kIdColorWalkPath), 1);
    EXPECT_FALSE(panel.button(kIdPlotCoverage)->isEnabled());

    // Coverage: the band buttons and their report boxes come on.
    ClickAt(panel, Button(138, 99)); // "Plot Graph"
    host.waitForWorker();
    ASSERT_TRUE(Doc().coveragePresent);
    EXPECT_TRUE(panel.button(kIdPlotCoverage)->isEnabled());
    EXPECT_EQ(Check(kIdPlotCoverage), 1);
    EXPECT_EQ(Check(kIdColorWalkPath), 0);
    EXPECT_TRUE(panel.button(kIdReportCoverage)->isEnabled());

    // The power under the pointer, in the middle of the analysed area.
    const CBox& box = Doc().AnalysisBox;
    const QSize client = View().ClientSize();
    const QPoint inside = HitPixel(Doc(), box.minX + box.extentX / 2, box.minY + box.extentY / 2,
                                   client.width(), client.height());
    MoveTo(inside);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^Power = +-?\\d+\\.\\d dBm$")).match(Pane(2)).hasMatch())
        << Pane(2).toStdString();

    // The ruler: the distance while dragging, the dialog at the end.
    Trigger("measureDistance");
    EXPECT_TRUE(Act("measureDistance")->isChecked());
    QTest::mousePress(&View(), Qt::LeftButton, {}, inside);
    MoveTo(inside + QPoint(60, 0));
    EXPECT_TRUE(Pane(3).startsWith(QStringLiteral("d = "))) << Pane(3).toStdString();
    EXPECT_TRUE(Pane(3).endsWith(QStringLiteral(" Ft")));
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, inside + QPoint(60, 0));
    ASSERT_EQ(dialogs.rulerShown.size(), 1u);
    EXPECT_FALSE(Act("measureDistance")->isChecked()) << "one measure per mode";

    // The report, written on the worker and opened.
    test::ShowPage(panel, kPageReports);
    holding.QueuePath(dir.File("study.html"));
    ClickAt(panel, Button(90, 298)); // "Genereate Report"
    host.waitForWorker();
    EXPECT_TRUE(std::filesystem::exists(dir.File("study.html")));
    EXPECT_EQ(holding.opened, std::vector<std::string>{dir.File("study.html")});

    // Saved under a name: the title says so and nothing is unsaved.
    holding.QueuePath(dir.File("study"));
    frame->activateWindow(); // from the progress window, which had no parent here
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(frame.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Title(), "study.tws - TarvoAnalyzer");
    panel.repaint(); // the panel names the study "KDR" whenever it paints
    EXPECT_EQ(Title(), "KDR - TarvoAnalyzer");

    // A new study, then the saved one opened again: as it was left.
    Trigger("fileNew");
    EXPECT_FALSE(host.isModified());
    EXPECT_EQ(Enabled(), "000000000000000");
    EXPECT_EQ(panel.apTree()->topLevelItemCount(), 0);
    holding.QueuePath(dir.File("study.tws"));
    Trigger("fileOpen");
    EXPECT_EQ(Title(), "study.tws - TarvoAnalyzer");
    EXPECT_EQ(frame->RecentFiles().Files().size(), 1);
    EXPECT_EQ(panel.page(), kPageReports);
    EXPECT_EQ(Enabled(), "111111101111011");
    test::ShowPage(panel, kPageDataStudy);
    EXPECT_EQ(Check(kIdPlotCoverage), 1);
    EXPECT_EQ(panel.apTree()->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(host.heldAccesses(), 0);
}

} // namespace
} // namespace tarvo
