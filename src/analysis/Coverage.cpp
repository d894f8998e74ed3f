#include "analysis/Coverage.h"

#include "analysis/Contours.h"
#include "analysis/Coordinates.h"
#include "analysis/Numerics.h"
#include "model/Text.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>
#include <utility>

namespace tarvo {

namespace {

constexpr double kNoSignalDbm = -100.0;
constexpr double kScaleBottomDbm = -100.0;
constexpr double kScaleTopDbm = -30.0;
constexpr double kApCountOffset = 0.01;

// One selected AP prepared for the grid: its sample box, model and thinned
// samples as separate arrays (read many times per grid point).
// The thinned samples of one AP bucketed into a uniform grid of cells, so
// that the nearest samples of a point are found by visiting the cells in
// rings around it instead of measuring every sample.
struct CSampleGrid {
    bool built = false;
    double x0 = 0, y0 = 0, cellW = 1, cellH = 1;
    int nx = 1, ny = 1;
    double scale = 0;           // magnitude of the coordinates, for the rounding margin
    std::vector<int> cellStart; // nx * ny + 1 offsets into order
    std::vector<int> order;     // sample indices, cell by cell

    int CellX(double x) const { return Cell((x - x0) / cellW, nx); }
    int CellY(double y) const { return Cell((y - y0) / cellH, ny); }

private:
    static int Cell(double t, int count) {
        if (!(t > 0.0))
            return 0;
        if (t >= count)
            return count - 1;
        return static_cast<int>(t);
    }
};

// Below this many samples a plain scan is as quick as the cells.
constexpr std::size_t kGridMinSamples = 32;
constexpr double kSamplesPerCell = 4.0;
constexpr int kMaxCellsPerAxis = 1024;

CSampleGrid BuildSampleGrid(const std::vector<double>& xs, const std::vector<double>& ys) {
    CSampleGrid g;
    const std::size_t n = xs.size();
    if (n < kGridMinSamples)
        return g;
    double minX = xs[0], maxX = xs[0], minY = ys[0], maxY = ys[0];
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i]))
            return g; // the scan handles what cells cannot
        minX = std::min(minX, xs[i]);
        maxX = std::max(maxX, xs[i]);
        minY = std::min(minY, ys[i]);
        maxY = std::max(maxY, ys[i]);
    }
    const double w = maxX - minX, h = maxY - minY;
    const double cells = static_cast<double>(n) / kSamplesPerCell;
    const auto count = [](double c) {
        return static_cast<int>(std::clamp(std::ceil(c), 1.0, double(kMaxCellsPerAxis)));
    };
    if (w > 0.0 && h > 0.0) {
        const double side = std::sqrt(w * h / cells);
        g.nx = count(w / side);
        g.ny = count(h / side);
    } else if (w > 0.0) {
        g.nx = count(cells);
    } else if (h > 0.0) {
        g.ny = count(cells);
    }
    g.x0 = minX;
    g.y0 = minY;
    g.cellW = w > 0.0 ? w / g.nx : 1.0;
    g.cellH = h > 0.0 ? h / g.ny : 1.0;
    g.scale = std::fabs(minX) + std::fabs(minY) + w + h;
    const std::size_t cellCount = static_cast<std::size_t>(g.nx) * static_cast<std::size_t>(g.ny);
    std::vector<int> cellOf(n);
    g.cellStart.assign(cellCount + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        cellOf[i] = g.CellY(ys[i]) * g.nx + g.CellX(xs[i]);
        ++g.cellStart[static_cast<std::size_t>(cellOf[i]) + 1];
    }
    for (std::size_t c = 0; c < cellCount; ++c)
        g.cellStart[c + 1] += g.cellStart[c];
    g.order.resize(n);
    std::vector<int> fill(g.cellStart.begin(), g.cellStart.end() - 1);
    for (std::size_t i = 0; i < n; ++i)
        g.order[static_cast<std::size_t>(fill[static_cast<std::size_t>(cellOf[i])]++)] =
            static_cast<int>(i);
    g.built = true;
    return g;
}

struct CApModel {
    CSampleGrid grid;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    double positionY = 0, positionX = 0;
    bool mixModel = false;
    double slope = 0, intercept = 0;
    std::vector<double> y, x, rssi, level2;
};

