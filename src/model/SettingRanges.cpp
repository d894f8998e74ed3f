#include "model/SettingRanges.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

void ResetUnlessBelow(std::int32_t& value, int count) {
    if (value < 0 || value >= count)
        value = 0;
}

} // namespace

void BringSettingsIntoRange(CTarvoAnalyzerDoc& doc) {
    doc.gridLineCount = std::clamp(doc.gridLineCount, kMinGridLines, kMaxGridLines);
    doc.pathWidth = std::clamp(doc.pathWidth, kMinPathWidth, kMaxPathWidth);
    doc.coverageOpacity = std::clamp(doc.coverageOpacity, 0, kMaxCoverageOpacity);
    doc.PowerLow = std::clamp(doc.PowerLow, kLowestPowerDbm, kHighestPowerDbm);
    doc.PowerHigh = std::clamp(doc.PowerHigh, kLowestPowerDbm, kHighestPowerDbm);
    if (doc.PowerLow > doc.PowerHigh) {
        const CTarvoAnalyzerDoc defaults;
        doc.PowerLow = defaults.PowerLow;
        doc.PowerHigh = defaults.PowerHigh;
    }
    ResetUnlessBelow(doc.coverageMode, kColourModeCount);
    ResetUnlessBelow(doc.coverageDisplayType, kDisplayTypeCount);
    ResetUnlessBelow(doc.panel.page, kPanelPageCount);
    if (!std::isfinite(doc.Resolution) || doc.Resolution < 0.0)
        doc.Resolution = 0.0;
}

} // namespace tarvo
