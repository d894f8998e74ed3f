#pragma once
// The HTML of the report's sections beyond the "Reports" page: the summary
// of the coverage requirements at the top, and a picture of each survey
// view with its legend, written in the style of the strength section.

#include "analysis/Requirements.h"
#include "model/Document.h"
#include "model/UiServices.h"

#include <QImage>

#include <functional>
#include <string>
#include <vector>

namespace tarvo {

// The requirement table with one row per requirement and the overall
// verdict under it. Worst places are converted through ui.
std::string RequirementSummaryHtml(const CTarvoAnalyzerDoc& doc,
                                   const std::vector<CRequirementResult>& results, IUiServices& ui);

// Saves a picture of the report and returns its link.
using SaveReportPicture = std::function<std::string(const QImage& image)>;

// One survey view: its heading, the picture (already rendered), a caption
// and the legend: label cells over blended swatches for the band views, a
// swatch and a name per AP (or group) for the strongest-AP view.
std::string SurveyViewHtml(const CTarvoAnalyzerDoc& doc, int displayType, const QImage& picture,
                           const SaveReportPicture& save);

} // namespace tarvo
