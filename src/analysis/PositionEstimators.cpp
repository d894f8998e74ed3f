#include "analysis/PositionEstimators.h"

#include "analysis/SampleSets.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace tarvo {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Height of a ceiling AP above a hand-held receiver, metres: it also keeps
// the model finite on the AP itself.
constexpr double kHeightM = 1.5;
// Path-loss exponents of 1.5 to 5.
constexpr double kSteepestSlope = -50.0;
constexpr double kFlattestSlope = -15.0;
// Search region: half-width a quarter of the longer box side, 8 to 30 m,
// around the centroid of the samples within 6 dB of the strongest.
constexpr double kExtentShare = 0.25;
constexpr double kMinHalfWidthM = 8.0;
constexpr double kMaxHalfWidthM = 30.0;
constexpr double kCentreWithinDb = 6.0;
constexpr int kGridPerAxis = 21;
// The pattern search stops below this step, metres.
constexpr double kFinestStepM = 0.01;
// Spread of the position prior around the centre, metres, and the residual
// spread assumed before the first fit has measured it, dB.
constexpr double kPriorSpreadM = 3.0;
constexpr double kAssumedSigmaDb = 5.0;
// Huber constant in robust standard deviations; the spread is never taken
// below 1 dB (averaged samples can fit a line almost exactly).
constexpr double kHuberK = 1.5;
constexpr double kMinSigmaDb = 1.0;

struct CProblem {
    std::vector<double> y, x, rssi, weight; // heard samples
    std::vector<double> silentY, silentX;   // no-signal samples
    double floorDbm = 0.0;                  // weakest level heard
    double centreY = 0.0, centreX = 0.0;
    double priorWeight = 0.0; // dB^2 per m^2 of distance from the centre
};

struct CCandidate {
    double y = 0.0, x = 0.0;
    double slope = 0.0, intercept = 0.0;
    double cost = kInf;
};

// The weighted least-squares line at (cy, cx), its slope held inside the
// allowed range (the cost is a parabola in the slope once the intercept is
// eliminated, so clamping the free slope gives the bounded minimum), and the
// cost: weighted squared residuals, the squared excess of no-signal samples
// predicted above the floor, and the prior. Infinite on a sample.
CCandidate Evaluate(const CProblem& p, double cy, double cx) {
    CCandidate c;
    c.y = cy;
    c.x = cx;
    const std::size_t n = p.y.size();
    double sw = 0, sl = 0, sr = 0, sll = 0, slr = 0, srr = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dy = p.y[i] - cy, dx = p.x[i] - cx;
        const double planar2 = dy * dy + dx * dx;
        if (planar2 < 1e-12)
            return c;
        const double l = 0.5 * std::log10(planar2 + kHeightM * kHeightM);
        const double w = p.weight[i], r = p.rssi[i];
        sw += w;
        sl += w * l;
        sr += w * r;
        sll += w * l * l;
        slr += w * l * r;
        srr += w * r * r;
    }
    const double ml = sl / sw, mr = sr / sw;
    const double sxx = sll - sw * ml * ml, sxy = slr - sw * ml * mr, syy = srr - sw * mr * mr;
    const double free = sxx > 0.0 ? sxy / sxx : kFlattestSlope;
    c.slope = std::clamp(free, kSteepestSlope, kFlattestSlope);
    c.intercept = mr - c.slope * ml;
    double cost = std::max(syy - 2.0 * c.slope * sxy + c.slope * c.slope * sxx, 0.0);
    for (std::size_t i = 0; i < p.silentY.size(); ++i) {
        const double dy = p.silentY[i] - cy, dx = p.silentX[i] - cx;
        const double planar2 = dy * dy + dx * dx;
        if (planar2 < 1e-12)
            return c;
        const double over =
            c.intercept + c.slope * 0.5 * std::log10(planar2 + kHeightM * kHeightM) - p.floorDbm;
        if (over > 0.0)
            cost += over * over;
    }
    const double py = cy - p.centreY, px = cx - p.centreX;
    c.cost = cost + p.priorWeight * (py * py + px * px);
    return c;
}

struct CRegion {
    double loY, hiY, loX, hiX;
};

