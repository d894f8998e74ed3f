#include "analysis/CoverageContours.h"

#include "analysis/Contours.h"
#include "analysis/Grid.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tarvo {

namespace {

// Level k of ten between PowerLow and PowerHigh, in doubles (no integer
// overflow whatever the settings hold).
double StrengthLevel(const CTarvoAnalyzerDoc& doc, int k) {
    return doc.PowerLow +
           k * (static_cast<double>(doc.PowerHigh) - static_cast<double>(doc.PowerLow)) / 10;
}

// Traces ten levels of one matrix; fills the drawing and the two count
// tables (segments, polygons). The working arrays end empty.
template <typename LevelOf>
void TraceTenLevels(CTarvoAnalyzerDoc& doc, std::span<const double> matrix, int rows, int cols,
                    std::span<const double> x, std::span<const double> y, LevelOf levelOf,
                    CArray<CDataLine>& lines, CArray<CDataArea>& areas,
                    std::array<std::int32_t, kCoverageLevels>& lineCounts,
                    std::array<std::int32_t, kCoverageLevels>& areaCounts) {
    doc.workLines.RemoveAll();
    doc.workAreas.RemoveAll();
    for (int k = 0; k < kCoverageLevels; ++k) {
        const double level = levelOf(k);
        lineCounts[static_cast<std::size_t>(k)] =
            TraceContourLines(matrix, rows, cols, x, y, level, doc.workLines);
        areaCounts[static_cast<std::size_t>(k)] =
            TraceContourBands(matrix, rows, cols, x, y, level, doc.workAreas);
    }
    lines = doc.workLines;
    areas = doc.workAreas;
    doc.workLines.RemoveAll();
    doc.workAreas.RemoveAll();
}

} // namespace

void ComputeCoverageContours(CTarvoAnalyzerDoc& doc) {
    if (!doc.coveragePresent)
        return;
    for (CCoverageDrawing& d : doc.coverageDrawings) {
        d.areas.RemoveAll();
        d.lines.RemoveAll();
    }
    doc.coverageTables = {};
    const int rows = doc.CoverageRows, cols = doc.CoverageCols;
    if (!MatchesGrid(doc.StrengthMatrix.size(), rows, cols) ||
        !MatchesGrid(doc.ApCountMatrix.size(), rows, cols))
        return;
    const CBox& box = doc.AnalysisBox;
    const std::vector<double> x = GridAxis(box.minX, box.extentX, rows);
    const std::vector<double> y = GridAxis(box.minY, box.extentY, cols);

    TraceTenLevels(
        doc, doc.StrengthMatrix.Vector(), rows, cols, x, y,
        [&](int k) { return StrengthLevel(doc, k); }, doc.coverageDrawings[0].lines,
        doc.coverageDrawings[0].areas, doc.coverageTables[0], doc.coverageTables[1]);
    TraceTenLevels(
        doc, doc.ApCountMatrix.Vector(), rows, cols, x, y, [](int k) { return 1.0 + 0.9 * k; },
        doc.coverageDrawings[2].lines, doc.coverageDrawings[2].areas, doc.coverageTables[4],
        doc.coverageTables[5]);
}

void ComputeApContours(CTarvoAnalyzerDoc& doc, int apIndex, ColourRef base) {
    CAPInfo& ap = doc.aps[apIndex];
    const auto colours = ApLevelColours(base);
    for (int k = 0; k < kCoverageLevels; ++k)
        ap.table3[static_cast<std::size_t>(k)] =
            static_cast<std::int32_t>(colours[static_cast<std::size_t>(k)]);

    std::vector<double> x, y;
    if (MatchesGrid(ap.matrix.size(), ap.rows, ap.columns)) {
        x = GridAxis(ap.origin[1], ap.extent[1], ap.rows);
        y = GridAxis(ap.origin[0], ap.extent[0], ap.columns);
    }
    TraceTenLevels(
        doc, ap.matrix.Vector(), ap.rows, ap.columns, x, y,
        [&](int k) { return StrengthLevel(doc, k); }, ap.lines, ap.areas, ap.table1, ap.table2);
}

} // namespace tarvo
