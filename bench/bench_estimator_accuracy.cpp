// Accuracy of the AP position estimators against known AP positions.
//
//   bench_estimator_accuracy [--loso] [REAL_SURVEYS_DIR]
//
// Scenes: the generated office, campus and large studies (seeds 1..3 for
// office and campus, seed 1 for large) with the positions they were made
// from, and, when a folder is given, every sub-folder of it that holds one
// .lpf, one .ssd and a truth.json with "mac", "x_m" and "y_m" per AP (APs
// listed under "other_floor_aps" stand on another floor: their planar
// error is shown apart and left out of the survey and pooled figures).
// Each scene is loaded once with each estimator. Prints per scene, for the
// simulated and the real scenes pooled, the median, mean and 90th
// percentile of the position error (metres) of the study method, the joint
// fit, the robust estimator, the strongest sample and the centroid
// weighted by 10^(RSSI/10), over the APs with enough thinned samples for a
// position; the share of APs whose true position lies within the robust
// estimator's uncertainty radius and how many took the fit; the number of
// valid models; and the time of each load (one thread).
//
// --loso: also chooses the robust estimator's constants with each survey
// left out in turn (RobustConstantsChoice.h) and prints the held-out
// survey's figures with them, then the constants chosen on all surveys.

#include "AccuracyScenes.h"
#include "BenchStudy.h"
#include "RobustConstantsChoice.h"
#include "analysis/CollectionLoader.h"
#include "reference/PositionBaselines.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace tarvo {
namespace {

struct CStats {
    double median = 0.0, mean = 0.0, p90 = 0.0;
};

CStats StatsOf(std::vector<double> e) {
    CStats s;
    if (e.empty())
        return s;
    std::sort(e.begin(), e.end());
    const std::size_t n = e.size();
    s.median = n % 2 ? e[n / 2] : (e[n / 2 - 1] + e[n / 2]) / 2.0;
    for (double v : e)
        s.mean += v / static_cast<double>(n);
    // Linear interpolation between order statistics.
    const double rank = 0.9 * static_cast<double>(n - 1);
    const std::size_t lo = static_cast<std::size_t>(rank);
    const std::size_t hi = std::min(lo + 1, n - 1);
    s.p90 = e[lo] + (rank - static_cast<double>(lo)) * (e[hi] - e[lo]);
    return s;
}

enum Method { kStudy, kJoint, kRobust, kStrongest, kCentroid, kMethods };
const char* const kMethodNames[kMethods] = {"study", "joint", "robust", "strongest", "centroid"};
constexpr EstimatorKind kLoaded[] = {EstimatorKind::Study, EstimatorKind::Joint,
                                     EstimatorKind::Robust};

// The errors of one group of APs, per method, and the robust radius.
struct CGroup {
    std::vector<double> errors[kMethods];
    int covered = 0, fitted = 0;

