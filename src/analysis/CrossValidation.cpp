#include "analysis/CrossValidation.h"

#include "analysis/ApModel.h"
#include "analysis/Estimation.h"
#include "analysis/ParallelRows.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <unordered_map>

namespace tarvo {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t MacKey(const MacAddress& mac) {
    std::uint64_t key = 0;
    for (std::uint8_t b : mac)
        key = key << 8 | b;
    return key;
}

// For each AP, the location of each of its samples in sample order, found
// by grouping the samples of the selected files' locations as a load does;
// empty for an AP whose samples do not match.
std::vector<std::vector<int>> SampleLocations(const CTarvoAnalyzerDoc& doc) {
    const int apCount = doc.aps.GetSize();
    std::vector<std::vector<int>> locations(static_cast<std::size_t>(apCount));
    std::vector<char> broken(static_cast<std::size_t>(apCount), 0);
    std::unordered_map<std::uint64_t, int> apOfMac;
    int created = 0, nextPoint = 0;
    for (const CDataFile& file : doc.files) {
        if (file.selected == 0)
            continue;
        if (!doc.MergeApsAcrossFiles)
            apOfMac.clear();
        const int end = std::min(doc.points.GetSize(), nextPoint + std::max(0, file.pointCount));
        for (int p = nextPoint; p < end; ++p) {
            for (const CDataSsd& s : doc.points[p].samples) {
                auto [it, isNew] = apOfMac.try_emplace(MacKey(s.bssid), created);
                if (isNew)
                    ++created;
                const int a = it->second;
                if (a >= apCount)
                    continue;
                if (doc.aps[a].bssid != s.bssid)
                    broken[static_cast<std::size_t>(a)] = 1;
                locations[static_cast<std::size_t>(a)].push_back(p);
            }
        }
        nextPoint = end;
    }
    for (int a = 0; a < apCount; ++a) {
        auto& list = locations[static_cast<std::size_t>(a)];
        if (broken[static_cast<std::size_t>(a)] ||
            list.size() != static_cast<std::size_t>(doc.aps[a].samples.GetSize()))
            list.clear();
    }
    return locations;
}

// What one AP of one fold contributes.
struct CUnitResult {
    std::vector<double> errors;
    std::int64_t pairs = 0, unheard = 0, falseCovered = 0;
};

} // namespace

std::vector<int> FoldsOfLocations(int locations, int folds, FoldScheme scheme) {
    std::vector<int> fold(static_cast<std::size_t>(std::max(locations, 0)), 0);
    if (locations <= 0 || folds <= 0)
        return fold;
    if (scheme == FoldScheme::Block) {
        for (int i = 0; i < locations; ++i)
            fold[static_cast<std::size_t>(i)] = static_cast<int>(
                static_cast<std::int64_t>(i) * folds / static_cast<std::int64_t>(locations));
        return fold;
    }
    std::vector<int> order(static_cast<std::size_t>(locations));
    for (int i = 0; i < locations; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::uint64_t state = 1;
    for (int i = locations - 1; i > 0; --i) {
        const auto j = static_cast<int>(SplitMix64(state) % static_cast<std::uint64_t>(i + 1));
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]);
    }
    for (int k = 0; k < locations; ++k)
        fold[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])] = k % folds;
    return fold;
}

double CAccuracyFigures::InsideShare() const {
    return pairs > 0 ? static_cast<double>(inside) / static_cast<double>(pairs) : kNaN;
}

double CAccuracyFigures::FalseCoverage() const {
    return unheard > 0 ? static_cast<double>(falseCovered) / static_cast<double>(unheard) : kNaN;
}

