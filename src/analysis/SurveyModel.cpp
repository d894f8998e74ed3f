#include "analysis/SurveyModel.h"

#include "analysis/Numerics.h"
#include "analysis/SampleSets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

namespace tarvo {

namespace {

double AxisPoint(double min, double extent, int count, int k) {
    if (count <= 1)
        return min + extent / 2;
    const double step = extent / (count - 1);
    return min + k * step;
}

// Solves a x = b (n x n, row-major) by Gaussian elimination with partial
// pivoting; false when singular.
bool Solve(std::vector<double>& a, std::vector<double>& b, int n) {
    for (int c = 0; c < n; ++c) {
        int p = c;
        for (int r = c + 1; r < n; ++r)
            if (std::fabs(a[r * n + c]) > std::fabs(a[p * n + c]))
                p = r;
        if (!(std::fabs(a[p * n + c]) > 1e-12))
            return false;
        if (p != c) {
            for (int k = 0; k < n; ++k)
                std::swap(a[c * n + k], a[p * n + k]);
            std::swap(b[c], b[p]);
        }
        for (int r = c + 1; r < n; ++r) {
            const double f = a[r * n + c] / a[c * n + c];
            if (f == 0.0)
                continue;
            for (int k = c; k < n; ++k)
                a[r * n + k] -= f * a[c * n + k];
            b[r] -= f * b[c];
        }
    }
    for (int r = n - 1; r >= 0; --r) {
        double s = b[r];
        for (int k = r + 1; k < n; ++k)
            s -= a[r * n + k] * b[k];
        b[r] = s / a[r * n + r];
    }
    return true;
}

} // namespace

CSurveyModelParams& SurveyModelParams() {
    static CSurveyModelParams params;
    return params;
}

CSurveyField::CSurveyField(const CAPInfo& ap, std::span<const CDataPoint> points) {
    std::vector<double> xs, ys;
    for (const CData& s : ap.samples) {
        xs.push_back(s.x);
        ys.push_back(s.y);
        rssi_.push_back(s.rssi);
    }
    hx_ = xs;
    hy_ = ys;
    heard_ = CNearestIndex(xs, ys);
    mean_ = Mean(rssi_);
    apY_ = ap.position[0];
    apX_ = ap.position[1];
    const CSurveyModelParams& p = SurveyModelParams();
    if (p.trend != 0 && rssi_.size() >= 3) {
        std::vector<double> logs;
        for (std::size_t i = 0; i < rssi_.size(); ++i) {
            const double dx = hx_[i] - apX_, dy = hy_[i] - apY_;
            logs.push_back(std::log10(std::max(1.0, std::sqrt(dx * dx + dy * dy))));
        }
        const double b = LeastSquaresSlope(rssi_, logs);
        if (std::isfinite(b) && b < 0.0) {
            trendB_ = b;
            trendA_ = mean_ - b * Mean(logs);
            hasTrend_ = true;
        }
    }

    rangeM_ = p.rangeM;
    nuggetShare_ = p.nuggetShare;
    if (p.method == 2 && rssi_.size() >= 10)
        FitVariogram();

    // Survey locations, heard or not by this AP.
    std::vector<double> lx, ly;
    std::unordered_set<long long> heardCells;
    auto key = [](double y, double x) {
        return static_cast<long long>(std::llround(y * 100.0)) * 1000003LL +
               static_cast<long long>(std::llround(x * 100.0));
    };
    (void)key;
    CNearestIndex sampleIndex(xs, ys);
    std::vector<CNeighbour> near;
    for (const CDataPoint& pt : points) {
        const double y = pt.northing / 100.0, x = pt.easting / 100.0;
        sampleIndex.Nearest(x, y, 1, near);
        bool heard = false;
        if (!near.empty()) {
            const auto i = static_cast<std::size_t>(near[0].index);
            heard = std::fabs(ys[i] - y) + std::fabs(xs[i] - x) < 0.1 + 1e-9;
            // any sample within 0.1 in L1 lies within 0.1 in L2 too
            if (!heard && near[0].distance < 0.1) {
                sampleIndex.Nearest(x, y, 4, near);
                for (const CNeighbour& nb : near) {
                    const auto j = static_cast<std::size_t>(nb.index);
                    if (std::fabs(ys[j] - y) + std::fabs(xs[j] - x) < 0.1)
                        heard = true;
                }
            }
        }
        lx.push_back(x);
        ly.push_back(y);
        locationHeard_.push_back(heard ? 1 : 0);
    }
    locations_ = CNearestIndex(std::move(lx), std::move(ly));
}

bool CSurveyField::Heard(double y, double x) const {
    const CSurveyModelParams& p = SurveyModelParams();
    if (locations_.Size() == 0)
        return true;
    locations_.Nearest(x, y, p.maskNeighbours, scratch_);
    if (p.maskMode == 0) {
        int heard = 0;
        for (const CNeighbour& n : scratch_)
            heard += locationHeard_[static_cast<std::size_t>(n.index)];
        return heard >= p.maskMinHeard;
    }
    // distance-weighted vote, threshold maskMinHeard / maskNeighbours
    double wh = 0, wt = 0;
    for (const CNeighbour& n : scratch_) {
        const double w = 1.0 / ((n.distance + 0.1) * (n.distance + 0.1));
        wt += w;
        if (locationHeard_[static_cast<std::size_t>(n.index)])
            wh += w;
    }
    return wh >= wt * p.maskMinHeard / p.maskNeighbours;
}

double CSurveyField::Level(double y, double x) const {
    const CSurveyModelParams& p = SurveyModelParams();
    heard_.Nearest(x, y, p.levelNeighbours, scratch_);
    const std::vector<CNeighbour> nb = scratch_;
    const int k = static_cast<int>(nb.size());
    if (k == 0)
        return kNoSignalDbm;
    auto trendAt = [&](double ty, double tx) {
        if (!hasTrend_)
            return mean_;
        const double dx = tx - apX_, dy = ty - apY_;
        return trendA_ + trendB_ * std::log10(std::max(1.0, std::sqrt(dx * dx + dy * dy)));
    };
    if (p.method == 0) {
        double sw = 0, sv = 0;
        for (const CNeighbour& n : nb) {
            const double w = 1.0 / std::pow(n.distance + 1e-10, p.idwPower);
            const auto i = static_cast<std::size_t>(n.index);
            sw += w;
            sv += w * (rssi_[i] - trendAt(hy_[i], hx_[i]));
        }
        return trendAt(y, x) + sv / sw;
    }
    // kriging
    const bool ordinary = p.trend != 1;
    const int n = ordinary ? k + 1 : k;
    std::vector<double> a(static_cast<std::size_t>(n * n), 0.0), b(static_cast<std::size_t>(n));
    const double sill = 1.0 - nuggetShare_;
    for (int i = 0; i < k; ++i) {
        const auto ii = static_cast<std::size_t>(nb[static_cast<std::size_t>(i)].index);
        for (int j = 0; j < k; ++j) {
            const auto jj = static_cast<std::size_t>(nb[static_cast<std::size_t>(j)].index);
            const double dx = hx_[ii] - hx_[jj], dy = hy_[ii] - hy_[jj];
            const double d = std::sqrt(dx * dx + dy * dy);
            a[static_cast<std::size_t>(i * n + j)] =
                sill * std::exp(-d / rangeM_) + (i == j ? nuggetShare_ : 0.0);
        }
        b[static_cast<std::size_t>(i)] =
            sill * std::exp(-nb[static_cast<std::size_t>(i)].distance / rangeM_);
        if (ordinary) {
            a[static_cast<std::size_t>(i * n + k)] = 1.0;
            a[static_cast<std::size_t>(k * n + i)] = 1.0;
        }
    }
    if (ordinary)
        b[static_cast<std::size_t>(k)] = 1.0;
    if (!Solve(a, b, n))
        return trendAt(y, x);
    double v = 0;
    for (int i = 0; i < k; ++i) {
        const auto ii = static_cast<std::size_t>(nb[static_cast<std::size_t>(i)].index);
        v += b[static_cast<std::size_t>(i)] * (rssi_[ii] - trendAt(hy_[ii], hx_[ii]));
    }
    return trendAt(y, x) + v;
}

void CSurveyField::FitVariogram() {
    const std::size_t n = rssi_.size();
    std::vector<double> r(n);
    double minX = hx_[0], maxX = hx_[0], minY = hy_[0], maxY = hy_[0];
    for (std::size_t i = 0; i < n; ++i) {
        double t = mean_;
        if (hasTrend_) {
            const double dx = hx_[i] - apX_, dy = hy_[i] - apY_;
            t = trendA_ + trendB_ * std::log10(std::max(1.0, std::sqrt(dx * dx + dy * dy)));
        }
        r[i] = rssi_[i] - t;
        minX = std::min(minX, hx_[i]);
        maxX = std::max(maxX, hx_[i]);
        minY = std::min(minY, hy_[i]);
        maxY = std::max(maxY, hy_[i]);
    }
    const double maxLag = 0.5 * std::hypot(maxX - minX, maxY - minY);
    if (!(maxLag > 0))
        return;
    const int bins = 15;
    std::vector<double> g(bins, 0.0), h(bins, 0.0), cnt(bins, 0.0);
    const std::size_t step = std::max<std::size_t>(1, n / 400);
    for (std::size_t i = 0; i < n; i += step)
        for (std::size_t j = i + step; j < n; j += step) {
            const double d = std::hypot(hx_[i] - hx_[j], hy_[i] - hy_[j]);
            if (d >= maxLag)
                continue;
            const int b = static_cast<int>(d / maxLag * bins);
            const double dr = r[i] - r[j];
            g[b] += 0.5 * dr * dr;
            h[b] += d;
            cnt[b] += 1;
        }
    double best = 1e300;
    for (int ai = 0; ai < 30; ++ai) {
        const double a = 0.3 * std::pow(maxLag / 0.3 * 2, ai / 29.0);
        // LS for c0, c1 >= 0: minimise sum w (g - c0 - c1 f)^2
        double sw = 0, sf = 0, sff = 0, sg = 0, sfg = 0;
        for (int b = 0; b < bins; ++b) {
            if (cnt[b] < 1)
                continue;
            const double w = cnt[b];
            const double f = 1 - std::exp(-(h[b] / cnt[b]) / a);
            const double gb = g[b] / cnt[b];
            sw += w;
            sf += w * f;
            sff += w * f * f;
            sg += w * gb;
            sfg += w * f * gb;
        }
        if (sw <= 0)
            return;
        const double det = sw * sff - sf * sf;
        double c0 = 0, c1 = 0;
        if (det > 1e-12) {
            c0 = (sg * sff - sf * sfg) / det;
            c1 = (sw * sfg - sf * sg) / det;
        }
        if (c0 < 0) {
            c0 = 0;
            c1 = sff > 0 ? std::max(0.0, sfg / sff) : 0;
        }
        if (c1 < 0) {
            c1 = 0;
            c0 = std::max(0.0, sg / sw);
        }
        double sse = 0;
        for (int b = 0; b < bins; ++b) {
            if (cnt[b] < 1)
                continue;
            const double f = 1 - std::exp(-(h[b] / cnt[b]) / a);
            const double e = g[b] / cnt[b] - c0 - c1 * f;
            sse += cnt[b] * e * e;
        }
        if (sse < best && c0 + c1 > 0) {
            best = sse;
            rangeM_ = a;
            nuggetShare_ = std::clamp(c0 / (c0 + c1), 0.01, 0.99);
        }
    }
    if (std::getenv("VDUMP"))
        std::fprintf(stderr, "n %zu range %.2f nug %.2f\n", n, rangeM_, nuggetShare_);
}

double CSurveyField::Predict(double y, double x) const {
    if (!Heard(y, x)) {
        static const double mv =
            std::getenv("MASKV") ? std::atof(std::getenv("MASKV")) : kNoSignalDbm;
        return mv;
    }
    return Level(y, x);
}

CApMatrix PredictSurveyMatrix(const CAPInfo& ap, std::span<const CDataPoint> points,
                              const std::function<void(int row)>& rowDone) {
    const CSurveyField field(ap, points);
    const int rows = ap.rows, columns = ap.columns;
    CApMatrix out;
    out.values.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    std::vector<double> thinned;
    for (const CData& s : ap.filteredSamples)
        thinned.push_back(s.rssi);
    out.minValue = out.maxValue = Mean(thinned);
    for (int r = 0; r < rows; ++r) {
        const double gx = AxisPoint(ap.origin[1], ap.extent[1], rows, r);
        for (int c = 0; c < columns; ++c) {
            const double gy = AxisPoint(ap.origin[0], ap.extent[0], columns, c);
            const double value = field.Predict(gy, gx);
            out.values[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) +
                       static_cast<std::size_t>(c)] = value;
            if (value < out.minValue)
                out.minValue = value;
            if (value > out.maxValue)
                out.maxValue = value;
        }
        if (rowDone)
            rowDone(r);
    }
    return out;
}

} // namespace tarvo
