#pragma once
// The report's account of how accurate its maps are: a section with the
// cross-validation figures of the whole study, and per-AP cells for the
// access point table. HTML fragments in the report's own style.

#include "analysis/CrossValidation.h"
#include "model/Document.h"

#include <string>

namespace tarvo {

// "How accurate are these maps": what was compared, the study's figures in
// a one-row table, and how to read them.
std::string AccuracySectionHtml(const CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc);

// The header cells the access point table gains, and the cells of AP
// apIndex (dashes for an AP that took no part).
std::string AccuracyHeaderCells();
std::string AccuracyApCells(const CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc,
                            int apIndex);

} // namespace tarvo
