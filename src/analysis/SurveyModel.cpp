#include "analysis/SurveyModel.h"

#include "analysis/Numerics.h"
#include "analysis/SampleSets.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace tarvo {

namespace {

// The trend's distance: the model's reference distance of 1 m at least.
double LogDistance(double y, double x, const std::array<double, 2>& centre) {
    const double dy = y - centre[0], dx = x - centre[1];
    return std::log10(std::max(1.0, std::sqrt(dx * dx + dy * dy)));
}

// Replaces the lower triangle of the symmetric matrix A (n x n, row-major;
// the upper triangle is not read) by its Cholesky factor L, A = L L'.
// False when A is not positive definite.
bool CholeskyFactor(std::vector<double>& a, std::size_t n) {
    for (std::size_t j = 0; j < n; ++j) {
        double d = a[j * n + j];
        for (std::size_t k = 0; k < j; ++k)
            d -= a[j * n + k] * a[j * n + k];
        if (!(d > 0.0))
            return false;
        const double l = std::sqrt(d);
        a[j * n + j] = l;
        for (std::size_t i = j + 1; i < n; ++i) {
            double s = a[i * n + j];
            for (std::size_t k = 0; k < j; ++k)
                s -= a[i * n + k] * a[j * n + k];
            a[i * n + j] = s / l;
        }
    }
    return true;
}

// Solves L L' z = b in place for the factor of CholeskyFactor.
void CholeskySolve(const std::vector<double>& l, std::size_t n, std::vector<double>& b) {
    for (std::size_t i = 0; i < n; ++i) {
        double s = b[i];
        for (std::size_t k = 0; k < i; ++k)
            s -= l[i * n + k] * b[k];
        b[i] = s / l[i * n + i];
    }
    for (std::size_t i = n; i-- > 0;) {
        double s = b[i];
        for (std::size_t k = i + 1; k < n; ++k)
            s -= l[k * n + i] * b[k];
        b[i] = s / l[i * n + i];
    }
}

} // namespace

CSurveyField::CSurveyField(std::span<const CData> heard,
                           std::optional<std::array<double, 2>> apPosition,
                           std::span<const CDataPoint> locations) {
    // Merge the samples taken at one position, in the order first heard.
    std::vector<double> sum;
    std::map<std::pair<double, double>, std::size_t> placeOf;
    std::vector<double> ys, xs, levels;
    for (const CData& s : heard) {
        if (!std::isfinite(s.y) || !std::isfinite(s.x) || !std::isfinite(s.rssi))
            continue;
        ys.push_back(s.y);
        xs.push_back(s.x);
        levels.push_back(s.rssi);
        auto [it, isNew] = placeOf.try_emplace({s.y, s.x}, placeY_.size());
        if (isNew) {
            placeY_.push_back(s.y);
            placeX_.push_back(s.x);
            sum.push_back(0.0);
            count_.push_back(0.0);
        }
        sum[it->second] += s.rssi;
        count_[it->second] += 1.0;
    }

    // The trend: least squares over every heard sample.
    trendIntercept_ = Mean(levels);
    if (apPosition && levels.size() >= 3 && std::isfinite((*apPosition)[0]) &&
        std::isfinite((*apPosition)[1])) {
        std::vector<double> logs(levels.size());
        for (std::size_t i = 0; i < levels.size(); ++i)
            logs[i] = LogDistance(ys[i], xs[i], *apPosition);
        const double slope = LeastSquaresSlope(levels, logs);
        if (std::isfinite(slope) && slope < 0.0) {
            centre_ = apPosition;
            trendSlope_ = slope;
            trendIntercept_ = Mean(levels) - slope * Mean(logs);
        }
    }
    residual_.resize(placeY_.size());
    for (std::size_t p = 0; p < placeY_.size(); ++p)
        residual_[p] = sum[p] / count_[p] - Trend(placeY_[p], placeX_[p]);
    places_ = CNearestIndex(placeX_, placeY_);

    // Whether a location heard the AP is settled when a prediction first
    // asks (most locations of a large study lie far from any one AP).
    locationY_.reserve(locations.size());
    locationX_.reserve(locations.size());
    for (const CDataPoint& location : locations) {
        locationY_.push_back(location.northing / 100.0);
        locationX_.push_back(location.easting / 100.0);
    }
    locationHeard_.assign(locationY_.size(), kUnknown);
    locations_ = CNearestIndex(locationX_, locationY_);
}

