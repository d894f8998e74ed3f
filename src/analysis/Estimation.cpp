#include "analysis/Estimation.h"

#include "analysis/ApGridLimit.h"
#include "analysis/ApModel.h"
#include "analysis/CoverageModels.h"
#include "analysis/Grid.h"
#include "analysis/Numerics.h"
#include "analysis/ParallelRows.h"
#include "analysis/PositionEstimators.h"
#include "analysis/RobustPosition.h"
#include "analysis/SampleSets.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <utility>
#include <vector>

namespace tarvo {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The thinned samples as separate arrays, with the RSSI centred on its mean
// once so that every fit over them reuses the same centred values.
struct CSampleArrays {
    std::vector<double> y, x, rssi, rssiCentred;

    void Resize(std::size_t n) {
        y.resize(n);
        x.resize(n);
        rssi.resize(n);
        rssiCentred.resize(n);
    }
    std::size_t Size() const { return y.size(); }
};

// One least-squares fit of RSSI over log10 distance from (cy, cx). Fills
// the distance and logarithm arrays (each distance's logarithm is taken
// once) and returns the slope and Mean(log distances). The sums follow
// LeastSquaresSlope term for term, so the slope is bit-identical to it.
struct CFit {
    double slope = 0.0;
    double meanLog = 0.0;
};

CFit FitAt(const CSampleArrays& s, double cy, double cx, std::vector<double>& dist,
           std::vector<double>& logDist) {
    const std::size_t n = s.Size();
    const double nd = static_cast<double>(n);
    double meanLog = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = s.x[i] - cx;
        const double dy = s.y[i] - cy;
        dist[i] = std::sqrt(dx * dx + dy * dy);
        logDist[i] = std::log10(dist[i]);
        meanLog += logDist[i] / nd;
    }
    double numerator = 0.0, denominator = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        numerator += s.rssiCentred[i] * logDist[i];
        denominator += (logDist[i] - meanLog) * logDist[i];
    }
    return {numerator / denominator, meanLog};
}

void Centre(CSampleArrays& s) {
    const double mean = Mean(s.rssi);
    for (std::size_t i = 0; i < s.Size(); ++i)
        s.rssiCentred[i] = s.rssi[i] - mean;
}

struct CSearchResult {
    double positionY = 0.0, positionX = 0.0;
    double slope = 0.0, intercept = 0.0, sigma = 0.0;
};

// The model at a chosen position: the fit over all thinned samples there,
// its intercept and the spread of its residuals.
CSearchResult ModelAt(const CSampleArrays& all, double meanR, double y, double x, const CFit& fit) {
    CSearchResult result;
    result.positionY = y;
    result.positionX = x;
    result.slope = fit.slope;
    result.intercept = meanR - fit.slope * fit.meanLog;
    std::vector<double> residual(all.Size());
    for (std::size_t s = 0; s < all.Size(); ++s) {
        const double dx = all.x[s] - x;
        const double dy = all.y[s] - y;
        residual[s] =
            all.rssi[s] - fit.slope * 0.5 * std::log10(dx * dx + dy * dy) - result.intercept;
    }
    result.sigma = SampleStdDev(residual);
    return result;
}

