#include "analysis/SiteViews.h"

#include "analysis/ApModel.h"
#include "analysis/Grid.h"
#include "analysis/ParallelRows.h"
#include "analysis/SampleSets.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

// Fractional grid index of coordinate v on an axis of `count` points over
// [min, min + extent]; 0 on an axis with a single point or no extent.
double GridFraction(double v, double min, double extent, int count) {
    if (count <= 1 || !(extent > 0.0))
        return 0.0;
    return std::clamp((v - min) / extent * (count - 1), 0.0, static_cast<double>(count - 1));
}

bool Inside(double v, double min, double extent) {
    return min <= v && v <= min + extent;
}

} // namespace

std::optional<double> ApMatrixValueAt(const CAPInfo& ap, double y, double x) {
    if (!GridCountsAreSane(ap.rows, ap.columns) ||
        !MatchesGrid(ap.matrix.size(), ap.rows, ap.columns))
        return std::nullopt;
    if (!Inside(x, ap.origin[1], ap.extent[1]) || !Inside(y, ap.origin[0], ap.extent[0]))
        return std::nullopt;
    const double fr = GridFraction(x, ap.origin[1], ap.extent[1], ap.rows);
    const double fc = GridFraction(y, ap.origin[0], ap.extent[0], ap.columns);
    const int r0 = static_cast<int>(fr), c0 = static_cast<int>(fc);
    const int r1 = std::min(r0 + 1, ap.rows - 1), c1 = std::min(c0 + 1, ap.columns - 1);
    const double tr = fr - r0, tc = fc - c0;
    const auto at = [&](int r, int c) {
        return ap.matrix
            .Vector()[static_cast<std::size_t>(r) * static_cast<std::size_t>(ap.columns) +
                      static_cast<std::size_t>(c)];
    };
    const double low = at(r0, c0) * (1.0 - tc) + at(r0, c1) * tc;
    const double high = at(r1, c0) * (1.0 - tc) + at(r1, c1) * tc;
    const double value = low * (1.0 - tr) + high * tr;
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

CSiteApLevels ComputeSiteApLevels(const CTarvoAnalyzerDoc& doc, double coChannelLevelDbm,
                                  unsigned threads) {
    CSiteApLevels out;
    const int rows = doc.CoverageRows, cols = doc.CoverageCols;
    if (!doc.coveragePresent || !GridCountsAreSane(rows, cols) ||
        !MatchesGrid(doc.StrengthMatrix.size(), rows, cols))
        return out;
    std::vector<int> aps;
    for (int a = 0; a < doc.aps.GetSize(); ++a)
        if (doc.aps[a].selected && HasCoverageSamples(doc.aps[a]))
            aps.push_back(a);

    const CBox& box = doc.AnalysisBox;
    const std::vector<double> xs = GridAxis(box.minX, box.extentX, rows);
    const std::vector<double> ys = GridAxis(box.minY, box.extentY, cols);
    const std::size_t total = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    out.rows = rows;
    out.cols = cols;
    out.strongestAp.assign(total, -1);
    out.secondary.assign(total, kNoSignalDbm);
    out.coChannel.assign(total, -1);

    RunRowsInParallel(rows, threads, [&]() -> RowWork {
        return [&, heard = std::vector<double>(aps.size())](int i) mutable {
            const double x = xs[static_cast<std::size_t>(i)];
            for (int j = 0; j < cols; ++j) {
                const double y = ys[static_cast<std::size_t>(j)];
                int best = -1, second = -1;
                for (std::size_t k = 0; k < aps.size(); ++k) {
                    const auto value = ApMatrixValueAt(doc.aps[aps[k]], y, x);
                    heard[k] = value ? *value : -HUGE_VAL;
                    if (!value)
                        continue;
                    const int n = static_cast<int>(k);
                    if (best < 0 || heard[k] > heard[static_cast<std::size_t>(best)]) {
                        second = best;
                        best = n;
                    } else if (second < 0 || heard[k] > heard[static_cast<std::size_t>(second)]) {
                        second = n;
                    }
                }
                const std::size_t at =
                    static_cast<std::size_t>(i) * static_cast<std::size_t>(cols) +
                    static_cast<std::size_t>(j);
                if (best < 0)
                    continue;
                const CAPInfo& strongest = doc.aps[aps[static_cast<std::size_t>(best)]];
                out.strongestAp[at] = aps[static_cast<std::size_t>(best)];
                if (second >= 0)
                    out.secondary[at] = std::min(heard[static_cast<std::size_t>(second)],
                                                 doc.StrengthMatrix.Vector()[at]);
                int sharing = 0;
                for (std::size_t k = 0; k < aps.size(); ++k)
                    if (static_cast<int>(k) != best && heard[k] >= coChannelLevelDbm &&
                        doc.aps[aps[k]].channel == strongest.channel)
                        ++sharing;
                out.coChannel[at] = sharing;
            }
        };
    });
    return out;
}

} // namespace tarvo