bool CSurveyField::LocationHeard(std::size_t i, std::vector<CNeighbour>& near) const {
    if (locationHeard_[i] != kUnknown)
        return locationHeard_[i] != 0;
    const double y = locationY_[i], x = locationX_[i];
    bool isHeard = false;
    // Every place within the spacing in |dY| + |dX| lies within it in
    // distance too: look at the places nearer than the spacing.
    for (int k = 4;; k *= 2) {
        places_.Nearest(x, y, k, near);
        for (const CNeighbour& n : near) {
            const auto p = static_cast<std::size_t>(n.index);
            if (std::fabs(placeY_[p] - y) + std::fabs(placeX_[p] - x) < kNoSignalSpacingM)
                isHeard = true;
        }
        if (isHeard || near.size() < static_cast<std::size_t>(k) ||
            !(near.back().distance < kNoSignalSpacingM))
            break;
    }
    locationHeard_[i] = isHeard ? 1 : 0;
    return isHeard;
}

double CSurveyField::Trend(double y, double x) const {
    if (!centre_)
        return trendIntercept_;
    return trendIntercept_ + trendSlope_ * LogDistance(y, x, *centre_);
}

double CSurveyField::HeardShare(double y, double x, CScratch& scratch) const {
    if (locations_.Size() == 0)
        return 1.0;
    locations_.Nearest(x, y, kSurveyPresenceNeighbours, scratch.neighbours);
    if (scratch.neighbours.empty())
        return 1.0;
    int heard = 0;
    for (const CNeighbour& n : scratch.neighbours)
        heard += LocationHeard(static_cast<std::size_t>(n.index), scratch.places) ? 1 : 0;
    return static_cast<double>(heard) / static_cast<double>(scratch.neighbours.size());
}

// Ordinary kriging of the residuals: with C the covariance among the
// neighbours, c their covariance with the point and 1 a vector of ones,
// the weights are C^-1 c + C^-1 1 (1 - 1'C^-1 c) / (1'C^-1 1), which sum to
// one, so the prediction follows the local residuals without a known mean.
double CSurveyField::Level(double y, double x, CScratch& scratch) const {
    places_.Nearest(x, y, kSurveyLevelNeighbours, scratch.neighbours);
    const std::vector<CNeighbour>& near = scratch.neighbours;
    const std::size_t n = near.size();
    if (n == 0 || !std::isfinite(y) || !std::isfinite(x))
        return kNoSignalDbm;
    const double sill = 1.0 - kSurveyNuggetShare;
    std::vector<double>& c = scratch.covariance;
    c.assign(n * n, 0.0);
    scratch.toPoint.resize(n);
    scratch.toOne.assign(n, 1.0);
    for (std::size_t i = 0; i < n; ++i) {
        const auto pi = static_cast<std::size_t>(near[i].index);
        for (std::size_t j = 0; j < i; ++j) {
            const auto pj = static_cast<std::size_t>(near[j].index);
            const double dy = placeY_[pi] - placeY_[pj], dx = placeX_[pi] - placeX_[pj];
            c[i * n + j] = sill * std::exp(-std::sqrt(dx * dx + dy * dy) / kSurveyRangeM);
        }
        c[i * n + i] = sill + kSurveyNuggetShare / count_[pi];
        scratch.toPoint[i] = sill * std::exp(-near[i].distance / kSurveyRangeM);
    }
    double local = 0.0;
    if (CholeskyFactor(c, n)) {
        CholeskySolve(c, n, scratch.toPoint);
        CholeskySolve(c, n, scratch.toOne);
        double sumPoint = 0.0, sumOne = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            sumPoint += scratch.toPoint[i];
            sumOne += scratch.toOne[i];
        }
        const double lagrange = (1.0 - sumPoint) / sumOne;
        for (std::size_t i = 0; i < n; ++i)
            local += (scratch.toPoint[i] + lagrange * scratch.toOne[i]) *
                     residual_[static_cast<std::size_t>(near[i].index)];
    } else {
        // Only a covariance spoilt by rounding gets here: the plain mean.
        for (const CNeighbour& nb : near)
            local += residual_[static_cast<std::size_t>(nb.index)] / static_cast<double>(n);
    }
    return Trend(y, x) + local;
}

double CSurveyField::Predict(double y, double x, CScratch& scratch) const {
    if (HeardShare(y, x, scratch) < 0.5)
        return kNoSignalDbm;
    return Level(y, x, scratch);
}

CApMatrix PredictSurveyMatrix(const CAPInfo& ap, bool positionKnown,
                              std::span<const CDataPoint> locations,
                              const std::function<void(int row)>& rowDone) {
    const std::span<const CData> heard(ap.samples.data(), ap.samples.size());
    std::optional<std::array<double, 2>> centre;
    if (positionKnown)
        centre = ap.position;
    const CSurveyField field(heard, centre, locations);
    CSurveyField::CScratch scratch;

    return PredictOnApGrid(
        ap, [&](double y, double x) { return field.Predict(y, x, scratch); }, rowDone);
}

} // namespace tarvo
