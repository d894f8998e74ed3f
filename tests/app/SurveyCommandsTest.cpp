#include "app/SurveyCommands.h"
#include "FrameFixture.h"
#include "analysis/Coverage.h"
#include "app/FrameActions.h"
#include "formats/WorkspaceCommands.h"
#include "model/ApGroups.h"
#include "panel/BitCheckButton.h"
#include "panel/ControlView.h"
#include "panel/PanelLayout.h"
#include "support/TempDir.h"

#include <QMenu>
#include <QMenuBar>

#include <cstdlib>
#include <filesystem>

namespace tarvo {
namespace {

using test::FrameTest;

class SurveyCommandsTest : public FrameTest {
protected:
    // The office study with every AP selected and its site-wide coverage,
    // as "Plot Graph" leaves it.
    void LoadWithCoverage() {
        Load("office");
        AddCoverage();
    }
    void AddCoverage() {
        for (CAPInfo& ap : Doc().aps)
            ap.selected = 1;
        BuildApGroups(Doc());
        ASSERT_EQ(ProcessCoverage(Doc(), ui), CoverageOutcome::Computed);
        host.notify(kChangeAps | kChangeCoverage | kChangeView);
    }
    std::string Checked() {
        std::string pattern;
        for (const char* name : kSurveyViewActions)
            pattern += Act(name)->isChecked() ? '1' : '0';
        return pattern;
    }
    std::string Enabled() {
        std::string pattern;
        for (const char* name : kSurveyViewActions)
            pattern += Act(name)->isEnabled() ? '1' : '0';
        return pattern;
    }
    int PanelCheck(int id) {
        return static_cast<CBitCheckButton*>(frame->Panel()->button(id))->check();
    }
    // With TARVO_TEST_SCREENSHOTS set, the window is kept there as a picture
    // to look at.
    void KeepScreenshot(QWidget& widget, const char* name) {
        if (const char* folder = std::getenv("TARVO_TEST_SCREENSHOTS"))
            widget.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') +
                               QString::fromLatin1(name));
    }
};

TEST_F(SurveyCommandsTest, ViewsNeedCoverageShowOneAtATimeAndFollowThePanel) {
    EXPECT_EQ(Enabled(), "0000") << "nothing loaded";
    Load("office");
    EXPECT_EQ(Enabled(), "0000") << "no site-wide coverage yet";
    Trigger("viewSecondary"); // refused: stays unchecked
    EXPECT_EQ(Doc().coverageDisplayType, kDisplayNone);
    EXPECT_EQ(Checked(), "0000");

    AddCoverage();
    EXPECT_EQ(Enabled(), "1111");
    EXPECT_EQ(Checked(), "0000"); // the strength bands are shown
    host.setModified(false);
    Doc().legendShown = true;
    Trigger("viewCoChannel");
    EXPECT_EQ(Doc().coverageDisplayType, kDisplayCoChannel);
    EXPECT_EQ(Checked(), "0010");
    EXPECT_TRUE(host.isModified());
    EXPECT_EQ(PanelCheck(kIdPlotCoverage), 0); // the panel's analysis group lets go
    Trigger("viewStrongestAp");
    EXPECT_EQ(Checked(), "0001");
    EXPECT_EQ(Doc().coverageDisplayType, kDisplayStrongestAp);
    View().SyncLastViewBitmap();
    KeepScreenshot(*frame, "survey-view-strongest-ap.png");
    auto* menu = frame->menuBar()->findChild<QMenu*>(QString::fromLatin1(kSurveyViewMenu));
    ASSERT_NE(menu, nullptr);
    menu->popup(frame->mapToGlobal(QPoint(60, 30)));
    KeepScreenshot(*menu, "survey-view-menu.png");
    menu->close();
    // The legend at the top right names the view.
    const QImage picture = View().Picture();
    int inked = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = picture.width() - 60; x < picture.width(); ++x)
            inked += picture.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_GT(inked, 20);

    // Chosen again, it is turned off.
    Trigger("viewStrongestAp");
    EXPECT_EQ(Doc().coverageDisplayType, kDisplayNone);
    EXPECT_EQ(Checked(), "0000");

    // A panel analysis button takes over; a survey view gives way to it.
    Trigger("viewSnrMargin");
    emit static_cast<CBitCheckButton*>(frame->Panel()->button(kIdPlotOverlay))->pressed();
    EXPECT_EQ(Doc().coverageDisplayType, kDisplayApCountBands);
    EXPECT_EQ(Checked(), "0000");

    // Coverage dropped (as a new power range drops it): nothing offered.
    Doc().coveragePresent = false;
    Doc().coverageDisplayType = kDisplayNone;
    host.notify(kChangeCoverage);
    EXPECT_EQ(Enabled(), "0000");
}

TEST_F(SurveyCommandsTest, AViewShownIsSavedInTheStudyRecordAndComesBack) {
    LoadWithCoverage();
    Trigger("viewSecondary");
    const std::string path = dir.File("views.tws");
    ASSERT_TRUE(SaveWorkspaceFile(Doc(), path, ui));
    CTarvoAnalyzerDoc reopened;
    ASSERT_TRUE(OpenWorkspaceFile(reopened, path, ui));
    EXPECT_EQ(reopened.coverageDisplayType, kDisplaySecondary);
    ui.QueueAnswer(MsgAnswer::No); // the changes of this study need no saving
    ASSERT_TRUE(frame->OpenWorkspace(QString::fromStdString(path)));
    EXPECT_EQ(Checked(), "0100");
}

TEST_F(SurveyCommandsTest, ReportAsPdfAsksForAFileAndWritesOnePdf) {
    Trigger("fileReportPdf"); // no APs: nothing is asked
    EXPECT_TRUE(ui.choices.empty());

    LoadWithCoverage();
    const std::string chosen = dir.File("handover");
    ui.QueuePath(chosen);
    Trigger("fileReportPdf");
    host.waitForWorker();
    ASSERT_EQ(ui.choices.size(), 1u);
    EXPECT_TRUE(ui.choices[0].save);
    EXPECT_EQ(ui.choices[0].filter, CSurveyCommands::kPdfFilter);
    // A name without an extension gets ".pdf"; no picture folder is made.
    const std::string pdf = chosen + ".pdf";
    EXPECT_EQ(test::ReadText(pdf).substr(0, 5), "%PDF-");
    EXPECT_FALSE(std::filesystem::exists(chosen));
    EXPECT_EQ(ui.opened, std::vector<std::string>{pdf});
    EXPECT_TRUE(ui.messages.empty()) << ui.Said();
}

} // namespace
} // namespace tarvo