std::vector<CApModel> PrepareAps(const CTarvoAnalyzerDoc& doc) {
    std::vector<CApModel> models;
    for (const CAPInfo& ap : doc.aps) {
        if (!ap.selected || ap.filteredSamples.GetSize() < kMinCoverageSamples)
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
        for (const CData& s : ap.filteredSamples) {
            m.y.push_back(s.y);
            m.x.push_back(s.x);
            m.rssi.push_back(s.rssi);
            m.level2.push_back(static_cast<double>(s.level2));
        }
        m.grid = BuildSampleGrid(m.x, m.y);
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

// Evaluates one grid point over every prepared AP whose box holds it.
class CPointEvaluator {
public:
    CPointEvaluator(const std::vector<CApModel>& aps, int powerLow, const IProgress& progress,
                    CoverageMethod method)
        : aps_(aps), powerLow_(powerLow), progress_(progress), method_(method) {}

    CPointValues Evaluate(double x, double y) {
        double strongest = kNoSignalDbm, margin = kNoSignalDbm;
        int count = 0, below = 0;
        for (const CApModel& ap : aps_) {
            if (!(ap.minX <= x && x <= ap.maxX && ap.minY <= y && y <= ap.maxY))
                continue;
            double v = 0.0, w = 0.0;
            if (method_ == CoverageMethod::Straightforward)
                InterpolateStraightforward(ap, x, y, v, w);
            else
                InterpolateNearest(ap, x, y, v, w);
            if (ap.mixModel) {
                const double dx = x - ap.positionX, dy = y - ap.positionY;
                const double model =
                    ap.slope * std::log10(std::sqrt(dx * dx + dy * dy)) + ap.intercept;
                // On the AP itself the model has no value (log of 0); the
                // interpolation alone stands there.
                if (std::isfinite(model))
                    v = 0.6 * model + 0.4 * v;
            }
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
    void FillDistances(const CApModel& ap, double x, double y) {
        const std::size_t n = ap.x.size();
        distances_.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            const double dx = ap.x[i] - x, dy = ap.y[i] - y;
            distances_[i] = std::sqrt(dx * dx + dy * dy);
        }
    }

    void InterpolateStraightforward(const CApModel& ap, double x, double y, double& v, double& w) {
        FillDistances(ap, x, y);
        v = InterpolateNearest3Literal(distances_, ap.rssi);
        w = InterpolateNearest3Literal(distances_, ap.level2);
    }

    // One scan keeps the three nearest samples by (distance ascending, index
    // descending), which is where the bubble passes leave them; both
    // interpolations share it. A NaN distance breaks that ordering, so then
    // the passes themselves decide.
    void InterpolateNearest(const CApModel& ap, double x, double y, double& v, double& w) {
        if (ap.grid.built && std::isfinite(x) && std::isfinite(y)) {
            NearestFromCells(ap, x, y, v, w);
            return;
        }
        const std::size_t n = ap.x.size();
        double nd[3] = {0, 0, 0};
        std::size_t ni[3] = {0, 0, 0};
        int taken = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double dx = ap.x[i] - x, dy = ap.y[i] - y;
            const double di = std::sqrt(dx * dx + dy * dy);
            if (std::isnan(di)) {
                FillDistances(ap, x, y);
                v = InterpolateNearest3(distances_, ap.rssi);
                w = InterpolateNearest3(distances_, ap.level2);
                return;
            }
            if (taken == 3 && !(di <= nd[2]))
                continue;
            int k = taken < 3 ? taken : 2;
            while (k > 0 && di <= nd[k - 1]) {
                nd[k] = nd[k - 1];
                ni[k] = ni[k - 1];
                --k;
            }
            nd[k] = di;
            ni[k] = i;
            if (taken < 3)
                ++taken;
        }
        const double vr[3] = {ap.rssi[ni[0]], ap.rssi[ni[1]], ap.rssi[ni[2]]};
        const double vl[3] = {ap.level2[ni[0]], ap.level2[ni[1]], ap.level2[ni[2]]};
        v = InverseDistanceWeighted(nd, vr, 3);
        w = InverseDistanceWeighted(nd, vl, 3);
    }

    // The same three samples as the scan, found ring by ring of cells
    // around the point. Cells are visited out of index order, so the tie
    // rule is applied as a comparison: nearer wins, and of equal distances
    // the later sample. The rings stop once every unvisited cell lies
    // farther than the third distance found (with a margin for rounding in
    // the cell assignment), so a sample at an equal distance is never
    // missed.
    void NearestFromCells(const CApModel& ap, double x, double y, double& v, double& w) {
        const CSampleGrid& g = ap.grid;
        double nd[3] = {0, 0, 0};
        int ni[3] = {0, 0, 0};
        int taken = 0;
        const auto consider = [&](int i) {
            const auto at = static_cast<std::size_t>(i);
            const double dx = ap.x[at] - x, dy = ap.y[at] - y;
            const double di = std::sqrt(dx * dx + dy * dy);
            const auto better = [&](int k) { return di < nd[k] || (di == nd[k] && i > ni[k]); };
            if (taken == 3 && !better(2))
                return;
            int k = taken < 3 ? taken : 2;
            while (k > 0 && better(k - 1)) {
                nd[k] = nd[k - 1];
                ni[k] = ni[k - 1];
                --k;
            }
            nd[k] = di;
            ni[k] = i;
            if (taken < 3)
                ++taken;
        };
        const auto visitCell = [&](int cx, int cy) {
            if (cx < 0 || cy < 0 || cx >= g.nx || cy >= g.ny)
                return;
            const auto c = static_cast<std::size_t>(cy) * static_cast<std::size_t>(g.nx) +
                           static_cast<std::size_t>(cx);
            for (int k = g.cellStart[c]; k < g.cellStart[c + 1]; ++k)
                consider(g.order[static_cast<std::size_t>(k)]);
        };
        const int qx = g.CellX(x), qy = g.CellY(y);
        const double margin = 1e-9 * (g.scale + std::fabs(x) + std::fabs(y) + g.cellW + g.cellH);
        for (int r = 0;; ++r) {
            if (r == 0) {
                visitCell(qx, qy);
            } else {
                for (int cx = qx - r; cx <= qx + r; ++cx) {
                    visitCell(cx, qy - r);
                    visitCell(cx, qy + r);
                }
                for (int cy = qy - r + 1; cy <= qy + r - 1; ++cy) {
                    visitCell(qx - r, cy);
                    visitCell(qx + r, cy);
                }
            }
            const bool left = qx - r > 0, right = qx + r < g.nx - 1;
            const bool below = qy - r > 0, above = qy + r < g.ny - 1;
            if (!left && !right && !below && !above)
                break; // every cell visited
            if (taken < 3)
                continue;
            // Distance from the point to the nearest cell not yet visited.
            double gap = std::numeric_limits<double>::infinity();
            if (left)
                gap = std::min(gap, x - (g.x0 + (qx - r) * g.cellW));
            if (right)
                gap = std::min(gap, (g.x0 + (qx + r + 1) * g.cellW) - x);
            if (below)
                gap = std::min(gap, y - (g.y0 + (qy - r) * g.cellH));
            if (above)
                gap = std::min(gap, (g.y0 + (qy + r + 1) * g.cellH) - y);
            if (gap > nd[2] + margin + 1e-9 * nd[2])
                break;
        }
        const auto a0 = static_cast<std::size_t>(ni[0]), a1 = static_cast<std::size_t>(ni[1]),
                   a2 = static_cast<std::size_t>(ni[2]);
        const double vr[3] = {ap.rssi[a0], ap.rssi[a1], ap.rssi[a2]};
        const double vl[3] = {ap.level2[a0], ap.level2[a1], ap.level2[a2]};
        v = InverseDistanceWeighted(nd, vr, 3);
        w = InverseDistanceWeighted(nd, vl, 3);
    }

    const std::vector<CApModel>& aps_;
    const double powerLow_;
    const IProgress& progress_;
    const CoverageMethod method_;
    std::vector<double> distances_;
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

int GridCount(double extent, double resolution) {
    if (!(extent > 0.0))
        return 1;
    const double count = extent / resolution;
    if (!(count >= 1.0))
        return 1;
    if (count >= kMaxCoveragePointsPerAxis)
        return kMaxCoveragePointsPerAxis;
    return static_cast<int>(count);
}

// Level k of ten between PowerLow and PowerHigh, in doubles (no integer
// overflow whatever the settings hold).
double StrengthLevel(const CTarvoAnalyzerDoc& doc, int k) {
    return doc.PowerLow +
           k * (static_cast<double>(doc.PowerHigh) - static_cast<double>(doc.PowerLow)) / 10;
}

bool MatchesGrid(std::size_t size, int rows, int cols) {
    return rows >= 1 && cols >= 1 &&
           size == static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
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

int ScaleChannel(int channel, double factor) {
    return static_cast<int>(channel * factor);
}

ColourRef ScaleColour(ColourRef c, double factor) {
    return MakeRgb(ScaleChannel(RedOf(c), factor), ScaleChannel(GreenOf(c), factor),
                   ScaleChannel(BlueOf(c), factor));
}

} // namespace

CCoverageGridSize SizeCoverageGrid(CTarvoAnalyzerDoc& doc) {
    CCoverageGridSize size;
    const auto usableExtent = [](double e) { return std::isfinite(e) ? std::fabs(e) : 0.0; };
    const double ex = usableExtent(doc.AnalysisBox.extentX);
    const double ey = usableExtent(doc.AnalysisBox.extentY);
    const double longer = std::max(ex, ey), shorter = std::min(ex, ey);
    if (!(longer > 0.0)) {
        doc.CoverageRows = 0;
        doc.CoverageCols = 0;
        return size;
    }
    const double wanted = std::isfinite(doc.Resolution) ? doc.Resolution : longer;
    const double fine = longer / 200.0;
    // With one axis empty, the other alone sets the range.
    const double coarse = shorter > 0.0 ? shorter / 20.0 : longer / 20.0;
    if (fine < coarse) {
        size.low = fine;
        size.high = coarse;
        size.resolution = std::clamp(wanted, fine, coarse);
    } else {
        size.low = coarse;
        size.high = 2.0 * coarse;
        size.resolution = coarse;
    }
    // A box more than 100 times longer than wide would otherwise ask for an
    // unbounded number of points along its long side.
    const double floor = longer / kMaxCoveragePointsPerAxis;
    if (size.resolution < floor) {
        size.resolution = floor;
        size.low = floor;
        size.high = 2.0 * floor;
    }
    size.usable = true;
    size.rows = GridCount(ex, size.resolution);
    size.cols = GridCount(ey, size.resolution);
    doc.Resolution = size.resolution;
    doc.CoverageRows = size.rows;
    doc.CoverageCols = size.cols;

    const double unit = doc.UseFeet ? kMetresPerFoot : 1.0;
    size.displayLow = size.low / unit;
    size.displayHigh = size.high / unit;
    size.displayValue = size.resolution / unit;
    size.unit = LengthUnitLabel(doc.UseFeet);
    return size;
}

std::vector<double> GridAxis(double min, double extent, int count) {
    std::vector<double> axis;
    if (count == 1) {
        axis.push_back(min + extent / 2);
    } else if (count > 1) {
        axis.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            axis.push_back(min + i * extent / (count - 1));
    }
    return axis;
}

CCoverageGridValues ComputeCoverageGrid(const CTarvoAnalyzerDoc& doc, IProgress& progress,
                                        CoverageMethod method, unsigned threads) {
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
    const auto computeRow = [&](CPointEvaluator& evaluator, int i) {
        rowProgress.RowStarted(i);
        for (int j = 0; j < cols; ++j) {
            const std::size_t at = static_cast<std::size_t>(i) * static_cast<std::size_t>(cols) +
                                   static_cast<std::size_t>(j);
            const CPointValues p = evaluator.Evaluate(xs[static_cast<std::size_t>(i)],
                                                      ys[static_cast<std::size_t>(j)]);
            out.strength[at] = p.strength;
            out.margin[at] = p.margin;
            out.apCount[at] = p.apCount;
            covered[at] = p.covered ? 1 : 0;
        }
    };

    unsigned workers = 1;
    if (method == CoverageMethod::Shipped) {
        workers = threads > 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
        workers = std::min(workers, static_cast<unsigned>(std::max(rows, 1)));
    }
    if (workers <= 1) {
        CPointEvaluator evaluator(aps, doc.PowerLow, progress, method);
        for (int i = 0; i < rows; ++i)
            computeRow(evaluator, i);
    } else {
        // Rows are handed out one at a time; each point is written to its
        // own slot, so the result does not depend on the schedule.
        std::atomic<int> nextRow{0};
        std::atomic<bool> stop{false};
        std::mutex errorMutex;
        std::exception_ptr error;
        const auto work = [&] {
            try {
                CPointEvaluator evaluator(aps, doc.PowerLow, progress, method);
                for (int i = nextRow.fetch_add(1);
                     i < rows && !stop.load(std::memory_order_relaxed); i = nextRow.fetch_add(1))
                    computeRow(evaluator, i);
            } catch (...) {
                std::lock_guard lock(errorMutex);
                if (!error)
                    error = std::current_exception();
                stop.store(true);
            }
        };
        std::vector<std::thread> pool;
        pool.reserve(workers - 1);
        try {
            for (unsigned t = 1; t < workers; ++t)
                pool.emplace_back(work);
        } catch (...) {
            // No further thread could be started: the ones running and
            // this one share the rows.
        }
        work();
        for (std::thread& t : pool)
            t.join();
        if (error)
            std::rethrow_exception(error);
    }

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

CoverageOutcome ProcessCoverage(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    IProgress& progress = ui.Progress();
    doc.view.ResetZoom();
    progress.SetPosition(0);
    progress.ClearCancelled();
    progress.Show();
    progress.SetText(kBeginCoverageText);
    doc.workLines.RemoveAll();
    doc.workAreas.RemoveAll();

    std::string shortList;
    std::vector<int> shortAps;
    int valid = 0;
    for (int a = 0; a < doc.aps.GetSize(); ++a) {
        const CAPInfo& ap = doc.aps[a];
        if (!ap.selected)
            continue;
        if (ap.filteredSamples.GetSize() < kMinCoverageSamples) {
            shortAps.push_back(a);
            shortList += Format("%s, %s \n", MacText(ap.bssid).c_str(), SsidText(ap.ssid).c_str());
        } else {
            ++valid;
        }
    }
    if (valid == 0) {
        progress.Hide();
        doc.coveragePresent = false;
        ui.MessageBox(kNoValidApText, kNoValidApTitle, MsgIcon::Information);
        return CoverageOutcome::NoValidAp;
    }
    if (!shortAps.empty()) {
        const char* question =
            shortAps.size() == 1
                ? "No enough points for the following AP: \n %s \n Remove it in the processing?"
                : "No enough points for the following APs: \n %s \n Remove them in the "
                  "processing?";
        const MsgAnswer answer = ui.MessageBox(Format(question, shortList.c_str()), kInvalidApTitle,
                                               MsgIcon::Information, MsgButtons::YesNo);
        if (answer == MsgAnswer::Yes)
            for (int a : shortAps)
                doc.aps[a].selected = 0;
    }

    ComputeViewExtent(doc, 0, 0);
    progress.SetText(kCalculatingCoverageText);
    // The kept matrices stay consistent with their counts if this run ends
    // early.
    const int previousRows = doc.CoverageRows, previousCols = doc.CoverageCols;
    const CCoverageGridSize size = SizeCoverageGrid(doc);
    if (!size.usable) {
        doc.CoverageRows = previousRows;
        doc.CoverageCols = previousCols;
        progress.Hide();
        doc.coveragePresent = false;
        ui.MessageBox(kEmptyAreaText, kEmptyAreaTitle, MsgIcon::Error);
        return CoverageOutcome::EmptyArea;
    }

    CCoverageGridValues values;
    try {
        values = ComputeCoverageGrid(doc, progress);
    } catch (const CCancelException&) {
        doc.CoverageRows = previousRows;
        doc.CoverageCols = previousCols;
        progress.Hide();
        doc.coveragePresent = false;
        return CoverageOutcome::Cancelled;
    }

    doc.strengthScaleLow = values.scaleLow < kScaleBottomDbm ? kScaleBottomDbm : values.scaleLow;
    doc.strengthScaleHigh = values.scaleHigh > kScaleTopDbm ? kScaleTopDbm : values.scaleHigh;
    doc.StrengthMatrix.Vector() = std::move(values.strength);
    doc.MarginMatrix.Vector() = std::move(values.margin);
    doc.ApCountMatrix.Vector() = std::move(values.apCount);
    progress.SetPosition(70);

    doc.coveragePresent = true;
    ComputeCoverageContours(doc);
    progress.SetPosition(90);
    doc.coverageDisplayType = kDisplayStrengthBands;
    progress.SetPosition(100);
    progress.Hide();
    return CoverageOutcome::Computed;
}

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

std::array<ColourRef, kCoverageLevels> ApLevelColours(ColourRef base) {
    std::array<ColourRef, kCoverageLevels> colours{};
    constexpr ColourRef kWhite = 0xFFFFFF;
    for (int k = 0; k < kCoverageLevels; ++k) {
        ColourRef c;
        if (k < 5) {
            const double s = 2.0 * (1.0 - k / 10.0) - 1.0;
            const ColourRef a = ScaleColour(base, 1.0 - s), b = ScaleColour(kWhite, s);
            c = MakeRgb(RedOf(a) + RedOf(b), GreenOf(a) + GreenOf(b), BlueOf(a) + BlueOf(b));
        } else {
            const double s = 0.6 - (1.0 - k / 10.0) * 1.2;
            c = ScaleColour(base, 1.0 - s);
        }
        colours[static_cast<std::size_t>(k)] = c;
    }
    return colours;
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
