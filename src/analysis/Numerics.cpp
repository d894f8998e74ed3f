#include "analysis/Numerics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace tarvo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double WeightOf(double distance) {
    const double e = distance + 1e-10;
    return 1.0 / (e * e);
}

// Pairs n-1, n-2, n-3 after the three bubble passes, done literally on
// copies: the literal interpolation, and the fast one when a distance is
// NaN (the passes' comparisons are then no ordering).
int BubbleNearest(std::span<const double> d, std::span<const double> v, double (&nd)[3],
                  double (&nv)[3]) {
    std::vector<double> dc(d.begin(), d.end());
    std::vector<double> vc(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(d.size()));
    const int n = static_cast<int>(dc.size());
    for (int p = 0; p < 3; ++p)
        for (int i = 1; i <= n - 1 - p; ++i)
            if (dc[i] > dc[i - 1]) {
                std::swap(dc[i], dc[i - 1]);
                std::swap(vc[i], vc[i - 1]);
            }
    const int taken = std::min(n, 3);
    for (int k = 0; k < taken; ++k) {
        nd[k] = dc[n - 1 - k];
        nv[k] = vc[n - 1 - k];
    }
    return taken;
}

} // namespace

double Mean(std::span<const double> a) {
    const double n = static_cast<double>(a.size());
    double sum = 0.0;
    for (double value : a)
        sum += value / n;
    return sum;
}

double LeastSquaresSlopeCentred(std::span<const double> yc, std::span<const double> x) {
    const std::size_t n = std::min(yc.size(), x.size());
    const double meanX = Mean(x.first(n));
    double numerator = 0.0, denominator = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        numerator += yc[i] * x[i];
        denominator += (x[i] - meanX) * x[i];
    }
    return numerator / denominator;
}

double LeastSquaresSlope(std::span<const double> y, std::span<const double> x) {
    const std::size_t n = std::min(y.size(), x.size());
    const double meanY = Mean(y.first(n));
    const double meanX = Mean(x.first(n));
    double numerator = 0.0, denominator = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        numerator += (y[i] - meanY) * x[i];
        denominator += (x[i] - meanX) * x[i];
    }
    return numerator / denominator;
}

double SampleStdDev(std::span<const double> a) {
    if (a.size() < 2)
        return 0.0;
    const double mean = Mean(a);
    double sum = 0.0;
    for (double value : a) {
        const double r = value - mean;
        sum += r * r;
    }
    return std::sqrt(sum / static_cast<double>(a.size() - 1));
}

int ArgMinFirst(std::span<const double> a) {
    if (a.empty())
        return -1;
    int best = 0;
    for (std::size_t i = 1; i < a.size(); ++i)
        if (a[i] < a[best])
            best = static_cast<int>(i);
    return best;
}

double MaxOfErrors(std::span<const double> a) {
    if (a.empty())
        return kNaN;
    double best = a[0];
    for (std::size_t i = 1; i < a.size(); ++i)
        if (a[i] > best)
            best = a[i];
    return best;
}

double InterpolateNearest3(std::span<const double> d, std::span<const double> v) {
    const std::size_t n = std::min(d.size(), v.size());
    d = d.first(n);
    v = v.first(n);

    // Without NaN the bubble passes are a stable ordering by distance, so
    // the three pairs they leave at the end are the three smallest by
    // (distance ascending, index descending): found in one scan, no copies.
    double nd[3], nv[3];
    int taken = 0;
    bool sawNaN = false;
    for (std::size_t i = 0; i < n; ++i) {
        const double di = d[i];
        if (std::isnan(di)) {
            sawNaN = true;
            break;
        }
        if (taken == 3 && !(di <= nd[2]))
            continue;
        int k = taken < 3 ? taken : 2;
        while (k > 0 && di <= nd[k - 1]) {
            nd[k] = nd[k - 1];
            nv[k] = nv[k - 1];
            --k;
        }
        nd[k] = di;
        nv[k] = v[i];
        if (taken < 3)
            ++taken;
    }
    if (sawNaN)
        taken = BubbleNearest(d, v, nd, nv);
    if (taken == 0)
        return kNaN;

    return InverseDistanceWeighted(nd, nv, taken);
}

double InterpolateNearest3Literal(std::span<const double> d, std::span<const double> v) {
    const std::size_t n = std::min(d.size(), v.size());
    double nd[3], nv[3];
    const int taken = BubbleNearest(d.first(n), v.first(n), nd, nv);
    if (taken == 0)
        return kNaN;
    return InverseDistanceWeighted(nd, nv, taken);
}

double InverseDistanceWeighted(const double* nd, const double* nv, int count) {
    double w[3];
    double weightSum = 0.0;
    for (int k = 0; k < count; ++k) {
        w[k] = WeightOf(nd[k]);
        weightSum += w[k];
    }
    double result = 0.0;
    for (int k = 0; k < count; ++k)
        result += w[k] / weightSum * nv[k];
    return result;
}

} // namespace tarvo
