#pragma once
// Contour lines and filled bands for drawing: of the site-wide strength and
// AP-count matrices, and of one AP's own matrix, each at ten levels.

#include "analysis/ApColours.h"
#include "model/Document.h"

namespace tarvo {

// Traces the ten strength levels PowerLow + k (PowerHigh - PowerLow) / 10
// and the ten AP-count levels 1.0 + 0.9 k into coverageDrawings[0] and [2]
// with their per-level counts in coverageTables[0..1] and [4..5] (segments,
// then polygons); the margin drawing stays empty. Nothing when
// coveragePresent is clear or the matrices do not match the grid counts.
void ComputeCoverageContours(CTarvoAnalyzerDoc& doc);

// Traces AP apIndex's own matrix at the ten strength levels into its lines,
// areas, table1 (segments per level) and table2 (polygons per level), and
// sets table3 to ApLevelColours(base). A matrix that does not match the
// AP's rows x columns gives no contours. Throws std::invalid_argument for a
// bad index.
void ComputeApContours(CTarvoAnalyzerDoc& doc, int apIndex, ColourRef base);

} // namespace tarvo
