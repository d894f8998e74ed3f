#pragma once
// The study report as one PDF file to hand over: a first page with the
// study, its files and methods and the verdict on its coverage
// requirements; then the pictures of the HTML report at the page's width
// with their legends and axis units, the reliability of each AP's coverage
// as a table, the requested survey views, and the tables of the APs, the
// marked APs and the interference sources. The sections follow the same
// "Reports" options as the HTML report.
//
// Thread: as WriteStudyReport.

#include "export/StudyReport.h"

namespace tarvo {

enum class ReportPage { A4, Letter };

// Letter where the user's locale measures in US units, A4 elsewhere.
ReportPage DefaultReportPage();

// Writes the report to request.path (replacing an earlier file only once
// the new one is complete) and opens it when request.open. The requirement
// results of request.extras are shown on the first page (none judged: the
// verdict says so); request.extras.views are pictured; pictures are not
// written beside it. Progress and cancel through ui.Progress(): a cancelled
// report writes nothing and gives Failed without a message.
ReportResult WritePdfReport(CTarvoAnalyzerDoc& doc, const CReportRequest& request, ReportPage page,
                            IUiServices& ui, const ReportRenderer& render = {});

} // namespace tarvo
