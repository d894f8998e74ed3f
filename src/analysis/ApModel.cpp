#include "analysis/ApModel.h"

#include "analysis/Grid.h"
#include "analysis/Numerics.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

double ApGridPoint(double min, double extent, int count, int k) {
    if (count <= 1)
        return min + extent / 2;
    const double step = extent / (count - 1);
    return min + k * step;
}

bool IsAcceptedFit(double slope, double intercept) {
    return slope <= kValidSlope && std::isfinite(slope) && std::isfinite(intercept);
}

bool MixesModelIntoMatrix(double slope) {
    return slope < kValidSlope;
}

bool HasUsableModel(const CAPInfo& ap) {
    return ap.valid && ap.slope < kValidSlope;
}

bool HasCoverageSamples(const CAPInfo& ap) {
    return ap.filteredSamples.GetSize() >= kMinCoverageSamples;
}

double ModelRssi(double slope, double intercept, double apY, double apX, double y, double x) {
    const double dx = x - apX, dy = y - apY;
    return slope * std::log10(std::sqrt(dx * dx + dy * dy)) + intercept;
}

double MixWithModel(double model, double interpolated) {
    if (!std::isfinite(model))
        return interpolated;
    return 0.6 * model + 0.4 * interpolated;
}

CApMatrix PredictOnApGrid(const CAPInfo& ap,
                          const std::function<double(double y, double x)>& predict,
                          const std::function<void(int row)>& rowDone) {
    std::vector<double> rssi;
    rssi.reserve(ap.filteredSamples.size());
    for (const CData& s : ap.filteredSamples)
        rssi.push_back(s.rssi);
    const int rows = ap.rows, columns = ap.columns;
    CApMatrix out;
    out.values.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    out.minValue = out.maxValue = Mean(rssi);
    for (int r = 0; r < rows; ++r) {
        const double gx = ApGridPoint(ap.origin[1], ap.extent[1], rows, r);
        for (int c = 0; c < columns; ++c) {
            const double gy = ApGridPoint(ap.origin[0], ap.extent[0], columns, c);
            const double value = predict(gy, gx);
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

CApMatrix PredictApMatrix(const CAPInfo& ap, double slope, double intercept,
                          const std::function<void(int row)>& rowDone) {
    const std::size_t n = ap.filteredSamples.size();
    std::vector<double> ys(n), xs(n), rssi(n);
    for (std::size_t i = 0; i < n; ++i) {
        const CData& s = ap.filteredSamples.Vector()[i];
        ys[i] = s.y;
        xs[i] = s.x;
        rssi[i] = s.rssi;
    }
    const bool mix = MixesModelIntoMatrix(slope);
    const double apY = ap.position[0], apX = ap.position[1];
    std::vector<double> distances(n);
    return PredictOnApGrid(
        ap,
        [&](double gy, double gx) {
            for (std::size_t i = 0; i < n; ++i) {
                const double dx = xs[i] - gx, dy = ys[i] - gy;
                distances[i] = std::sqrt(dx * dx + dy * dy);
            }
            double value = InterpolateNearest3(distances, rssi);
            if (mix)
                value = MixWithModel(ModelRssi(slope, intercept, apY, apX, gy, gx), value);
            return value;
        },
        rowDone);
}

std::optional<double> MatrixLevelAtOffset(const CAPInfo& ap, double dy, double dx) {
    const int rows = ap.rows, cols = ap.columns;
    if (!GridCountsAreSane(rows, cols) || !MatchesGrid(ap.matrix.size(), rows, cols))
        return std::nullopt;
    // The lower grid point along one axis and the fraction toward the next.
    const auto locate = [](double offset, double extent, int count, int& low, double& t) {
        low = 0;
        t = 0.0;
        if (count <= 1 || !(extent > 0.0) || !(offset > 0.0))
            return;
        const double f = std::min(offset, extent) / (extent / (count - 1));
        low = std::clamp(static_cast<int>(f), 0, count - 2);
        t = std::clamp(f - low, 0.0, 1.0);
    };
    int r = 0, c = 0;
    double tr = 0.0, tc = 0.0;
    locate(dx, ap.extent[1], rows, r, tr);
    locate(dy, ap.extent[0], cols, c, tc);
    const double* m = ap.matrix.data();
    const auto at = [&](int rr, int cc) {
        rr = std::min(rr, rows - 1);
        cc = std::min(cc, cols - 1);
        return m[static_cast<std::size_t>(rr) * static_cast<std::size_t>(cols) +
                 static_cast<std::size_t>(cc)];
    };
    const double low = at(r, c) * (1.0 - tc) + at(r, c + 1) * tc;
    const double high = at(r + 1, c) * (1.0 - tc) + at(r + 1, c + 1) * tc;
    return low * (1.0 - tr) + high * tr;
}

std::optional<double> MatrixLevelAt(const CAPInfo& ap, double y, double x) {
    const double dy = y - ap.origin[0], dx = x - ap.origin[1];
    if (!(dy >= 0.0 && dy <= ap.extent[0] && dx >= 0.0 && dx <= ap.extent[1]))
        return std::nullopt;
    return MatrixLevelAtOffset(ap, dy, dx);
}

} // namespace tarvo
