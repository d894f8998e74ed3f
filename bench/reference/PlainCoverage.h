#pragma once
// The nearest-three interpolation and the coverage grid written out plainly
// from their description (three bubble passes on copies, every AP and point
// in order, one thread), independent of the program's code: the reference
// the fast coverage path is compared with bit for bit, and the baseline of
// the coverage benchmark.

#include "model/Document.h"

#include <cmath>
#include <utility>
#include <vector>

namespace tarvo::test {

// Three bubble passes over copies of the pairs, then the last three pairs
// weighted by 1 / (d + 1e-10)^2. Needs at least three pairs.
inline double BubbleReference(std::vector<double> d, std::vector<double> v) {
    const int n = static_cast<int>(d.size());
    for (int p = 0; p < 3; ++p)
        for (int i = 1; i <= n - 1 - p; ++i)
            if (d[i] > d[i - 1]) {
                std::swap(d[i], d[i - 1]);
                std::swap(v[i], v[i - 1]);
            }
    double w[3], sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        w[k] = 1.0 / ((d[n - 1 - k] + 1e-10) * (d[n - 1 - k] + 1e-10));
        sum += w[k];
    }
    double result = 0.0;
    for (int k = 0; k < 3; ++k)
        result += w[k] / sum * v[n - 1 - k];
    return result;
}

struct CPlainCoverage {
    std::vector<double> strength, margin, apCount;
    double scaleLow = 0.0, scaleHigh = 0.0;
};

// The grid values of the current AnalysisBox and grid counts.
inline CPlainCoverage PlainCoverage(const CTarvoAnalyzerDoc& doc) {
    const int rows = doc.CoverageRows, cols = doc.CoverageCols;
    const CBox& box = doc.AnalysisBox;
    const auto axis = [](double min, double extent, int count, int i) {
        return count == 1 ? min + extent / 2 : min + i * extent / (count - 1);
    };
    CPlainCoverage out;
    // The scale ends start from the first thinned RSSI of the last AP used.
    for (const CAPInfo& ap : doc.aps)
        if (ap.selected && ap.filteredSamples.GetSize() >= 3)
            out.scaleLow = out.scaleHigh = ap.filteredSamples[0].rssi;
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
            const double x = axis(box.minX, box.extentX, rows, i);
            const double y = axis(box.minY, box.extentY, cols, j);
            double strongest = -100.0, margin = -100.0;
            int count = 0, below = 0;
            for (const CAPInfo& ap : doc.aps) {
                if (!ap.selected || ap.filteredSamples.GetSize() < 3)
                    continue;
                if (!(ap.origin[1] <= x && x <= ap.origin[1] + ap.extent[1] && ap.origin[0] <= y &&
                      y <= ap.origin[0] + ap.extent[0]))
                    continue;
                std::vector<double> d, rssi, level2;
                for (const CData& s : ap.filteredSamples) {
                    d.push_back(std::sqrt((s.x - x) * (s.x - x) + (s.y - y) * (s.y - y)));
                    rssi.push_back(s.rssi);
                    level2.push_back(s.level2);
                }
                double v = BubbleReference(d, rssi);
                const double w = BubbleReference(d, level2);
                const double dx = x - ap.position[1], dy = y - ap.position[0];
                const double model =
                    ap.slope * std::log10(std::sqrt(dx * dx + dy * dy)) + ap.intercept;
                if (ap.valid && std::isfinite(model))
                    v = 0.6 * model + 0.4 * v;
                ++count;
                below += v < doc.PowerLow;
                strongest = v > strongest ? v : strongest;
                margin = v - w > margin ? v - w : margin;
            }
            out.strength.push_back(strongest);
            out.margin.push_back(margin);
            out.apCount.push_back(count > 0 ? (count + 0.01) - below : 0.01);
            if (count > 0) {
                out.scaleLow = strongest < out.scaleLow ? strongest : out.scaleLow;
                out.scaleHigh = strongest > out.scaleHigh ? strongest : out.scaleHigh;
            }
        }
    return out;
}

} // namespace tarvo::test
