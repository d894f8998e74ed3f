#include "analysis/CoverageGrid.h"

#include "analysis/ApModel.h"
#include "analysis/Grid.h"
#include "analysis/Numerics.h"
#include "analysis/ParallelRows.h"
#include "analysis/SampleIndex.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <utility>

namespace tarvo {

namespace {

constexpr double kNoSignalDbm = -100.0;
constexpr double kApCountOffset = 0.01;

// One selected AP prepared for the grid: its sample box, model, and the
// thinned samples indexed for the nearest-three search.
struct CApModel {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    double positionY = 0, positionX = 0;
    bool mixModel = false;
    double slope = 0, intercept = 0;
    const CAPInfo* matrixOf = nullptr; // the survey model: levels read from its matrix
    std::vector<double> rssi, level2;
    CSampleIndex samples;
};

std::vector<CApModel> PrepareAps(const CTarvoAnalyzerDoc& doc) {
    std::vector<CApModel> models;
    for (const CAPInfo& ap : doc.aps) {
        if (!ap.selected || !HasCoverageSamples(ap))
            continue;
        CApModel m;
        m.minY = ap.origin[0];
        m.minX = ap.origin[1];
        m.maxY = ap.origin[0] + ap.extent[0];
        m.maxX = ap.origin[1] + ap.extent[1];
        m.positionY = ap.position[0];
        m.positionX = ap.position[1];
        m.mixModel = ap.valid != 0;
        m.slope = ap.slope;
        m.intercept = ap.intercept;
        if (doc.coverageModel == CoverageModelKind::Survey &&
            MatchesGrid(ap.matrix.size(), ap.rows, ap.columns) &&
            GridCountsAreSane(ap.rows, ap.columns))
            m.matrixOf = &ap;
        std::vector<double> ys, xs;
        for (const CData& s : ap.filteredSamples) {
            ys.push_back(s.y);
            xs.push_back(s.x);
            m.rssi.push_back(s.rssi);
            m.level2.push_back(static_cast<double>(s.level2));
        }
        m.samples = CSampleIndex(std::move(xs), std::move(ys));
        models.push_back(std::move(m));
    }
    return models;
}

struct CPointValues {
    double strength = kNoSignalDbm;
    double margin = kNoSignalDbm;
    double apCount = kApCountOffset;
    bool covered = false;
};

// Evaluates grid points over every prepared AP whose box holds them; one
// per thread (it keeps a scratch buffer).
class CPointEvaluator {
public:
    CPointEvaluator(const std::vector<CApModel>& aps, int powerLow, const IProgress& progress)
        : aps_(aps), powerLow_(powerLow), progress_(progress) {}

    CPointValues Evaluate(double x, double y) {
        double strongest = kNoSignalDbm, margin = kNoSignalDbm;
        int count = 0, below = 0;
        for (const CApModel& ap : aps_) {
            if (!(ap.minX <= x && x <= ap.maxX && ap.minY <= y && y <= ap.maxY))
                continue;
            // Both interpolations share the three nearest samples.
            const CNearest3 nearest = ap.samples.Nearest3(x, y, scratch_);
            double v = InverseDistanceWeighted(nearest, ap.rssi);
            const double w = InverseDistanceWeighted(nearest, ap.level2);
            if (ap.matrixOf)
                v = MatrixLevelAtOffset(*ap.matrixOf, y - ap.minY, x - ap.minX).value_or(v);
            else if (ap.mixModel)
                v = MixWithModel(
                    ModelRssi(ap.slope, ap.intercept, ap.positionY, ap.positionX, y, x), v);
            ++count;
            if (v < powerLow_)
                ++below;
            if (v > strongest)
                strongest = v;
            if (v - w > margin)
                margin = v - w;
            progress_.ThrowIfCancelled();
        }
        CPointValues out;
        if (count > 0) {
            out.strength = strongest;
            out.margin = margin;
            out.apCount = (count + kApCountOffset) - below;
            out.covered = true;
        }
        return out;
    }

private:
    const std::vector<CApModel>& aps_;
    const double powerLow_;
    const IProgress& progress_;
    std::vector<double> scratch_;
};

// Moves the bar to i * 65 / (rows - 1) + 5 as X index i starts; rows are
// started in increasing order but from several threads, so only forward.
class CRowProgress {
public:
    CRowProgress(IProgress& progress, int rows) : progress_(progress), rows_(rows) {}
    void RowStarted(int i) {
        const int position = rows_ > 1 ? i * 65 / (rows_ - 1) + 5 : 5;
        std::lock_guard lock(mutex_);
        if (position > last_) {
            last_ = position;
            progress_.SetPosition(position);
        }
    }

private:
    IProgress& progress_;
    const int rows_;
    std::mutex mutex_;
    int last_ = -1;
};

} // namespace

CCoverageGridValues ComputeCoverageGrid(const CTarvoAnalyzerDoc& doc, IProgress& progress,
                                        unsigned threads) {
    const std::vector<CApModel> aps = PrepareAps(doc);
    const int rows = std::max(doc.CoverageRows, 0), cols = std::max(doc.CoverageCols, 0);
    const CBox& box = doc.AnalysisBox;
    const std::vector<double> xs = GridAxis(box.minX, box.extentX, rows);
    const std::vector<double> ys = GridAxis(box.minY, box.extentY, cols);
    const std::size_t total = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);

    CCoverageGridValues out;
    out.strength.assign(total, kNoSignalDbm);
    out.margin.assign(total, kNoSignalDbm);
    out.apCount.assign(total, kApCountOffset);
    std::vector<std::uint8_t> covered(total, 0);

    CRowProgress rowProgress(progress, rows);
    RunRowsInParallel(rows, threads, [&]() -> RowWork {
        return [&, evaluator = CPointEvaluator(aps, doc.PowerLow, progress)](int i) mutable {
            rowProgress.RowStarted(i);
            for (int j = 0; j < cols; ++j) {
                const std::size_t at =
                    static_cast<std::size_t>(i) * static_cast<std::size_t>(cols) +
                    static_cast<std::size_t>(j);
                const CPointValues p = evaluator.Evaluate(xs[static_cast<std::size_t>(i)],
                                                          ys[static_cast<std::size_t>(j)]);
                out.strength[at] = p.strength;
                out.margin[at] = p.margin;
                out.apCount[at] = p.apCount;
                covered[at] = p.covered ? 1 : 0;
            }
        };
    });

    // Scale ends over the covered points in grid order, strict comparisons,
    // starting from the first thinned RSSI of the last AP used.
    if (!aps.empty()) {
        out.scaleLow = out.scaleHigh = aps.back().rssi.front();
        for (std::size_t at = 0; at < total; ++at) {
            if (!covered[at])
                continue;
            if (out.strength[at] < out.scaleLow)
                out.scaleLow = out.strength[at];
            if (out.strength[at] > out.scaleHigh)
                out.scaleHigh = out.strength[at];
        }
    }
    return out;
}

} // namespace tarvo