// Pattern search from start: the eight neighbours at the current step, the
// step halved when none is better; held inside the region.
CCandidate Refine(const CProblem& p, const CRegion& region, CCandidate best, double step) {
    static constexpr int kDy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
    static constexpr int kDx[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
    while (step > kFinestStepM) {
        bool moved = false;
        for (int k = 0; k < 8; ++k) {
            const double y = std::clamp(best.y + kDy[k] * step, region.loY, region.hiY);
            const double x = std::clamp(best.x + kDx[k] * step, region.loX, region.hiX);
            const CCandidate c = Evaluate(p, y, x);
            if (c.cost < best.cost) {
                best = c;
                moved = true;
            }
        }
        if (!moved)
            step /= 2.0;
    }
    return best;
}

double Median(std::vector<double> v) {
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    return v[mid];
}

} // namespace

CPositionEstimate FitPositionJointly(std::span<const CData> thinned, double extentY,
                                     double extentX) {
    CProblem p;
    double strongest = -kInf;
    p.floorDbm = kInf;
    for (const CData& s : thinned) {
        if (s.rssi > kNoSignalDbm) {
            p.y.push_back(s.y);
            p.x.push_back(s.x);
            p.rssi.push_back(s.rssi);
            p.weight.push_back(1.0);
            strongest = std::max(strongest, s.rssi);
            p.floorDbm = std::min(p.floorDbm, s.rssi);
        } else {
            p.silentY.push_back(s.y);
            p.silentX.push_back(s.x);
        }
    }
    CPositionEstimate result;
    if (p.y.size() < 3)
        return result;

    double sw = 0.0, sy = 0.0, sx = 0.0;
    for (std::size_t i = 0; i < p.y.size(); ++i) {
        if (p.rssi[i] < strongest - kCentreWithinDb)
            continue;
        const double w = std::pow(10.0, (p.rssi[i] - strongest) / 10.0);
        sw += w;
        sy += w * p.y[i];
        sx += w * p.x[i];
    }
    p.centreY = sy / sw;
    p.centreX = sx / sw;
    p.priorWeight = kAssumedSigmaDb * kAssumedSigmaDb / (kPriorSpreadM * kPriorSpreadM);
    const double half =
        std::clamp(kExtentShare * std::max(extentY, extentX), kMinHalfWidthM, kMaxHalfWidthM);
    const CRegion region{p.centreY - half, p.centreY + half, p.centreX - half, p.centreX + half};

    const double step = 2.0 * half / (kGridPerAxis - 1);
    CCandidate best;
    for (int i = 0; i < kGridPerAxis; ++i)
        for (int j = 0; j < kGridPerAxis; ++j) {
            const CCandidate c = Evaluate(p, region.loY + i * step, region.loX + j * step);
            if (c.cost < best.cost)
                best = c;
        }
    if (!std::isfinite(best.cost))
        return result;
    best = Refine(p, region, best, step / 2.0);

    // Huber weights from the residuals of that fit, then search again from
    // there: samples behind walls or in a reflection pull less.
    std::vector<double> absResidual(p.y.size());
    for (std::size_t i = 0; i < p.y.size(); ++i) {
        const double dy = p.y[i] - best.y, dx = p.x[i] - best.x;
        const double l = 0.5 * std::log10(dy * dy + dx * dx + kHeightM * kHeightM);
        absResidual[i] = std::fabs(p.rssi[i] - best.intercept - best.slope * l);
    }
    const double sigma = std::max(1.4826 * Median(absResidual), kMinSigmaDb);
    const double limit = kHuberK * sigma;
    for (std::size_t i = 0; i < p.y.size(); ++i)
        if (absResidual[i] > limit)
            p.weight[i] = limit / absResidual[i];
    p.priorWeight = sigma * sigma / (kPriorSpreadM * kPriorSpreadM);
    best = Refine(p, region, Evaluate(p, best.y, best.x), step / 2.0);

    result.ok = std::isfinite(best.cost);
    result.y = best.y;
    result.x = best.x;
    result.slope = best.slope;
    result.intercept = best.intercept;
    return result;
}

} // namespace tarvo
