#include "analysis/RobustPosition.h"

#include "analysis/SampleSets.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace tarvo {

namespace {

// The search square: a quarter of the longer side of the sample box, so
// that it neither collapses on a corridor nor spans a whole campus.
constexpr double kSquareShareOfBox = 0.25;
constexpr double kMinHalfWidthM = 8.0;
constexpr double kMaxHalfWidthM = 30.0;

// Cells wider than the no-signal spacing: a place within the spacing of a
// sample lies in the sample's cell or one of the eight around it.
constexpr double kSpacingCellM = 0.125;

class CSpacingCells {
public:
    void Add(double y, double x) { cells_[Key(Cell(y), Cell(x))].push_back({y, x}); }
    bool AnyWithin(double y, double x) const {
        const std::int64_t cy = Cell(y), cx = Cell(x);
        for (std::int64_t iy = cy - 1; iy <= cy + 1; ++iy)
            for (std::int64_t ix = cx - 1; ix <= cx + 1; ++ix) {
                const auto it = cells_.find(Key(iy, ix));
                if (it == cells_.end())
                    continue;
                for (const CSitePlace& p : it->second)
                    if (std::fabs(p.y - y) + std::fabs(p.x - x) < kNoSignalSpacingM)
                        return true;
            }
        return false;
    }

private:
    static std::int64_t Cell(double v) {
        return static_cast<std::int64_t>(
            std::clamp(std::floor(v / kSpacingCellM), -4.0e15, 4.0e15));
    }
    static std::uint64_t Key(std::int64_t cy, std::int64_t cx) {
        // Cells that share a key only add candidates, which are tested exactly.
        return static_cast<std::uint64_t>(cy) * 0x9E3779B97F4A7C15ULL ^
               static_cast<std::uint64_t>(cx);
    }
    std::unordered_map<std::uint64_t, std::vector<CSitePlace>> cells_;
};

double RoundedToCentimetre(double metres) {
    return std::round(metres * 100.0) / 100.0;
}

} // namespace

std::vector<CData> AverageAlongWalk(std::span<const CData> heard, std::int32_t frequencyMhz) {
    std::vector<CData> out;
    if (heard.empty())
        return out;
    const double window = ThinningDistancesFor(frequencyMhz).windowM;
    std::size_t start = 0;
    const auto emit = [&](std::size_t end) {
        const double n = static_cast<double>(end - start);
        CData mean{0.0, 0.0, 0.0, 0};
        for (std::size_t i = start; i < end; ++i) {
            mean.y += heard[i].y / n;
            mean.x += heard[i].x / n;
            mean.rssi += heard[i].rssi / n;
        }
        out.push_back(mean);
    };
    for (std::size_t i = 1; i < heard.size(); ++i) {
        const double dy = heard[i].y - heard[start].y, dx = heard[i].x - heard[start].x;
        if (!(std::sqrt(dy * dy + dx * dx) < window)) {
            emit(i);
            start = i;
        }
    }
    emit(heard.size());
    return out;
}

CPositionCandidates FindPositionCandidates(std::span<const CData> samples,
                                           std::span<const CSitePlace> silent,
                                           std::int32_t frequencyMhz, double extentY,
                                           double extentX) {
    CPositionCandidates c;
    std::vector<CData> heard;
    heard.reserve(samples.size());
    // A reading without a finite place or level cannot place the AP.
    for (const CData& s : samples)
        if (s.rssi > kNoSignalDbm && std::isfinite(s.rssi) && std::isfinite(s.y) &&
            std::isfinite(s.x))
            heard.push_back(s);
    c.noise = ReadingNoiseOf(heard);
    c.peak = PeakOf(heard, c.noise);
    if (!c.peak.ok)
        return c;

    c.fitting = AverageAlongWalk(heard, frequencyMhz);
    if (c.fitting.size() < static_cast<std::size_t>(kMinFitReadings) || c.noise.readings < 2)
        return c;
    double weakest = heard[0].rssi;
    for (const CData& s : heard)
        weakest = std::min(weakest, s.rssi);
    CPathLossFitInput input;
    input.fitting = c.fitting;
    input.heard = heard;
    // Places without the AP count once per stretch of walk, as the heard
    // readings do.
    std::vector<CData> silentReadings;
    silentReadings.reserve(silent.size());
    for (const CSitePlace& p : silent)
        silentReadings.push_back({p.y, p.x, kNoSignalDbm, 0});
    std::vector<CSitePlace> silentAveraged;
    for (const CData& s : AverageAlongWalk(silentReadings, frequencyMhz))
        silentAveraged.push_back({s.y, s.x});
    input.silent = silentAveraged;
    input.weakestHeardDbm = weakest;
    input.readingNoiseDb = c.noise.sigmaDb;
    input.centreY = c.peak.y;
    input.centreX = c.peak.x;
    input.halfWidthM =
        std::clamp(kSquareShareOfBox * std::max(extentY, extentX), kMinHalfWidthM, kMaxHalfWidthM);
    c.fit = FitPathLoss(input);
    return c;
}

CRobustPosition ChoosePosition(const CPositionCandidates& c, const CRobustConstants& constants) {
    CRobustPosition out;
    if (!c.peak.ok)
        return out;
    out.ok = true;
    const CPathLossFit& fit = c.fit;
    const bool fitExplains =
        fit.ok && !fit.slopeAtBound && !fit.onBorder && fit.lackOfFit <= constants.maxLackOfFit;
    double radius;
    if (fitExplains) {
        out.evidence = PositionEvidence::Fit;
        out.y = fit.y;
        out.x = fit.x;
        radius = constants.fitRadiusPerSpread * fit.spreadM;
    } else {
        out.evidence = PositionEvidence::Peak;
        out.y = c.peak.y;
        out.x = c.peak.x;
        radius = constants.peakRadiusPerSpread * c.peak.spreadM;
    }
    // A radius is always given: at least one centimetre.
    out.uncertaintyM = std::max(RoundedToCentimetre(radius), 0.01);
    return out;
}

std::vector<CSitePlace> NoSignalPlaces(std::span<const CDataPoint> points, const CAPInfo& ap) {
    const double minY = ap.origin[0], minX = ap.origin[1];
    const double extentY = ap.extent[0], extentX = ap.extent[1];
    CSpacingCells taken;
    for (const CData& s : ap.samples)
        taken.Add(s.y, s.x);
    std::vector<CSitePlace> places;
    for (const CDataPoint& p : points) {
        const double y = p.northing / 100.0, x = p.easting / 100.0;
        const double dy = y - minY, dx = x - minX;
        if (!(dy >= 0.0 && dy <= extentY && dx >= 0.0 && dx <= extentX))
            continue;
        if (taken.AnyWithin(y, x))
            continue;
        places.push_back({y, x});
        taken.Add(y, x);
    }
    return places;
}

} // namespace tarvo
