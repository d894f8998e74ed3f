// The View menu's map commands as the user meets them: the coverage model
// is the study's own (checked as the document has it, kept in the
// workspace, its maps rebuilt on the worker), and the evaluation runs on
// the worker with the progress window and ends in a dialog of figures.

#include "FrameFixture.h"
#include "formats/WorkspaceCommands.h"
#include "model/Text.h"

#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>

#include <algorithm>
#include <vector>

namespace tarvo {
namespace {

using test::FrameTest;

std::vector<std::vector<double>> Matrices(const CTarvoAnalyzerDoc& doc) {
    std::vector<std::vector<double>> matrices;
    for (const CAPInfo& ap : doc.aps)
        matrices.push_back(ap.matrix.Vector());
    return matrices;
}

bool Shown(const test::CFakeUi& ui, const std::string& text) {
    const std::vector<std::string> texts = ui.progress.Texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_F(FrameTest, CoverageModelIsTheStudysOwnAndRemakesItsMaps) {
    const QMenu* view = frame->menuBar()->actions()[1]->menu();
    const auto* models = view->findChild<QMenu*>(QStringLiteral("coverageModelMenu"));
    ASSERT_NE(models, nullptr);
    ASSERT_EQ(models->actions().size(), 2);
    EXPECT_EQ(models->actions()[0]->text(), "Study Model");
    EXPECT_EQ(models->actions()[1]->text(), "Survey Model");
    EXPECT_EQ(models->title(), "Coverage Model");

    Load("office");
    const std::vector<std::vector<double>> studyMaps = Matrices(Doc());
    EXPECT_TRUE(Act("coverageStudy")->isChecked());
    EXPECT_FALSE(Act("coverageSurvey")->isChecked());

    Trigger("coverageSurvey");
    host.waitForWorker();
    EXPECT_EQ(Doc().coverageModel, CoverageModelKind::Survey);
    EXPECT_EQ(Doc().spareText2, "coverage=survey");
    EXPECT_NE(Matrices(Doc()), studyMaps);
    EXPECT_TRUE(Shown(ui, "Re-Calculating..."));
    EXPECT_FALSE(ui.progress.Visible());
    EXPECT_TRUE(Act("coverageSurvey")->isChecked());
    EXPECT_TRUE(host.isModified());

    // Kept in the workspace: a new study starts with the study model, the
    // reopened one has the survey model checked again.
    const std::string path = dir.File("survey.tws");
    ASSERT_TRUE(SaveWorkspaceFile(Doc(), path, ui));
    const std::vector<std::vector<double>> surveyMaps = Matrices(Doc());
    host.setModified(false);
    Trigger("fileNew");
    EXPECT_TRUE(Act("coverageStudy")->isChecked());
    ASSERT_TRUE(frame->OpenWorkspace(QString::fromStdString(path)));
    EXPECT_TRUE(Act("coverageSurvey")->isChecked());
    EXPECT_EQ(Matrices(Doc()), surveyMaps);

    // Back to the study model: exactly the maps processing made.
    Trigger("coverageStudy");
    host.waitForWorker();
    EXPECT_EQ(Doc().coverageModel, CoverageModelKind::Study);
    EXPECT_EQ(Doc().spareText2, "");
    EXPECT_EQ(Matrices(Doc()), studyMaps);
}

TEST_F(FrameTest, EvaluationRunsOnTheWorkerAndShowsItsFiguresInADialog) {
    EXPECT_FALSE(Act("evaluateMaps")->isEnabled()) << "nothing to evaluate yet";
    Load("office");
    ASSERT_TRUE(Act("evaluateMaps")->isEnabled());
    ui.progress.CancelAtText("Evaluating the maps: fold 3 of 5...");
    Trigger("evaluateMaps");
    EXPECT_FALSE(Act("evaluateMaps")->isEnabled()) << "disabled while the worker runs";
    EXPECT_FALSE(Act("coverageSurvey")->isEnabled());
    host.waitForWorker();
    EXPECT_EQ(frame->findChild<QDialog*>(QStringLiteral("mapAccuracyDialog")), nullptr)
        << "a cancelled evaluation shows nothing";
    EXPECT_FALSE(ui.progress.Visible());

    ui.progress.CancelAtText("never");
    Trigger("evaluateMaps");
    host.waitForWorker();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Shown(ui, "Evaluating the maps: fold 5 of 5..."));
    EXPECT_FALSE(ui.progress.Visible());
    auto* dialog = frame->findChild<QDialog*>(QStringLiteral("mapAccuracyDialog"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Map Accuracy");
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("setting"))->text(),
              QString::fromStdString(
                  "5 block folds over " + std::to_string(Doc().points.GetSize()) +
                  " locations; positions by the study estimator, maps by the study coverage "
                  "model."));

    const auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("figures"));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columnCount(), 9);
    EXPECT_EQ(table->horizontalHeaderItem(4)->text(), "RMSE (dB)");
    EXPECT_EQ(table->horizontalHeaderItem(8)->text(), "False coverage");
    ASSERT_EQ(table->rowCount(), Doc().aps.GetSize() + 1) << "the study, then every AP";
    EXPECT_EQ(table->item(0, 1)->text(), "All APs");
    EXPECT_EQ(table->item(1, 0)->text().toStdString(), MacText(Doc().aps[0].bssid));
    bool number = false;
    const double rmse = table->item(0, 4)->text().toDouble(&number);
    EXPECT_TRUE(number);
    // The office sample's signals scatter by 3 to 6 dB around their model.
    EXPECT_GT(rmse, 2.0);
    EXPECT_LT(rmse, 9.0);
    EXPECT_FALSE(host.isModified()) << "evaluating changes nothing";

    // A second evaluation replaces the dialog rather than adding one.
    Trigger("evaluateMaps");
    host.waitForWorker();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame->findChildren<QDialog*>(QStringLiteral("mapAccuracyDialog")).size(), 1);
}

} // namespace
} // namespace tarvo
