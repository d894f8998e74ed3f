#include "analysis/PathLossFit.h"

#include "analysis/Numerics.h"
#include "analysis/PointGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace tarvo {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// The robust scale is never taken below 1 dB: averaged readings can lie
// on a line almost exactly.
constexpr double kMinScaleDb = 1.0;
// Reweighting rounds of the Huber line at each candidate.
constexpr int kHuberRounds = 2;
// The pattern search stops below this step, metres.
constexpr double kFinestStepM = 0.01;
// The spread is measured again on a fine grid of this many points per
// axis over one coarse step around the position.
// Candidates whose criterion exceeds the best by this much weigh nothing
// in the spread (less than exp(-100 / 6.25) at a lack of fit of 2.5): their
// no-signal part is not computed.
constexpr double kNegligibleCost = 100.0;
constexpr int kFineGridPerAxis = 11;

double Huber(double u) {
    const double a = std::fabs(u);
    return a <= kHuberK ? 0.5 * u * u : kHuberK * (a - 0.5 * kHuberK);
}

double HuberWeight(double u) {
    const double a = std::fabs(u);
    return a <= kHuberK ? 1.0 : kHuberK / a;
}

double LogDistance(double dy, double dx) {
    return 0.5 * std::log10(dy * dy + dx * dx + kApHeightM * kApHeightM);
}

double MedianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// Sums of a weighted least-squares line of r over l.
struct CLineSums {
    double sw = 0.0, sl = 0.0, sr = 0.0, sll = 0.0, slr = 0.0;
    void Add(double w, double l, double r) {
        sw += w;
        sl += w * l;
        sr += w * r;
        sll += w * l * l;
        slr += w * l * r;
    }
    // The line; the slope clamped to the bounds when `bounded` (for fixed
    // weights the criterion is a parabola in the slope once the intercept
    // is eliminated, so the clamp is the bounded minimum). Equal l values:
    // the flattest slope when bounded, else no slope (NaN).
    CPathLossLine Line(bool bounded) const {
        const double ml = sl / sw, mr = sr / sw;
        const double sxx = sll - sw * ml * ml, sxy = slr - sw * ml * mr;
        double slope = sxx > 0.0 ? sxy / sxx : std::numeric_limits<double>::quiet_NaN();
        if (bounded)
            slope = sxx > 0.0 ? std::clamp(slope, kSteepestSlopeDb, kFlattestSlopeDb)
                              : kFlattestSlopeDb;
        return {slope, mr - slope * ml};
    }
};

// The Huber line at one position: least squares, then kHuberRounds
// reweightings with the residuals scaled by scaleDb (each round weighs the
// residuals of the line before it). Leaves the criterion of the readings
// in `cost`.
CPathLossLine HuberLine(const std::vector<double>& l, std::span<const double> r, double scaleDb,
                        bool bounded, double& cost) {
    CLineSums sums;
    for (std::size_t i = 0; i < l.size(); ++i)
        sums.Add(1.0, l[i], r[i]);
    CPathLossLine line = sums.Line(bounded);
    for (int round = 0; round < kHuberRounds; ++round) {
        CLineSums next;
        for (std::size_t i = 0; i < l.size(); ++i)
            next.Add(HuberWeight((r[i] - line.intercept - line.slope * l[i]) / scaleDb), l[i],
                     r[i]);
        line = next.Line(bounded);
    }
    cost = 0.0;
    for (std::size_t i = 0; i < l.size(); ++i)
        cost += Huber((r[i] - line.intercept - line.slope * l[i]) / scaleDb);
    return line;
}

struct CCandidate {
    double y = 0.0, x = 0.0;
    CPathLossLine line;
    double cost = kInf;
    bool complete = false; // cost holds the no-signal part too
};