void SummariseErrors(std::vector<double> errors, CAccuracyFigures& figures) {
    figures.inside = static_cast<std::int64_t>(errors.size());
    if (errors.empty()) {
        figures.rmse = figures.mae = figures.medianAbs = figures.bias = kNaN;
        return;
    }
    const double n = static_cast<double>(errors.size());
    double squares = 0.0, absolute = 0.0, sum = 0.0;
    for (double e : errors) {
        squares += e * e;
        absolute += std::fabs(e);
        sum += e;
    }
    figures.rmse = std::sqrt(squares / n);
    figures.mae = absolute / n;
    figures.bias = sum / n;
    for (double& e : errors)
        e = std::fabs(e);
    std::sort(errors.begin(), errors.end());
    const std::size_t m = errors.size();
    figures.medianAbs = m % 2 ? errors[m / 2] : (errors[m / 2 - 1] + errors[m / 2]) / 2.0;
}

CStudyAccuracy EvaluateStudy(const CTarvoAnalyzerDoc& doc, const CEvaluationOptions& options,
                             IProgress& progress) {
    CStudyAccuracy result;
    result.folds = std::clamp(options.folds, kMinFolds, kMaxFolds);
    result.scheme = options.scheme;
    const int locationCount = doc.points.GetSize();
    result.locations = locationCount;
    const std::vector<int> fold = FoldsOfLocations(locationCount, result.folds, options.scheme);
    const std::vector<std::vector<int>> sampleLocation = SampleLocations(doc);

    std::vector<int> apsUsed;
    for (int a = 0; a < doc.aps.GetSize(); ++a)
        if (!sampleLocation[static_cast<std::size_t>(a)].empty())
            apsUsed.push_back(a);

    // The training locations of each fold (positions only: what estimation
    // reads of them) and the study's samples without each fold.
    std::vector<std::vector<CDataPoint>> training(static_cast<std::size_t>(result.folds));
    for (int p = 0; p < locationCount; ++p) {
        CDataPoint position;
        position.northing = doc.points[p].northing;
        position.easting = doc.points[p].easting;
        position.kind = doc.points[p].kind;
        for (int f = 0; f < result.folds; ++f)
            if (fold[static_cast<std::size_t>(p)] != f)
                training[static_cast<std::size_t>(f)].push_back(position);
    }
    std::vector<std::int64_t> trainingSamples(static_cast<std::size_t>(result.folds), 0);
    for (int a : apsUsed)
        for (int p : sampleLocation[static_cast<std::size_t>(a)])
            for (int f = 0; f < result.folds; ++f)
                if (fold[static_cast<std::size_t>(p)] != f)
                    ++trainingSamples[static_cast<std::size_t>(f)];

    // Work units run fold by fold, the APs of a fold in AP order.
    const int apCount = static_cast<int>(apsUsed.size());
    const int units = apCount * result.folds;
    std::vector<CUnitResult> unitResults(static_cast<std::size_t>(units));
    progress.SetPosition(0);
    std::mutex progressMutex;
    int done = 0, shownPercent = -1, shownFold = -1;

    RunRowsInParallel(units, options.threads, [&]() -> RowWork {
        return [&](int unit) {
            progress.ThrowIfCancelled();
            const int f = unit / apCount;
            const int a = apsUsed[static_cast<std::size_t>(unit % apCount)];
            {
                std::lock_guard lock(progressMutex);
                if (f > shownFold) {
                    shownFold = f;
                    progress.SetText(
                        Format("Evaluating the maps: fold %d of %d...", f + 1, result.folds));
                }
            }
            const CAPInfo& full = doc.aps[a];
            const std::vector<int>& where = sampleLocation[static_cast<std::size_t>(a)];
            CUnitResult& out = unitResults[static_cast<std::size_t>(unit)];

            CAPInfo ap;
            ap.bssid = full.bssid;
            ap.ssid = full.ssid;
            ap.channel = full.channel;
            ap.frequency = full.frequency;
            std::vector<std::size_t> heldOut;
            for (std::size_t s = 0; s < where.size(); ++s) {
                if (fold[static_cast<std::size_t>(where[s])] == f)
                    heldOut.push_back(s);
                else
                    ap.samples.Add(full.samples[static_cast<std::ptrdiff_t>(s)]);
            }
            out.pairs = static_cast<std::int64_t>(heldOut.size());
            if (!ap.samples.IsEmpty()) {
                CEstimationInputs inputs;
                inputs.points = training[static_cast<std::size_t>(f)];
                inputs.minPointsForEstimate = doc.MinPointsForEstimate;
                inputs.estimator = doc.estimator;
                inputs.coverageModel = doc.coverageModel;
                inputs.studySamples = trainingSamples[static_cast<std::size_t>(f)];
                EstimateAp(inputs, ap);
                if (HasCoverageSamples(ap) && options.remakeMatrix)
                    options.remakeMatrix(ap, inputs.points);
            }
            if (HasCoverageSamples(ap)) {
                for (std::size_t s : heldOut) {
                    const CData& sample = full.samples[static_cast<std::ptrdiff_t>(s)];
                    if (const auto level = MatrixLevelAt(ap, sample.y, sample.x))
                        out.errors.push_back(*level - sample.rssi);
                }
                // Held-out locations without a sample of the AP.
                std::vector<char> heard(static_cast<std::size_t>(locationCount), 0);
                for (std::size_t s : heldOut)
                    heard[static_cast<std::size_t>(where[s])] = 1;
                for (int p = 0; p < locationCount; ++p) {
                    if (fold[static_cast<std::size_t>(p)] != f ||
                        heard[static_cast<std::size_t>(p)])
                        continue;
                    const auto level = MatrixLevelAt(ap, doc.points[p].northing / 100.0,
                                                     doc.points[p].easting / 100.0);
                    if (!level)
                        continue;
                    ++out.unheard;
                    if (*level >= doc.PowerLow)
                        ++out.falseCovered;
                }
            }
            std::lock_guard lock(progressMutex);
            ++done;
            const int percent = units > 0 ? done * 100 / units : 100;
            if (percent > shownPercent) {
                shownPercent = percent;
                progress.SetPosition(percent);
            }
        };
    });

    std::vector<double> all;
    for (std::size_t k = 0; k < apsUsed.size(); ++k) {
        CApAccuracy apFigures;
        apFigures.apIndex = apsUsed[k];
        std::vector<double> errors;
        for (int f = 0; f < result.folds; ++f) {
            const CUnitResult& u = unitResults[static_cast<std::size_t>(f) * apsUsed.size() + k];
            errors.insert(errors.end(), u.errors.begin(), u.errors.end());
            apFigures.figures.pairs += u.pairs;
            apFigures.figures.unheard += u.unheard;
            apFigures.figures.falseCovered += u.falseCovered;
        }
        all.insert(all.end(), errors.begin(), errors.end());
        result.overall.pairs += apFigures.figures.pairs;
        result.overall.unheard += apFigures.figures.unheard;
        result.overall.falseCovered += apFigures.figures.falseCovered;
        SummariseErrors(std::move(errors), apFigures.figures);
        result.aps.push_back(apFigures);
    }
    SummariseErrors(std::move(all), result.overall);
    progress.SetPosition(100);
    return result;
}

void AddPositionErrors(CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc,
                       std::span<const CTruePosition> truth) {
    std::vector<double> errors;
    for (CApAccuracy& ap : accuracy.aps) {
        const CAPInfo& record = doc.aps[ap.apIndex];
        if (record.filteredSamples.GetSize() < doc.MinPointsForEstimate)
            continue;
        for (const CTruePosition& t : truth) {
            if (t.mac != record.bssid)
                continue;
            const double dy = record.position[0] - t.y, dx = record.position[1] - t.x;
            ap.positionErrorM = std::sqrt(dy * dy + dx * dx);
            errors.push_back(*ap.positionErrorM);
            break;
        }
    }
    if (errors.empty())
        return;
    std::sort(errors.begin(), errors.end());
    const std::size_t m = errors.size();
    accuracy.medianPositionErrorM =
        m % 2 ? errors[m / 2] : (errors[m / 2 - 1] + errors[m / 2]) / 2.0;
}

} // namespace tarvo
