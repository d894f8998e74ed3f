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

// The three bubble passes run literally on a copy of the distances, with
// the indices swapped alongside: the answer when a distance is NaN.
CNearest3 BubbleNearest(std::span<const double> d) {
    std::vector<double> dc(d.begin(), d.end());
    std::vector<std::size_t> ic(d.size());
    for (std::size_t i = 0; i < ic.size(); ++i)
        ic[i] = i;
    const int n = static_cast<int>(dc.size());
    for (int p = 0; p < 3; ++p)
        for (int i = 1; i <= n - 1 - p; ++i)
            if (dc[i] > dc[i - 1]) {
                std::swap(dc[i], dc[i - 1]);
                std::swap(ic[i], ic[i - 1]);
            }
    CNearest3 nearest;
    nearest.count = std::min(n, 3);
    for (int k = 0; k < nearest.count; ++k) {
        nearest.distance[k] = dc[n - 1 - k];
        nearest.index[k] = ic[n - 1 - k];
    }
    return nearest;
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
    int best = -1;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::isfinite(a[i]) && (best < 0 || a[i] < a[best]))
            best = static_cast<int>(i);
    return best;
}

double MaxOfErrors(std::span<const double> a) {
    double best = kNaN;
    for (double v : a)
        if (std::isfinite(v) && (std::isnan(best) || v > best))
            best = v;
    return best;
}

void CNearest3::Offer(double d, std::size_t i) {
    const auto better = [&](int k) {
        return d < distance[k] || (d == distance[k] && i > index[k]);
    };
    if (count == 3 && !better(2))
        return;
    int k = count < 3 ? count : 2;
    while (k > 0 && better(k - 1)) {
        distance[k] = distance[k - 1];
        index[k] = index[k - 1];
        --k;
    }
    distance[k] = d;
    index[k] = i;
    if (count < 3)
        ++count;
}

CNearest3 Nearest3(std::span<const double> d) {
    CNearest3 nearest;
    for (std::size_t i = 0; i < d.size(); ++i) {
        if (std::isnan(d[i]))
            return BubbleNearest(d);
        nearest.Offer(d[i], i);
    }
    return nearest;
}

double InverseDistanceWeighted(const CNearest3& nearest, std::span<const double> v) {
    if (nearest.count == 0)
        return kNaN;
    double w[3];
    double weightSum = 0.0;
    for (int k = 0; k < nearest.count; ++k) {
        w[k] = WeightOf(nearest.distance[k]);
        weightSum += w[k];
    }
    double result = 0.0;
    for (int k = 0; k < nearest.count; ++k)
        result += w[k] / weightSum * v[nearest.index[k]];
    return result;
}

double InterpolateNearest3(std::span<const double> d, std::span<const double> v) {
    const std::size_t n = std::min(d.size(), v.size());
    return InverseDistanceWeighted(Nearest3(d.first(n)), v);
}

} // namespace tarvo
