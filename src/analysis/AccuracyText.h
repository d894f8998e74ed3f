#pragma once
// The figures of a map cross-validation as texts, the same in the tool's
// table, the report and the desktop program's dialog.

#include "analysis/CrossValidation.h"
#include "model/Document.h"

#include <string>
#include <vector>

namespace tarvo {

// "block" or "random".
const char* FoldSchemeName(FoldScheme scheme);

// One line of figures: an AP, or the whole study ("All APs").
struct CAccuracyRow {
    std::string mac;  // MAC text; empty for the whole study
    std::string name; // SSID, or "All APs"
    std::string pairs, inside, rmse, mae, median, bias, falseCoverage, positionError;
};

// Column titles of the rows, in field order.
std::vector<std::string> AccuracyColumnTitles();

// The study's row first, then one per AP in AP order. Levels in dB with
// one decimal, shares in per cent with one decimal, position errors in
// metres (feet with useFeet) with one decimal; "-" where a figure has no
// value (no comparisons, no position).
std::vector<CAccuracyRow> AccuracyRows(const CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc,
                                       bool useFeet = false);

// A sentence on what was compared: "5 block folds over 285 locations;
// positions by the study estimator, maps by the survey coverage model."
std::string AccuracySetting(const CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc);

// How to read the figures, in two sentences, with the study's PowerLow.
std::string AccuracyExplanation(const CTarvoAnalyzerDoc& doc);

} // namespace tarvo
