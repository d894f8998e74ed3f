#pragma once
// The panel's three long operations on the document host's worker:
// collection loading, coverage computation and the study report. Each
// shows its progress in the shared progress window; while it runs the
// document is busy and the panel refuses changes. When it ends, on the GUI
// thread, `finished` runs and then every view is told what changed.

#include "analysis/CollectionLoader.h"
#include "analysis/Coverage.h"
#include "export/PdfReport.h"

#include <functional>
#include <string>

namespace tarvo {

class CDocumentHost;

class CStudyRunner {
public:
    explicit CStudyRunner(CDocumentHost& host) : host_(host) {}

    // Each returns false, and starts nothing, while another operation runs.
    // Load places the APs with the host's estimator choice.
    bool Load(std::function<void(LoadOutcome)> finished);
    bool PlotCoverage(std::function<void(CoverageOutcome)> finished);
    bool WriteReport(const std::string& path, std::function<void()> finished);
    // The study report as one PDF file, with the "Reports" page's options.
    bool WritePdfReport(const std::string& path, ReportPage page, std::function<void()> finished);

private:
    // Runs `operation` on the worker; `report` gets true when it completed
    // (false after a cancel or a failure, whose text is shown).
    bool Run(std::function<void()> operation, std::function<void(bool completed)> report);

    CDocumentHost& host_;
};

} // namespace tarvo
