#pragma once
// How the robust estimator's constants are chosen: on a set of training
// surveys (every survey but the one left out), with real surveys and
// simulated studies weighing the same.
//   maxLackOfFit: the value (1.00 .. 2.50 in steps of 0.05; the smaller of
//     equally good ones) that minimises the mean over the training surveys
//     of log(median error / baseline median), the baseline being the
//     strongest sample on a real survey and the better of the strongest
//     sample and the weighted centroid on a simulated one;
//   fitRadiusPerSpread, peakRadiusPerSpread: with that choice, the smallest
//     factor (steps of 0.01) at which the true position lies inside the
//     radius for at least 68 % of the training APs that took that branch
//     (each AP one vote: the peak branch has too few simulated APs for a
//     share of its own).
// "Mean over the training surveys" is the mean of the real surveys' mean
// and the simulated studies' mean (either alone when the other is empty).

#include "analysis/RobustPosition.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

namespace tarvo {

// One scored AP: where both branches put it and the baselines' errors.
struct CApEvidence {
    int survey = 0;
    bool real = false;
    double truthY = 0.0, truthX = 0.0;
    double strongestErrorM = 0.0, centroidErrorM = 0.0;
    CPositionCandidates candidates; // without the fitting readings
};

struct CScoredAp {
    double errorM = 0.0;
    bool covered = false;
    PositionEvidence evidence = PositionEvidence::Peak;
};

inline CScoredAp ScoreAp(const CApEvidence& ap, const CRobustConstants& constants) {
    const CRobustPosition p = ChoosePosition(ap.candidates, constants);
    CScoredAp s;
    s.errorM = std::hypot(p.y - ap.truthY, p.x - ap.truthX);
    s.covered = s.errorM <= p.uncertaintyM;
    s.evidence = p.evidence;
    return s;
}

inline double MedianOf(std::vector<double> v) {
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// The mean of per-survey values with real and simulated surveys weighing
// the same; surveys without a value are left out.
inline double GroupMean(const std::map<int, double>& bySurvey, const std::map<int, bool>& real) {
    double sum[2] = {0.0, 0.0};
    int count[2] = {0, 0};
    for (const auto& [survey, value] : bySurvey) {
        const int g = real.at(survey) ? 1 : 0;
        sum[g] += value;
        ++count[g];
    }
    if (count[0] == 0 && count[1] == 0)
        return 0.0;
    if (count[0] == 0 || count[1] == 0)
        return (sum[0] + sum[1]) / (count[0] + count[1]);
    return 0.5 * (sum[0] / count[0] + sum[1] / count[1]);
}

inline double ChoiceScore(const std::vector<const CApEvidence*>& training,
                          const CRobustConstants& constants) {
    std::map<int, std::vector<double>> errors, strongest, centroid;
    std::map<int, bool> real;
    for (const CApEvidence* ap : training) {
        errors[ap->survey].push_back(ScoreAp(*ap, constants).errorM);
        strongest[ap->survey].push_back(ap->strongestErrorM);
        centroid[ap->survey].push_back(ap->centroidErrorM);
        real[ap->survey] = ap->real;
    }
    std::map<int, double> logRatio;
    for (const auto& [survey, e] : errors) {
        double baseline = MedianOf(strongest[survey]);
        if (!real[survey])
            baseline = std::min(baseline, MedianOf(centroid[survey]));
        logRatio[survey] = std::log(std::max(MedianOf(e), 1e-3) / std::max(baseline, 1e-3));
    }
    return GroupMean(logRatio, real);
}

inline double RadiusFactorFor(const std::vector<const CApEvidence*>& training,
                              const CRobustConstants& constants, PositionEvidence branch) {
    auto coverage = [&](double factor) {
        CRobustConstants c = constants;
        if (branch == PositionEvidence::Fit)
            c.fitRadiusPerSpread = factor;
        else
            c.peakRadiusPerSpread = factor;
        int inside = 0, total = 0;
        for (const CApEvidence* ap : training) {
            const CScoredAp s = ScoreAp(*ap, c);
            if (s.evidence != branch)
                continue;
            ++total;
            inside += s.covered ? 1 : 0;
        }
        return total == 0 ? 1.0 : static_cast<double>(inside) / total;
    };
    for (int step = 1; step <= 2000; ++step)
        if (coverage(step * 0.01) >= kUncertaintyCoverage)
            return step * 0.01;
    return 20.0;
}

inline CRobustConstants ChooseConstants(const std::vector<const CApEvidence*>& training) {
    CRobustConstants best;
    double bestScore = std::numeric_limits<double>::infinity();
    for (int step = 0; step <= 30; ++step) {
        CRobustConstants c;
        c.maxLackOfFit = 1.0 + 0.05 * step;
        const double score = ChoiceScore(training, c);
        if (score < bestScore - 1e-12) {
            bestScore = score;
            best = c;
        }
    }
    best.fitRadiusPerSpread = RadiusFactorFor(training, best, PositionEvidence::Fit);
    best.peakRadiusPerSpread = RadiusFactorFor(training, best, PositionEvidence::Peak);
    return best;
}

} // namespace tarvo