// Position search, refit, rejection of rising fits, intercept and sigma.
CSearchResult SearchPosition(const CSampleArrays& all, double meanR, double strongestY,
                             double strongestX, double strongestDbm, double extentY,
                             double extentX) {
    double hY = 0.25 * extentY, hX = 0.25 * extentX;
    const double cap = SearchHalfWidthCap(strongestDbm);
    if (hY > cap)
        hY = cap;
    if (hX > cap)
        hX = cap;

    double candY[kCandidatesPerAxis], candX[kCandidatesPerAxis];
    const double loY = strongestY - hY, hiY = strongestY + hY;
    const double loX = strongestX - hX, hiX = strongestX + hX;
    for (int j = 0; j < kCandidatesPerAxis; ++j) {
        candX[j] = loX + j * (hiX - loX) / 30;
        candY[j] = loY + j * (hiY - loY) / 30;
    }

    // Fitting set: the strong samples once there are enough of them.
    const std::size_t n = all.Size();
    std::size_t strong = 0;
    for (double r : all.rssi)
        if (r > kStrongSampleDbm)
            ++strong;
    CSampleArrays subset;
    const CSampleArrays* fitting = &all;
    if (strong >= static_cast<std::size_t>(kStrongSampleThreshold)) {
        subset.Resize(strong);
        std::size_t k = 0;
        for (std::size_t i = 0; i < n; ++i)
            if (all.rssi[i] > kStrongSampleDbm) {
                subset.y[k] = all.y[i];
                subset.x[k] = all.x[i];
                subset.rssi[k] = all.rssi[i];
                ++k;
            }
        Centre(subset);
        fitting = &subset;
    }

    const std::size_t f = fitting->Size();
    std::vector<double> dist(std::max(n, f)), logDist(std::max(n, f));
    std::vector<double> error(kCandidateCount);
    for (int k = 0; k < kCandidateCount; ++k) {
        const double y = candY[k / kCandidatesPerAxis];
        const double x = candX[k % kCandidatesPerAxis];
        const CFit fit = FitAt(*fitting, y, x, dist, logDist);
        const double a = meanR - fit.slope * fit.meanLog;
        double gx = 0.0, gy = 0.0;
        for (std::size_t s = 0; s < f; ++s) {
            const double r = fitting->rssi[s] - fit.slope * logDist[s] - a;
            gx += r * (fitting->x[s] - x) / dist[s];
            gy += r * (fitting->y[s] - y) / dist[s];
        }
        error[k] = std::sqrt(gx * gx + gy * gy);
    }

    int best = ArgMinFirst(error);
    if (best < 0) {
        // Every candidate lies on a sample or fits no line: the AP stays at
        // its strongest sample, without a model.
        CSearchResult none;
        none.positionY = strongestY;
        none.positionX = strongestX;
        return none;
    }
    double y = candY[best / kCandidatesPerAxis], x = candX[best % kCandidatesPerAxis];
    CFit fit = FitAt(all, y, x, dist, logDist);

    // A rising fit cannot describe an AP: try the next-best candidates.
    const double errMax = MaxOfErrors(error);
    for (int repeat = 0; fit.slope > 0.0 && fit.slope < 5.0 && repeat < kCandidateCount; ++repeat) {
        error[best] = errMax;
        best = ArgMinFirst(error);
        y = candY[best / kCandidatesPerAxis];
        x = candX[best % kCandidatesPerAxis];
        fit = FitAt(all, y, x, dist, logDist);
    }

    return ModelAt(all, meanR, y, x, fit);
}

// The joint fit's position with the model the study method derives at any
// position; the study search stands in when the joint fit cannot place the AP.
CSearchResult JointPosition(const CSampleArrays& all, std::span<const CData> thinned, double meanR,
                            double strongestY, double strongestX, double strongestDbm,
                            double extentY, double extentX) {
    const CPositionEstimate joint = FitPositionJointly(thinned, extentY, extentX);
    if (!joint.ok)
        return SearchPosition(all, meanR, strongestY, strongestX, strongestDbm, extentY, extentX);
    std::vector<double> dist(all.Size()), logDist(all.Size());
    return ModelAt(all, meanR, joint.y, joint.x, FitAt(all, joint.y, joint.x, dist, logDist));
}

// The robust estimator's position with its own model there (the Huber line
// with the AP above the receiver: a position on the walk would leave the
// plain least-squares fit with one reading at distance 0) and the radius;
// the study search stands in when no reading was heard.
CSearchResult RobustPosition(const CSampleArrays& all, const CEstimationInputs& inputs,
                             const CAPInfo& ap, double meanR, double strongestY, double strongestX,
                             double strongestDbm, double extentY, double extentX,
                             double& uncertaintyM) {
    const std::vector<CSitePlace> silent = NoSignalPlaces(inputs.points, ap);
    const CPositionCandidates candidates =
        FindPositionCandidates(ap.samples.Vector(), silent, ap.frequency, extentY, extentX);
    const CRobustPosition chosen = ChoosePosition(candidates);
    if (!chosen.ok)
        return SearchPosition(all, meanR, strongestY, strongestX, strongestDbm, extentY, extentX);
    uncertaintyM = chosen.uncertaintyM;
    CSearchResult result;
    result.positionY = chosen.y;
    result.positionX = chosen.x;
    const CApLine line = ApLineAt(candidates.fitting, chosen.y, chosen.x);
    if (line.ok) {
        result.slope = line.line.slope;
        result.intercept = line.line.intercept;
        result.sigma = line.sigmaDb;
    }
    return result;
}

} // namespace

double SearchHalfWidthCap(double strongestDbm) {
    if (strongestDbm > -30.0)
        return 3.0;
    if (strongestDbm > -40.0)
        return 6.0;
    if (strongestDbm > -50.0)
        return 9.0;
    if (strongestDbm > -60.0)
        return 12.0;
    return kInf;
}

CEstimationInputs EstimationInputsOf(const CTarvoAnalyzerDoc& doc) {
    return {doc.points.Vector(), doc.MinPointsForEstimate, doc.estimator, doc.coverageModel,
            StudySampleCount(doc)};
}

