#include "panel/StudyRunner.h"

#include "export/StudyReport.h"
#include "mapview/DocumentHost.h"

#include <memory>

namespace tarvo {

namespace {

constexpr unsigned kLoadedChanges =
    kChangeFiles | kChangeAps | kChangeCoverage | kChangeView | kChangeSettings;

// A load that ended early leaves the study as it was, except for the files
// it could not read, which it deselected. True when there were any.
bool TakeDeselectedFiles(CTarvoAnalyzerDoc& doc, const CTarvoAnalyzerDoc& loaded) {
    bool changed = false;
    for (int i = 0; i < doc.files.GetSize() && i < loaded.files.GetSize(); ++i) {
        if (doc.files[i].selected != loaded.files[i].selected) {
            doc.files[i].selected = loaded.files[i].selected;
            changed = true;
        }
    }
    return changed;
}

} // namespace

bool CStudyRunner::Run(std::function<void()> operation,
                       std::function<void(bool completed)> report) {
    return host_.runWorker(
        std::move(operation),
        [this, report = std::move(report)](WorkerStatus status, const std::string& error) {
            if (status == WorkerStatus::Failed)
                host_.ui().MessageBox(error, "Error", MsgIcon::Error);
            report(status == WorkerStatus::Completed);
        });
}

bool CStudyRunner::Load(std::function<void(LoadOutcome)> finished) {
    if (host_.isBusy())
        return false;
    // The collection is loaded into a copy, and the study takes the result
    // only once the load has completed: a cancel or a failure leaves the
    // study as it was, and the worker never writes what the window shows.
    host_.settle();
    auto work = std::make_shared<CTarvoAnalyzerDoc>(StudyForLoading(host_.doc()));
    work->estimator = host_.estimatorChoice();
    auto outcome = std::make_shared<LoadOutcome>(LoadOutcome::NotLoaded);
    IUiServices* ui = &host_.ui();
    return Run([work, outcome, ui] { *outcome = LoadCollection(*work, *ui); },
               [this, work, outcome, ui, finished = std::move(finished)](bool completed) {
                   // A Cancel pressed after the last AP still cancels.
                   const bool cancelled = ui->Progress().IsCancelled();
                   if (!completed || cancelled)
                       return;
                   CTarvoAnalyzerDoc& doc = host_.doc();
                   if (*outcome == LoadOutcome::Loaded) {
                       doc = std::move(*work);
                   } else if (!TakeDeselectedFiles(doc, *work)) {
                       return; // refused: the study is as it was
                   }
                   if (finished)
                       finished(*outcome);
                   host_.setModified(true);
                   host_.notify(*outcome == LoadOutcome::Loaded ? kLoadedChanges : kChangeFiles);
               });
}

bool CStudyRunner::PlotCoverage(std::function<void(CoverageOutcome)> finished) {
    auto outcome = std::make_shared<CoverageOutcome>(CoverageOutcome::Cancelled);
    return Run([this, outcome] { *outcome = ProcessCoverage(host_.doc(), host_.ui()); },
               [this, outcome, finished = std::move(finished)](bool completed) {
                   const CoverageOutcome result = completed ? *outcome : CoverageOutcome::Cancelled;
                   // Every outcome changes the coverage flag; the question
                   // about short APs may have deselected some.
                   if (finished)
                       finished(result);
                   host_.setModified(true);
                   host_.notify(kChangeAps | kChangeCoverage | kChangeView);
               });
}

bool CStudyRunner::WriteReport(const std::string& path, std::function<void()> finished) {
    if (host_.isBusy())
        return false;
    CTarvoAnalyzerDoc& doc = host_.doc();
    CReportRequest request;
    request.path = path;
    request.options = doc.panel.report;
    // The pictures of the report fit the view to their 800 x 600 frame;
    // the window's own view (box, zoom, scroll) comes back afterwards.
    const CBox window = doc.ViewWindow;
    const CBox analysis = doc.AnalysisBox;
    const CMapViewState view = doc.view;
    return Run([this, request] { WriteStudyReport(host_.doc(), request, host_.ui()); },
               [this, window, analysis, view, finished = std::move(finished)](bool) {
                   // It also refits the reliability radii and per-AP
                   // contours it shows.
                   CTarvoAnalyzerDoc& shown = host_.doc();
                   shown.ViewWindow = window;
                   shown.AnalysisBox = analysis;
                   shown.view = view;
                   if (finished)
                       finished();
                   host_.notify(kChangeAps | kChangeView);
               });
}

bool CStudyRunner::WritePdfReport(const std::string& path, ReportPage page,
                                  std::function<void()> finished) {
    CReportRequest request;
    request.path = path;
    request.options = host_.doc().panel.report;
    const CBox window = host_.doc().ViewWindow;
    return Run(
        [this, request, page] { tarvo::WritePdfReport(host_.doc(), request, page, host_.ui()); },
        [this, window, finished = std::move(finished)](bool) {
            host_.doc().ViewWindow = window;
            if (finished)
                finished();
            host_.notify(kChangeAps | kChangeView);
        });
}

} // namespace tarvo
