#pragma once
// The two simple AP positions that the position estimators are judged
// against: the strongest sample, and the centroid of the samples weighted
// by their power, 10^(RSSI/10). Site metres, Y then X.

#include "model/SurveyRecords.h"

#include <array>
#include <cmath>
#include <span>

namespace tarvo::test {

// The first of the strongest samples. Needs at least one sample.
inline std::array<double, 2> StrongestSamplePosition(std::span<const CData> samples) {
    const CData* strongest = &samples[0];
    for (const CData& s : samples)
        if (s.rssi > strongest->rssi)
            strongest = &s;
    return {strongest->y, strongest->x};
}

// Needs at least one sample.
inline std::array<double, 2> PowerWeightedCentroid(std::span<const CData> samples) {
    double sw = 0.0, sy = 0.0, sx = 0.0;
    for (const CData& s : samples) {
        const double w = std::pow(10.0, s.rssi / 10.0);
        sw += w;
        sy += w * s.y;
        sx += w * s.x;
    }
    return {sy / sw, sx / sw};
}

} // namespace tarvo::test
