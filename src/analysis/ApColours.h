#pragma once
// Colours of an AP's own contours: the base colour the colour mode gives
// it, and the ten level colours drawn from that base.

#include "model/Document.h"

#include <array>

namespace tarvo {

// The contour base colour of AP apIndex under doc.coverageMode: 0 the AP's
// own colour, 1 the colour of the last group in doc.activeGroups holding
// the AP's MAC (black when none), 2 doc.commonColour; other modes as 0.
ColourRef ApContourColour(const CTarvoAnalyzerDoc& doc, int apIndex);

// The ten level colours of an AP drawn from base colour `base`, each
// channel scaled by a factor and truncated: white at level 0 fading to
// `base` at level 5, then darkening to 52 % of it at 9.
std::array<ColourRef, kCoverageLevels> ApLevelColours(ColourRef base);

} // namespace tarvo
