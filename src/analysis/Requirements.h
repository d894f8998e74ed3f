#pragma once
// Coverage requirements of an acceptance check: "the strongest (or the
// second-strongest) signal is at or above LEVEL dBm on at least AREA % of
// the analysis box", judged on the site-wide coverage.

#include "analysis/SiteViews.h"
#include "model/Document.h"
#include "model/UiServices.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

constexpr double kDefaultRequiredAreaPercent = 95.0;

struct CRequirement {
    bool secondary = false; // the second-strongest signal (roaming) instead of the strongest
    double levelDbm = -90.0;
    double areaPercent = kDefaultRequiredAreaPercent;
};

// "LEVEL" or "LEVEL:AREA" with an optional '%' ("-67", "-75:90", "-75:90%"):
// LEVEL in dBm within -200..50, AREA in percent within 0..100 (default 95).
// Nothing for any other text.
std::optional<CRequirement> ParseRequirement(std::string_view text, bool secondary);

// The requirement a study gets when none is asked for: the strongest signal
// at or above PowerLow on 95 % of the box.
CRequirement DefaultRequirement(const CTarvoAnalyzerDoc& doc);

struct CRequirementResult {
    CRequirement requirement;
    bool judged = false;       // false: no coverage to judge by (the requirement fails)
    double sharePercent = 0.0; // of the analysis box at or above the level
    double worstDbm = 0.0;     // the weakest level over the grid
    double worstY = 0.0;       // where it is (the first such grid point), site metres
    double worstX = 0.0;
    bool passed = false; // judged and sharePercent >= areaPercent
};

// Judges one requirement on doc's StrengthMatrix, or on levels.secondary for
// a secondary one. Not judged without coverage (or without levels for a
// secondary requirement).
CRequirementResult JudgeRequirement(const CTarvoAnalyzerDoc& doc, const CRequirement& requirement,
                                    const CSiteApLevels& levels);

// Judges every requirement; levels are computed only when a secondary one
// is asked for (with doc.coChannelLevelDbm, on `threads` threads).
std::vector<CRequirementResult> JudgeRequirements(const CTarvoAnalyzerDoc& doc,
                                                  const std::vector<CRequirement>& requirements,
                                                  unsigned threads = 0);

bool AllPassed(const std::vector<CRequirementResult>& results);

// A judged requirement in words, the same in the reports and the tool.
struct CRequirementTexts {
    std::string signal;   // "strongest" or "second-strongest"
    std::string level;    // "-90 dBm"
    std::string area;     // "95.0 %": the share required
    std::string achieved; // "99.3 %", or "-" when not judged
    std::string worst;    // "-92.1 dBm at Y 3.20 m, X 10.00 m" (lat/lon for GPS studies)
    std::string verdict;  // "PASS", "FAIL", or "FAIL (no coverage)"
};
// Positions in the study's units (metres or feet), or as latitude and
// longitude for a GPS study; conversion messages go to ui.
CRequirementTexts RequirementTexts(const CTarvoAnalyzerDoc& doc, const CRequirementResult& result,
                                   IUiServices& ui);

// "strongest signal at or above -90 dBm on 95.0 % of the box: 99.3 %, worst
// -92.1 dBm at Y 3.20 m, X 10.00 m: PASS".
std::string RequirementLine(const CRequirementTexts& texts);

// Share (0..1) of the analysis box where a coverage-grid matrix is at or
// above level: the area of its band at that level (the band polygons of the
// coverage view) over the box's area. On a grid without cells (fewer than
// two points along an axis), or a box without area, the share of grid
// points. 0 when the matrix does not match the grid.
double ShareOfBoxAtOrAbove(const CTarvoAnalyzerDoc& doc, std::span<const double> matrix,
                           double level);

// Share (0..1) of the analysis box within radiusM of site (y, x), from the
// centres of a 200 x 200 partition of the box; 0 for a box without area.
double ShareOfBoxWithin(const CBox& box, double y, double x, double radiusM);

} // namespace tarvo
