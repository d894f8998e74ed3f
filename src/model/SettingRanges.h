#pragma once
// The valid range of every document setting that a workspace carries and
// the drawing or the analysis depends on. A workspace is brought into these
// ranges when it is read, so a damaged or hostile file cannot make a
// drawing loop run for hours or a band index leave its table.

#include "model/Document.h"

namespace tarvo {

constexpr int kMinGridLines = 3;
constexpr int kMaxGridLines = 10;
constexpr int kMinPathWidth = 1;
constexpr int kMaxPathWidth = 3;
constexpr int kMaxCoverageOpacity = 255;
// Power levels a study can be analysed with, dBm.
constexpr int kLowestPowerDbm = -200;
constexpr int kHighestPowerDbm = 50;
// Colour modes (doc.coverageMode): 0 each AP, 1 its group, 2 one colour.
constexpr int kColourModeCount = 3;
// Pages of the control panel: "Files", "Data Study", "Reports".
constexpr int kPanelPageCount = 3;

// Clamps the grid line count, path width, coverage opacity and power levels
// into their ranges (a power range whose ends cross gets the defaults back);
// an unknown colour mode, display type or panel page becomes the first one;
// a resolution that is negative or not finite becomes 0 (not yet chosen).
void BringSettingsIntoRange(CTarvoAnalyzerDoc& doc);

} // namespace tarvo
