#pragma once
// How many grid points an AP matrix may have. The shorter side of the
// sample box gets 20 points and the longer side as many at the same
// spacing: for a thin box thousands, whatever few samples the AP has. The
// AP matrices of a study therefore share a budget that grows with the
// study's samples, and each AP may use the share its own samples give it.
// No ordinary study comes near the budget, so its grids are as computed;
// a hostile one (thousands of APs heard at a few locations along a line)
// keeps memory in proportion to the file instead of to APs x box aspect.

#include "model/Document.h"

#include <cstddef>
#include <cstdint>

namespace tarvo {

// Matrix elements every study may use in all (16 MiB of doubles), and the
// elements each sample adds beyond that.
constexpr std::int64_t kStudyMatrixCells = std::int64_t{1} << 21;
constexpr std::int64_t kMatrixCellsPerSample = 64;

// Samples of all APs of the study.
std::int64_t StudySampleCount(const CTarvoAnalyzerDoc& doc);

// Most elements the matrix of an AP with apSamples samples may hold in a
// study of studySamples samples: its share of max(kStudyMatrixCells,
// kMatrixCellsPerSample x studySamples) by samples, and never less than the
// 20 x 20 of a box without a longer side.
std::size_t ApMatrixCellLimit(std::int64_t apSamples, std::int64_t studySamples);

// Holds the longer side of the AP's grid (ap.rows or ap.columns) to what its
// cell limit in a study of studySamples samples allows; the shorter side
// keeps its 20 points.
void LimitApGridToSamples(std::int64_t studySamples, CAPInfo& ap);

} // namespace tarvo
