#include "panel/StudyRunner.h"

#include "export/StudyReport.h"
#include "mapview/DocumentHost.h"

#include <memory>

namespace tarvo {

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
    auto outcome = std::make_shared<LoadOutcome>(LoadOutcome::NotLoaded);
    return Run(
        [this, outcome, estimator = host_.estimatorChoice()] {
            host_.doc().estimator = estimator;
            *outcome = LoadCollection(host_.doc(), host_.ui());
        },
        [this, outcome, finished = std::move(finished)](bool completed) {
            const LoadOutcome result = completed ? *outcome : LoadOutcome::NotLoaded;
            // A load that ended early may still have deselected files
            // it could not read.
            if (finished)
                finished(result);
            host_.setModified(true);
            host_.notify(
                result == LoadOutcome::Loaded
                    ? (kChangeFiles | kChangeAps | kChangeCoverage | kChangeView | kChangeSettings)
                    : kChangeFiles);
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
    CReportRequest request;
    request.path = path;
    request.options = host_.doc().panel.report;
    // The pictures of the report move the view window to their 800 x 600
    // frame; the window's own comes back afterwards.
    const CBox window = host_.doc().ViewWindow;
    return Run([this, request] { WriteStudyReport(host_.doc(), request, host_.ui()); },
               [this, window, finished = std::move(finished)](bool) {
                   // It also refits the reliability radii and per-AP
                   // contours it shows.
                   host_.doc().ViewWindow = window;
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
