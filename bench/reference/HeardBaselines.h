#pragma once
// Two plain predictors of an AP's level that the coverage models are judged
// against, written out from their definitions (every sample measured, no
// index): the nearest heard sample, and the inverse-distance weighting
// (power 2) of the eight nearest heard samples. Neither knows where the AP
// was not heard. Each fills the AP's matrix on its own grid.

#include "analysis/ApModel.h"
#include "model/ApRecords.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace tarvo::test {

// Fills ap.matrix (rows x columns, X index outer) with predict(y, x).
template <typename Predict> void FillApMatrix(CAPInfo& ap, Predict predict) {
    ap.matrix.Vector().assign(
        static_cast<std::size_t>(ap.rows) * static_cast<std::size_t>(ap.columns), 0.0);
    for (int r = 0; r < ap.rows; ++r)
        for (int c = 0; c < ap.columns; ++c)
            ap.matrix[static_cast<std::ptrdiff_t>(r) * ap.columns + c] =
                predict(ApGridPoint(ap.origin[0], ap.extent[0], ap.columns, c),
                        ApGridPoint(ap.origin[1], ap.extent[1], ap.rows, r));
}

// Distances from (y, x) to every sample with the sample's RSSI, nearest
// first (of equal distances the earlier sample first).
inline std::vector<std::pair<double, double>> ByDistance(const CAPInfo& ap, double y, double x) {
    std::vector<std::pair<double, double>> near;
    for (const CData& s : ap.samples)
        near.push_back({std::hypot(s.y - y, s.x - x), s.rssi});
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return near;
}

inline void NearestSampleMatrix(CAPInfo& ap) {
    FillApMatrix(ap, [&ap](double y, double x) { return ByDistance(ap, y, x).front().second; });
}

inline void HeardIdwMatrix(CAPInfo& ap) {
    FillApMatrix(ap, [&ap](double y, double x) {
        const auto near = ByDistance(ap, y, x);
        double weights = 0.0, sum = 0.0;
        for (std::size_t i = 0; i < near.size() && i < 8; ++i) {
            const double w = 1.0 / ((near[i].first + 1e-10) * (near[i].first + 1e-10));
            weights += w;
            sum += w * near[i].second;
        }
        return sum / weights;
    });
}

} // namespace tarvo::test
