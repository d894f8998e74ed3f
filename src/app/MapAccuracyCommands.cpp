#include "app/MapAccuracyCommands.h"

#include "analysis/AccuracyText.h"
#include "analysis/CoverageModels.h"
#include "analysis/CrossValidation.h"
#include "app/DialogMapAccuracy.h"
#include "mapview/DocumentHost.h"

#include <QAction>
#include <QActionGroup>

#include <memory>

namespace tarvo {

namespace {

bool HasApMatrices(const CTarvoAnalyzerDoc& doc) {
    for (const CAPInfo& ap : doc.aps)
        if (!ap.matrix.IsEmpty())
            return true;
    return false;
}

// The dialog's texts: every column but the position error, which needs the
// true positions the desktop program does not have.
CMapAccuracyText DialogText(const CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc) {
    CMapAccuracyText text;
    text.setting = AccuracySetting(accuracy, doc);
    text.explanation = AccuracyExplanation(doc);
    text.columns = AccuracyColumnTitles();
    text.columns.pop_back();
    for (const CAccuracyRow& r : AccuracyRows(accuracy, doc, doc.UseFeet))
        text.rows.push_back(
            {r.mac, r.name, r.pairs, r.inside, r.rmse, r.mae, r.median, r.bias, r.falseCoverage});
    return text;
}

} // namespace

CMapAccuracyCommands::CMapAccuracyCommands(CDocumentHost& host, QAction* studyModel,
                                           QAction* surveyModel, QAction* evaluate, QWidget* window)
    : QObject(window), host_(host), studyModel_(studyModel), surveyModel_(surveyModel),
      evaluate_(evaluate), window_(window) {
    auto* group = new QActionGroup(this);
    group->addAction(studyModel_);
    group->addAction(surveyModel_);
    connect(studyModel_, &QAction::triggered, this,
            [this] { ChooseModel(CoverageModelKind::Study); });
    connect(surveyModel_, &QAction::triggered, this,
            [this] { ChooseModel(CoverageModelKind::Survey); });
    connect(evaluate_, &QAction::triggered, this, &CMapAccuracyCommands::Evaluate);
    connect(&host_, &CDocumentHost::documentChanged, this, &CMapAccuracyCommands::Refresh);
    connect(&host_, &CDocumentHost::busyChanged, this, &CMapAccuracyCommands::Refresh);
    Refresh();
}

void CMapAccuracyCommands::Refresh() {
    // While a worker holds the document the checks keep what they showed
    // when it started; only the enables change.
    if (host_.isBusy()) {
        studyModel_->setEnabled(false);
        surveyModel_->setEnabled(false);
        evaluate_->setEnabled(false);
        return;
    }
    const CTarvoAnalyzerDoc& doc = host_.doc();
    studyModel_->setChecked(doc.coverageModel == CoverageModelKind::Study);
    surveyModel_->setChecked(doc.coverageModel == CoverageModelKind::Survey);
    studyModel_->setEnabled(true);
    surveyModel_->setEnabled(true);
    evaluate_->setEnabled(doc.processed && HasApMatrices(doc));
}

void CMapAccuracyCommands::ChooseModel(CoverageModelKind model) {
    if (host_.isBusy()) {
        Refresh();
        return;
    }
    CTarvoAnalyzerDoc& doc = host_.doc();
    if (doc.coverageModel == model) {
        Refresh();
        return;
    }
    if (!HasApMatrices(doc)) {
        CNullProgress quiet;
        UseCoverageModel(doc, model, quiet);
        // A study without survey files has nothing worth saving yet.
        if (!doc.files.IsEmpty())
            host_.setModified(true);
        host_.notify(kChangeSettings);
        return;
    }
    const bool started = host_.runWorker(
        [this, model] {
            IProgress& progress = host_.ui().Progress();
            progress.SetPosition(0);
            progress.ClearCancelled();
            progress.Show();
            UseCoverageModel(host_.doc(), model, progress);
            progress.SetPosition(100);
            progress.Hide();
        },
        [this](WorkerStatus, const std::string&) {
            host_.setModified(true);
            host_.notify(kChangeAps | kChangeCoverage | kChangeView | kChangeSettings);
        });
    if (!started)
        Refresh();
}

void CMapAccuracyCommands::Evaluate() {
    if (host_.isBusy() || !HasApMatrices(host_.doc()))
        return;
    auto result = std::make_shared<CStudyAccuracy>();
    host_.runWorker(
        [this, result] {
            IProgress& progress = host_.ui().Progress();
            progress.SetPosition(0);
            progress.ClearCancelled();
            progress.Show();
            try {
                *result = EvaluateStudy(host_.doc(), {}, progress);
            } catch (const CCancelException&) {
                progress.Hide();
                throw;
            }
            progress.Hide();
        },
        [this, result](WorkerStatus status, const std::string& error) {
            if (status == WorkerStatus::Failed) {
                host_.ui().MessageBox(error, "Error", MsgIcon::Error);
                return;
            }
            if (status != WorkerStatus::Completed)
                return;
            if (result->aps.empty()) {
                host_.ui().MessageBox("No AP's samples could be tied to the study's locations.",
                                      "Map Accuracy", MsgIcon::Information);
                return;
            }
            if (dialog_)
                dialog_->close();
            dialog_ = new CDialogMapAccuracy(window_, DialogText(*result, host_.doc()));
            dialog_->setAttribute(Qt::WA_DeleteOnClose);
            dialog_->show();
        });
}

} // namespace tarvo