class CFitProblem {
public:
    explicit CFitProblem(const CPathLossFitInput& in) : in_(in) {
        const std::size_t n = in.fitting.size();
        y_.resize(n);
        x_.resize(n);
        r_.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            y_[i] = in.fitting[i].y;
            x_[i] = in.fitting[i].x;
            r_[i] = in.fitting[i].rssi;
        }
        std::vector<double> sy(in.silent.size()), sx(in.silent.size());
        for (std::size_t i = 0; i < in.silent.size(); ++i) {
            sy[i] = in.silent[i].y;
            sx[i] = in.silent[i].x;
        }
        silent_ = CPointGrid(std::move(sy), std::move(sx));
        l_.resize(n);
    }

    // The robust scale: the median absolute residual of the bounded
    // least-squares line at the centre, as a standard deviation.
    void SetScaleAtCentre() {
        Logs(in_.centreY, in_.centreX);
        CLineSums sums;
        for (std::size_t i = 0; i < l_.size(); ++i)
            sums.Add(1.0, l_[i], r_[i]);
        const CPathLossLine line = sums.Line(true);
        std::vector<double> absResidual(l_.size());
        for (std::size_t i = 0; i < l_.size(); ++i)
            absResidual[i] = std::fabs(r_[i] - line.intercept - line.slope * l_[i]);
        scaleDb_ = std::max(1.4826 * MedianOf(std::move(absResidual)), kMinScaleDb);
    }

    // The criterion at (y, x). The no-signal part is added only when the
    // heard part stays below `bound`: above it (the no-signal part is never
    // negative) the candidate cannot win, and `complete` stays false.
    CCandidate Evaluate(double y, double x, double bound = kInf) {
        CCandidate c;
        c.y = y;
        c.x = x;
        Logs(y, x);
        double cost = 0.0;
        c.line = HuberLine(l_, r_, scaleDb_, true, cost);
        c.cost = std::isfinite(cost) ? cost : kInf;
        if (c.cost < bound)
            AddSilent(c);
        return c;
    }

    // Places without the AP, where the line predicts it above the weakest
    // level heard: predicted > floor means 0.5 log10(d^2 + h^2) < (floor -
    // intercept) / slope, so only places within that range are visited.
    void AddSilent(CCandidate& c) const {
        c.complete = true;
        const double limit = 2.0 * (in_.weakestHeardDbm - c.line.intercept) / c.line.slope;
        const double h2 = kApHeightM * kApHeightM;
        if (!(limit < 300.0)) {
            c.cost = kInf; // a line that never falls to the floor: no fit
            return;
        }
        const double reach2 = std::pow(10.0, limit) - h2;
        if (!(reach2 > 0.0))
            return;
        double cost = c.cost;
        silent_.ForEachWithin(c.y, c.x, std::sqrt(reach2), [&](std::size_t, double d2) {
            const double predicted = c.line.intercept + c.line.slope * 0.5 * std::log10(d2 + h2);
            const double over = (predicted - in_.weakestHeardDbm) / scaleDb_;
            if (over > 0.0)
                cost += Huber(over);
        });
        c.cost = std::isfinite(cost) ? cost : kInf;
    }

    double ScaleDb() const { return scaleDb_; }

private:
    void Logs(double y, double x) {
        for (std::size_t i = 0; i < l_.size(); ++i)
            l_[i] = LogDistance(y_[i] - y, x_[i] - x);
    }

    const CPathLossFitInput& in_;
    std::vector<double> y_, x_, r_, l_;
    CPointGrid silent_;
    double scaleDb_ = kMinScaleDb;
};

struct CSquare {
    double loY, hiY, loX, hiX;
};

// Pattern search from start: the eight neighbours at the current step, the
// step halved when none is better; held inside the square.
CCandidate Refine(CFitProblem& p, const CSquare& sq, CCandidate best, double step) {
    static constexpr int kDy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
    static constexpr int kDx[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
    while (step > kFinestStepM) {
        bool moved = false;
        for (int k = 0; k < 8; ++k) {
            const double y = std::clamp(best.y + kDy[k] * step, sq.loY, sq.hiY);
            const double x = std::clamp(best.x + kDx[k] * step, sq.loX, sq.hiX);
            const CCandidate c = p.Evaluate(y, x, best.cost);
            if (c.complete && c.cost < best.cost) {
                best = c;
                moved = true;
            }
        }
        if (!moved)
            step /= 2.0;
    }
    return best;
}

// Weighted second moment of the positions around (y, x): sums of weight
// and weight * squared distance.
struct CMoment {
    double weight = 0.0, weightedD2 = 0.0;
    void Add(double w, double dy, double dx) {
        weight += w;
        weightedD2 += w * (dy * dy + dx * dx);
    }
};

} // namespace

