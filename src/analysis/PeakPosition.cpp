#include "analysis/PeakPosition.h"

#include "analysis/PointGrid.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace tarvo {

namespace {

CPointGrid GridOf(std::span<const CData> heard) {
    std::vector<double> ys(heard.size()), xs(heard.size());
    for (std::size_t i = 0; i < heard.size(); ++i) {
        ys[i] = heard[i].y;
        xs[i] = heard[i].x;
    }
    return CPointGrid(std::move(ys), std::move(xs));
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

} // namespace

CReadingNoise ReadingNoiseOf(std::span<const CData> heard) {
    CReadingNoise noise;
    noise.readings = static_cast<int>(heard.size());
    if (heard.size() < 2)
        return noise;
    const CPointGrid grid = GridOf(heard);
    const double n = static_cast<double>(heard.size());
    double meanAbs = 0.0;
    std::vector<double> spacing(heard.size());
    for (std::size_t i = 0; i < heard.size(); ++i) {
        const CPointGrid::CNeighbour nb = grid.NearestOther(i);
        meanAbs += std::fabs(heard[i].rssi - heard[static_cast<std::size_t>(nb.index)].rssi) / n;
        spacing[i] = nb.distanceM;
    }
    const double roundingDb = kReadingStepDb / std::sqrt(12.0);
    noise.sigmaDb = std::max(meanAbs * std::sqrt(std::numbers::pi) / 2.0, roundingDb);
    noise.spacingM = Median(std::move(spacing));
    return noise;
}

CPeakEstimate PeakOf(std::span<const CData> heard, const CReadingNoise& noise) {
    CPeakEstimate peak;
    if (heard.empty())
        return peak;
    double strongest = heard[0].rssi;
    for (const CData& s : heard)
        strongest = std::max(strongest, s.rssi);

    const CPointGrid grid = GridOf(heard);
    const double reach = 3.0 * kPeakKernelM;
    const double twoH2 = 2.0 * kPeakKernelM * kPeakKernelM;
    std::size_t best = 0;
    double bestMean = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < heard.size(); ++i) {
        if (heard[i].rssi < strongest - kReadingStepDb / 2.0)
            continue;
        double sw = 0.0, sv = 0.0;
        grid.ForEachWithin(heard[i].y, heard[i].x, reach, [&](std::size_t j, double d2) {
            const double w = std::exp(-d2 / twoH2);
            sw += w;
            sv += w * heard[j].rssi;
        });
        const double mean = sv / sw;
        if (mean > bestMean) {
            bestMean = mean;
            best = i;
        }
    }
    peak.ok = true;
    peak.y = heard[best].y;
    peak.x = heard[best].x;
    peak.dbm = strongest;

    double count = 0.0, sum2 = 0.0;
    for (const CData& s : heard)
        if (s.rssi >= strongest - noise.sigmaDb) {
            const double dy = s.y - peak.y, dx = s.x - peak.x;
            count += 1.0;
            sum2 += dy * dy + dx * dx;
        }
    peak.spreadM = std::sqrt(sum2 / count + noise.spacingM * noise.spacingM);
    return peak;
}

} // namespace tarvo
