#include "analysis/ApGridLimit.h"

#include "analysis/Estimation.h"

#include <algorithm>

namespace tarvo {

std::int64_t StudySampleCount(const CTarvoAnalyzerDoc& doc) {
    std::int64_t samples = 0;
    for (const CAPInfo& ap : doc.aps)
        samples += ap.samples.GetSize();
    return samples;
}

std::size_t ApMatrixCellLimit(std::int64_t apSamples, std::int64_t studySamples) {
    constexpr std::int64_t kSmallest = std::int64_t{kShortSideGridPoints} * kShortSideGridPoints;
    if (apSamples <= 0 || studySamples <= 0)
        return kSmallest;
    const std::int64_t budget = std::max(kStudyMatrixCells, kMatrixCellsPerSample * studySamples);
    // apSamples <= studySamples, so the share is at most the budget; the
    // product stays far inside 64 bits for any file that can be read.
    const std::int64_t share =
        budget / studySamples * apSamples + budget % studySamples * apSamples / studySamples;
    return static_cast<std::size_t>(std::max(share, kSmallest));
}

void LimitApGridToSamples(std::int64_t studySamples, CAPInfo& ap) {
    const std::size_t cells = ApMatrixCellLimit(ap.samples.GetSize(), studySamples);
    const std::size_t longest =
        std::max<std::size_t>(cells / kShortSideGridPoints, kShortSideGridPoints);
    const int limit = static_cast<int>(std::min<std::size_t>(longest, kMaxGridPointsPerAxis));
    ap.rows = std::min(ap.rows, limit);
    ap.columns = std::min(ap.columns, limit);
}

} // namespace tarvo