CPathLossFit FitPathLoss(const CPathLossFitInput& input) {
    CPathLossFit fit;
    if (input.fitting.size() < 3 || !(input.halfWidthM > 0.0))
        return fit;
    CFitProblem problem(input);
    problem.SetScaleAtCentre();

    const int n = kFitGridPerAxis;
    const double half = input.halfWidthM;
    const CSquare sq{input.centreY - half, input.centreY + half, input.centreX - half,
                     input.centreX + half};
    const double step = 2.0 * half / (n - 1);
    // The heard part everywhere first; the no-signal part then in order of
    // the heard part, until the rest cannot come near the best.
    std::vector<CCandidate> grid(static_cast<std::size_t>(n) * n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            grid[static_cast<std::size_t>(i) * n + j] =
                problem.Evaluate(sq.loY + i * step, sq.loX + j * step, -kInf);
    std::vector<std::size_t> order(grid.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return grid[a].cost < grid[b].cost; });
    CCandidate best;
    std::size_t bestIndex = grid.size();
    for (std::size_t k : order) {
        CCandidate& c = grid[k];
        if (!(c.cost < best.cost + kNegligibleCost))
            break;
        problem.AddSilent(c);
        if (c.cost < best.cost || (c.cost == best.cost && k < bestIndex)) {
            best = c;
            bestIndex = k;
        }
    }
    if (!std::isfinite(best.cost))
        return fit;
    best = Refine(problem, sq, best, step / 2.0);

    fit.ok = true;
    fit.criterion = best.cost;
    fit.criterionAtCentre = problem.Evaluate(input.centreY, input.centreX).cost;
    fit.y = best.y;
    fit.x = best.x;
    fit.line = best.line;
    fit.slopeAtBound = best.line.slope <= kSteepestSlopeDb || best.line.slope >= kFlattestSlopeDb;
    fit.onBorder = std::fabs(best.y - input.centreY) > half - step / 2.0 ||
                   std::fabs(best.x - input.centreX) > half - step / 2.0;

    double sumAbs = 0.0;
    const double heardCount = static_cast<double>(input.heard.size());
    for (const CData& s : input.heard)
        sumAbs += std::fabs(s.rssi - best.line.intercept -
                            best.line.slope * LogDistance(s.y - best.y, s.x - best.x)) /
                  heardCount;
    fit.residualDb = sumAbs * std::sqrt(std::numbers::pi / 2.0);
    fit.lackOfFit = fit.residualDb / input.readingNoiseDb;

    // The spread: the coarse grid outside one step of the position, a fine
    // grid within it, each point weighted by the area it stands for.
    // Weights are taken against the lowest criterion met (the fine grid may
    // meet one a little below the pattern search's), so none exceeds 1.
    const int m = kFineGridPerAxis;
    const double fine = 2.0 * step / (m - 1);
    std::vector<CCandidate> around;
    double lowest = best.cost;
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j) {
            around.push_back(problem.Evaluate(best.y - step + i * fine, best.x - step + j * fine));
            lowest = std::min(lowest, around.back().cost);
        }
    const double widen = std::max(fit.lackOfFit * fit.lackOfFit, 1e-12);
    CMoment moment;
    for (const CCandidate& c : grid) {
        const double dy = c.y - best.y, dx = c.x - best.x;
        if (!c.complete || (std::fabs(dy) < step && std::fabs(dx) < step))
            continue;
        moment.Add(std::exp(-(c.cost - lowest) / widen) * step * step, dy, dx);
    }
    for (const CCandidate& c : around)
        moment.Add(std::exp(-(c.cost - lowest) / widen) * fine * fine, c.y - best.y, c.x - best.x);
    fit.spreadM = moment.weight > 0.0 ? std::sqrt(moment.weightedD2 / moment.weight) : 0.0;
    return fit;
}

CApLine ApLineAt(std::span<const CData> fitting, double y, double x) {
    CApLine out;
    if (fitting.size() < 3)
        return out;
    std::vector<double> l(fitting.size()), r(fitting.size());
    CLineSums sums;
    for (std::size_t i = 0; i < fitting.size(); ++i) {
        l[i] = LogDistance(fitting[i].y - y, fitting[i].x - x);
        r[i] = fitting[i].rssi;
        sums.Add(1.0, l[i], r[i]);
    }
    const CPathLossLine ls = sums.Line(false);
    if (!std::isfinite(ls.slope))
        return out;
    std::vector<double> absResidual(l.size());
    for (std::size_t i = 0; i < l.size(); ++i)
        absResidual[i] = std::fabs(r[i] - ls.intercept - ls.slope * l[i]);
    const double scale = std::max(1.4826 * MedianOf(std::move(absResidual)), kMinScaleDb);
    double cost = 0.0;
    out.line = HuberLine(l, r, scale, false, cost);
    std::vector<double> residual(l.size());
    for (std::size_t i = 0; i < l.size(); ++i)
        residual[i] = r[i] - out.line.intercept - out.line.slope * l[i];
    out.sigmaDb = SampleStdDev(residual);
    out.ok = std::isfinite(out.line.slope) && std::isfinite(out.line.intercept);
    return out;
}

} // namespace tarvo