    void Add(const CGroup& other) {
        for (int m = 0; m < kMethods; ++m)
            errors[m].insert(errors[m].end(), other.errors[m].begin(), other.errors[m].end());
        covered += other.covered;
        fitted += other.fitted;
    }
    int Count() const { return static_cast<int>(errors[kStudy].size()); }
};

void PrintGroup(const std::string& title, const CGroup& g) {
    for (int m = 0; m < kMethods; ++m) {
        const CStats s = StatsOf(g.errors[m]);
        std::printf("%-24s %4d  %-9s %7.2f %7.2f %7.2f\n", m == 0 ? title.c_str() : "",
                    static_cast<int>(g.errors[m].size()), kMethodNames[m], s.median, s.mean, s.p90);
    }
    if (g.Count() > 0)
        std::printf("%-24s robust radius holds %d of %d true positions (%.0f %%); %d by the fit\n",
                    "", g.covered, g.Count(), 100.0 * g.covered / g.Count(), g.fitted);
}

// One load of a scene with the given estimator, on one thread: its time.
double LoadTimed(CTarvoAnalyzerDoc& doc, const CScene& scene, EstimatorKind estimator) {
    CSilentUi ui;
    doc.estimator = estimator;
    OpenStudyFilesOrExit(doc, scene.projection, scene.surveys, ui);
    const auto start = std::chrono::steady_clock::now();
    if (LoadCollection(doc, ui, 1) != LoadOutcome::Loaded) {
        std::fprintf(stderr, "cannot load %s\n", scene.name.c_str());
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct CRun {
    std::vector<CScene> scenes;
    std::vector<CApEvidence> evidence; // own-floor APs, for --loso
};

void MeasureScene(const CScene& scene, int sceneIndex, bool keepEvidence, CRun& run, CGroup& own,
                  CGroup& otherFloors) {
    CTarvoAnalyzerDoc docs[3];
    double seconds[3];
    for (int e = 0; e < 3; ++e)
        seconds[e] = LoadTimed(docs[e], scene, kLoaded[e]);
    const CTarvoAnalyzerDoc& study = docs[0];
    int valid[3] = {0, 0, 0};
    for (int i = 0; i < study.aps.GetSize(); ++i) {
        const CAPInfo& ap = study.aps[i];
        const CTruthAp* truth = scene.TruthOf(ap.bssid);
        if (!truth || ap.filteredSamples.GetSize() < study.MinPointsForEstimate)
            continue;
        auto err = [&](double y, double x) { return std::hypot(y - truth->y, x - truth->x); };
        CGroup& g = truth->otherFloor ? otherFloors : own;
        for (int e = 0; e < 3; ++e) {
            const CAPInfo& placed = docs[e].aps[i];
            g.errors[e].push_back(err(placed.position[0], placed.position[1]));
            valid[e] += placed.valid ? 1 : 0;
        }
        const CAPInfo& robust = docs[2].aps[i];
        g.covered += g.errors[kRobust].back() <= robust.uncertaintyM ? 1 : 0;
        const auto strongest = test::StrongestSamplePosition(ap.samples.Vector());
        const auto centroid = test::PowerWeightedCentroid(ap.samples.Vector());
        g.errors[kStrongest].push_back(err(strongest[0], strongest[1]));
        g.errors[kCentroid].push_back(err(centroid[0], centroid[1]));

        const std::vector<CSitePlace> silent = NoSignalPlaces(study.points.Vector(), ap);
        CApEvidence evidence;
        evidence.candidates = FindPositionCandidates(ap.samples.Vector(), silent, ap.frequency,
                                                     ap.extent[0], ap.extent[1]);
        evidence.candidates.fitting.clear();
        g.fitted += ChoosePosition(evidence.candidates).evidence == PositionEvidence::Fit ? 1 : 0;
        if (keepEvidence && !truth->otherFloor) {
            evidence.survey = sceneIndex;
            evidence.real = scene.real;
            evidence.truthY = truth->y;
            evidence.truthX = truth->x;
            evidence.strongestErrorM = g.errors[kStrongest].back();
            evidence.centroidErrorM = g.errors[kCentroid].back();
            run.evidence.push_back(std::move(evidence));
        }
    }
    PrintGroup(scene.name, own);
    if (otherFloors.Count() > 0)
        PrintGroup("  other floors", otherFloors);
    std::printf("%-24s valid models: study %d, joint %d, robust %d; Process Files: study %.3f s, "
                "joint %.3f s (x%.2f), robust %.3f s (x%.2f)\n",
                "", valid[0], valid[1], valid[2], seconds[0], seconds[1], seconds[1] / seconds[0],
                seconds[2], seconds[2] / seconds[0]);
}

void PrintLeaveOneOut(const CRun& run) {
    std::printf("\nLeave one survey out: constants chosen on the others, figures of the one left "
                "out (robust vs strongest sample; coverage of the radius)\n");
    std::printf("%-24s %6s %6s %6s  %7s %9s %8s %8s\n", "survey left out", "lackFit", "kFit",
                "kPeak", "median", "strongest", "centroid", "covered");
    for (int s = 0; s < static_cast<int>(run.scenes.size()); ++s) {
        std::vector<const CApEvidence*> training, heldOut;
        for (const CApEvidence& ap : run.evidence)
            (ap.survey == s ? heldOut : training).push_back(&ap);
        if (heldOut.empty())
            continue;
        const CRobustConstants c = ChooseConstants(training);
        std::vector<double> errors, strongest, centroid;
        int covered = 0;
        for (const CApEvidence* ap : heldOut) {
            const CScoredAp scored = ScoreAp(*ap, c);
            errors.push_back(scored.errorM);
            covered += scored.covered ? 1 : 0;
            strongest.push_back(ap->strongestErrorM);
            centroid.push_back(ap->centroidErrorM);
        }
        std::printf("%-24s %6.2f %6.2f %6.2f  %7.2f %9.2f %8.2f %4d/%-3d\n",
                    run.scenes[static_cast<std::size_t>(s)].name.c_str(), c.maxLackOfFit,
                    c.fitRadiusPerSpread, c.peakRadiusPerSpread, MedianOf(errors),
                    MedianOf(strongest), MedianOf(centroid), covered,
                    static_cast<int>(heldOut.size()));
    }
    std::vector<const CApEvidence*> all;
    for (const CApEvidence& ap : run.evidence)
        all.push_back(&ap);
    std::printf("score of maxLackOfFit on all surveys (mean log median ratio, lower is better):");
    for (int step = 0; step <= 30; step += 2) {
        CRobustConstants c;
        c.maxLackOfFit = 1.0 + 0.05 * step;
        std::printf("%s %.1f: %.3f", step % 8 == 0 ? "\n " : "", c.maxLackOfFit,
                    ChoiceScore(all, c));
    }
    std::printf("\n");
    const CRobustConstants c = ChooseConstants(all);
    const CRobustConstants shipped;
    std::printf("chosen on all surveys: maxLackOfFit %.2f, fitRadiusPerSpread %.2f, "
                "peakRadiusPerSpread %.2f (the estimator uses %.2f, %.2f, %.2f)\n",
                c.maxLackOfFit, c.fitRadiusPerSpread, c.peakRadiusPerSpread, shipped.maxLackOfFit,
                shipped.fitRadiusPerSpread, shipped.peakRadiusPerSpread);
}

int Run(int argc, char** argv) {
    bool loso = false;
    const char* realDir = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--loso") == 0)
            loso = true;
        else
            realDir = argv[i];
    }
    const std::filesystem::path tempRoot =
        std::filesystem::temp_directory_path() /
        Format("tarvo-accuracy-%d", static_cast<int>(::getpid()));
    CRun run;
    for (const char* scenario : {"office", "campus"})
        for (std::uint64_t seed = 1; seed <= 3; ++seed)
            run.scenes.push_back(SimulatedScene(scenario, seed, tempRoot));
    run.scenes.push_back(SimulatedScene("large", 1, tempRoot));
    if (realDir)
        for (const CScene& s : RealScenes(realDir))
            run.scenes.push_back(s);

    std::printf("%-24s %4s  %-9s %7s %7s %7s   (position error, m)\n", "scene", "APs", "method",
                "median", "mean", "p90");
    CGroup simulated, real, otherFloors;
    for (int s = 0; s < static_cast<int>(run.scenes.size()); ++s) {
        const CScene& scene = run.scenes[static_cast<std::size_t>(s)];
        CGroup own, other;
        MeasureScene(scene, s, loso, run, own, other);
        (scene.real ? real : simulated).Add(own);
        otherFloors.Add(other);
    }
    std::printf("\n");
    PrintGroup("all simulated", simulated);
    if (real.Count() > 0)
        PrintGroup("all real", real);
    if (otherFloors.Count() > 0)
        PrintGroup("all other floors", otherFloors);
    if (loso)
        PrintLeaveOneOut(run);
    std::error_code ignored;
    std::filesystem::remove_all(tempRoot, ignored);
    return 0;
}

} // namespace
} // namespace tarvo

int main(int argc, char** argv) {
    return tarvo::Run(argc, argv);
}