CApEstimate EstimateAp(const CEstimationInputs& inputs, CAPInfo& ap) {
    CApEstimate estimate;
    if (ap.samples.IsEmpty())
        return estimate;

    // Sample box and the strongest sample (the first of equal strongest).
    const CData& first = ap.samples[0];
    double minY = first.y, maxY = first.y, minX = first.x, maxX = first.x;
    const CData* strongest = &first;
    for (const CData& s : ap.samples) {
        minY = std::min(minY, s.y);
        maxY = std::max(maxY, s.y);
        minX = std::min(minX, s.x);
        maxX = std::max(maxX, s.x);
        if (s.rssi > strongest->rssi)
            strongest = &s;
    }
    const double strongestY = strongest->y, strongestX = strongest->x;
    const double strongestDbm = strongest->rssi;
    const double extentY = maxY - minY, extentX = maxX - minX;
    ap.origin = {minY, minX};
    ap.extent = {extentY, extentX};

    AddNoSignalSamples(inputs.points, ap);
    CSampleArrays thinned;
    thinned.Resize(ap.filteredSamples.size());
    for (std::size_t i = 0; i < thinned.Size(); ++i) {
        const CData& s = ap.filteredSamples.Vector()[i];
        thinned.y[i] = s.y;
        thinned.x[i] = s.x;
        thinned.rssi[i] = s.rssi;
    }
    Centre(thinned);
    const int n = static_cast<int>(thinned.Size());

    // The shorter side gets 20 grid points, the longer one as many at the
    // same spacing (bounded).
    ap.rows = kShortSideGridPoints;
    ap.columns = kShortSideGridPoints;
    if (extentY > 0.0 && extentX > 0.0) {
        const double resolution = std::min(extentY, extentX) / 20;
        if (extentY < extentX)
            ap.rows = GridCount(extentX, resolution);
        else
            ap.columns = GridCount(extentY, resolution);
        estimate.resolution = resolution;
    }
    LimitApGridToSamples(inputs.studySamples, ap);

    const double meanR = Mean(thinned.rssi);
    CSearchResult fit;
    fit.positionY = ap.position[0];
    fit.positionX = ap.position[1];
    ap.uncertaintyM = 0.0;
    if (n >= inputs.minPointsForEstimate && n >= 1) {
        switch (inputs.estimator) {
        case EstimatorKind::Joint:
            fit = JointPosition(thinned, ap.filteredSamples.Vector(), meanR, strongestY, strongestX,
                                strongestDbm, extentY, extentX);
            break;
        case EstimatorKind::Robust:
            fit = RobustPosition(thinned, inputs, ap, meanR, strongestY, strongestX, strongestDbm,
                                 extentY, extentX, ap.uncertaintyM);
            break;
        case EstimatorKind::Study:
            fit = SearchPosition(thinned, meanR, strongestY, strongestX, strongestDbm, extentY,
                                 extentX);
            break;
        }
        ap.position = {fit.positionY, fit.positionX};
    }

    if (!HasCoverageSamples(ap))
        return estimate;
    const bool positionKnown = n >= inputs.minPointsForEstimate && n >= 1;
    CApMatrix matrix = PredictModelMatrix(ap, inputs.coverageModel, inputs.points, fit.slope,
                                          fit.intercept, positionKnown);
    ap.matrix.Vector() = std::move(matrix.values);

    // A usable model needs a finite fit as well as a steep enough slope.
    if (IsAcceptedFit(fit.slope, fit.intercept) && std::isfinite(fit.sigma)) {
        ap.valid = 1;
        ap.slope = fit.slope;
        ap.intercept = fit.intercept;
        ap.sigma = fit.sigma;
    } else {
        ap.valid = 0;
    }
    ap.maxValue = matrix.maxValue;
    ap.minValue = matrix.minValue;
    return estimate;
}

void EstimateAps(CTarvoAnalyzerDoc& doc, IProgress& progress, unsigned threads) {
    const int count = doc.aps.GetSize();
    const CEstimationInputs inputs = EstimationInputsOf(doc);
    std::vector<CApEstimate> estimates(static_cast<std::size_t>(count));

    // APs end in any order; the dialog hears of them in index order.
    std::mutex reportMutex;
    std::vector<char> done(static_cast<std::size_t>(count), 0);
    int reported = 0;
    const auto finished = [&](int i) {
        std::lock_guard lock(reportMutex);
        done[static_cast<std::size_t>(i)] = 1;
        for (; reported < count && done[static_cast<std::size_t>(reported)]; ++reported) {
            if (doc.aps[reported].samples.IsEmpty())
                continue;
            progress.SetText(Format("Process %d out of %d APs....", reported + 1, count));
            progress.SetPosition(1 + 98 * (reported + 1) / count);
        }
    };
    RunRowsInParallel(count, threads, [&]() -> RowWork {
        return [&](int i) {
            progress.ThrowIfCancelled(); // stops the handing out of APs
            estimates[static_cast<std::size_t>(i)] = EstimateAp(inputs, doc.aps[i]);
            finished(i);
        };
    });

    for (const CApEstimate& estimate : estimates)
        if (estimate.resolution)
            doc.Resolution = *estimate.resolution;
}

} // namespace tarvo
