#include "analysis/Estimation.h"

#include "analysis/Numerics.h"
#include "analysis/PositionEstimators.h"
#include "analysis/SampleSets.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace tarvo {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Progress of one AP within the bar range 1..99 shared by all APs; only
// changes of the whole percentage reach the dialog.
class CApProgress {
public:
    CApProgress(IProgress& progress, int apIndex, int apCount) : progress_(progress) {
        const double share = 98.0 / std::max(apCount, 1);
        low_ = 1.0 + share * apIndex;
        span_ = share;
    }
    void At(double fraction) {
        const int percent = static_cast<int>(low_ + span_ * std::clamp(fraction, 0.0, 1.0));
        if (percent != last_) {
            last_ = percent;
            progress_.SetPosition(percent);
        }
    }

private:
    IProgress& progress_;
    double low_ = 1.0;
    double span_ = 0.0;
    int last_ = -1;
};

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
                             double strongestX, double strongestDbm, double extentY, double extentX,
                             CApProgress& progress) {
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
        if (k % kCandidatesPerAxis == kCandidatesPerAxis - 1)
            progress.At(0.1 + 0.4 * (k + 1) / kCandidateCount);
    }

    int best = ArgMinFirst(error);
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

    const CSearchResult result = ModelAt(all, meanR, y, x, fit);
    progress.At(0.5);
    return result;
}

// The joint fit's position with the model the study method derives at any
// position; the study search stands in when the joint fit cannot place the AP.
CSearchResult JointPosition(const CSampleArrays& all, std::span<const CData> thinned, double meanR,
                            double strongestY, double strongestX, double strongestDbm,
                            double extentY, double extentX, CApProgress& progress) {
    const CPositionEstimate joint = FitPositionJointly(thinned, extentY, extentX);
    if (!joint.ok)
        return SearchPosition(all, meanR, strongestY, strongestX, strongestDbm, extentY, extentX,
                              progress);
    std::vector<double> dist(all.Size()), logDist(all.Size());
    const CSearchResult result =
        ModelAt(all, meanR, joint.y, joint.x, FitAt(all, joint.y, joint.x, dist, logDist));
    progress.At(0.5);
    return result;
}

int GridCount(double extent, double resolution) {
    const double count = extent / resolution;
    if (!(count < kMaxGridPointsPerAxis))
        return kMaxGridPointsPerAxis;
    return static_cast<int>(count);
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

void EstimateAp(CTarvoAnalyzerDoc& doc, int apIndex, IUiServices& ui) {
    CAPInfo& ap = doc.aps[apIndex];
    if (ap.samples.IsEmpty())
        return;
    IProgress& bar = ui.Progress();
    CApProgress progress(bar, apIndex, doc.aps.GetSize());

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

    AddNoSignalSamples(doc, apIndex);
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
        if (extentY < extentX) {
            doc.Resolution = extentY / 20;
            ap.rows = GridCount(extentX, doc.Resolution);
        } else {
            doc.Resolution = extentX / 20;
            ap.columns = GridCount(extentY, doc.Resolution);
        }
    }

    bar.SetText(Format("Process %d out of %d APs....", apIndex + 1, doc.aps.GetSize()));
    progress.At(0.1);

    const double meanR = Mean(thinned.rssi);
    CSearchResult fit;
    fit.positionY = ap.position[0];
    fit.positionX = ap.position[1];
    if (n >= doc.MinPointsForEstimate && n >= 1) {
        fit = doc.estimator == EstimatorKind::Joint
                  ? JointPosition(thinned, ap.filteredSamples.Vector(), meanR, strongestY,
                                  strongestX, strongestDbm, extentY, extentX, progress)
                  : SearchPosition(thinned, meanR, strongestY, strongestX, strongestDbm, extentY,
                                   extentX, progress);
        ap.position = {fit.positionY, fit.positionX};
    }

    if (n < 3)
        return;
    const int rows = ap.rows, columns = ap.columns;
    const double stepX = extentX / (rows - 1);
    const double stepY = extentY / (columns - 1);
    ap.matrix.Vector().assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns),
                              0.0);
    double minValue = meanR, maxValue = meanR;
    const bool mixModel = fit.slope < kValidSlope;
    std::vector<double> dist(thinned.Size());
    double* out = ap.matrix.data();
    for (int r = 0; r < rows; ++r) {
        const double gx = minX + r * stepX;
        for (int c = 0; c < columns; ++c) {
            const double gy = minY + c * stepY;
            for (std::size_t s = 0; s < thinned.Size(); ++s) {
                const double dx = thinned.x[s] - gx;
                const double dy = thinned.y[s] - gy;
                dist[s] = std::sqrt(dx * dx + dy * dy);
            }
            const double v = InterpolateNearest3(dist, thinned.rssi);
            double value = v;
            if (mixModel) {
                const double dx = gx - fit.positionX;
                const double dy = gy - fit.positionY;
                const double model =
                    fit.slope * std::log10(std::sqrt(dx * dx + dy * dy)) + fit.intercept;
                // On the AP itself the model has no value (log of 0); the
                // interpolation alone stands there.
                if (std::isfinite(model))
                    value = 0.6 * model + 0.4 * v;
            }
            out[static_cast<std::size_t>(r) * columns + c] = value;
            if (value < minValue)
                minValue = value;
            if (value > maxValue)
                maxValue = value;
        }
        progress.At(0.5 + 0.5 * (r + 1) / rows);
    }

    // A usable model needs a finite fit as well as a steep enough slope.
    const bool finiteFit = std::isfinite(fit.intercept) && std::isfinite(fit.sigma);
    if (fit.slope <= kValidSlope && finiteFit) {
        ap.valid = 1;
        ap.slope = fit.slope;
        ap.intercept = fit.intercept;
        ap.sigma = fit.sigma;
    } else {
        ap.valid = 0;
    }
    ap.maxValue = maxValue;
    ap.minValue = minValue;
}

} // namespace tarvo
