// Accuracy of the AP position estimators against known AP positions.
//
//   bench_estimator_accuracy [REAL_SURVEYS_DIR]
//
// Scenes: the generated office, campus and large studies (seeds 1..3 for
// office and campus, seed 1 for large) with the positions they were made
// from, and, when a folder is given, every sub-folder of it that holds one
// .lpf, one .ssd and a truth.json with "mac", "x_m" and "y_m" per AP.
// Each scene is loaded once with each estimator. Prints per scene the
// median, mean and 90th percentile of the position error (metres) of the
// study method, the joint fit, the strongest sample and the centroid
// weighted by 10^(RSSI/10), over the APs with enough thinned samples for a
// position; the number of valid models; and the time of each load.

#include "BenchStudy.h"
#include "analysis/CollectionLoader.h"
#include "model/Text.h"
#include "reference/PositionBaselines.h"
#include "samples/SampleStudy.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace tarvo {
namespace {

struct CTruthAp {
    MacAddress mac{};
    double y = 0.0, x = 0.0;
};

struct CScene {
    std::string name;
    std::string projection;
    std::vector<std::string> surveys;
    std::vector<CTruthAp> truth;
};

std::optional<MacAddress> ParseMac(const std::string& text) {
    MacAddress mac{};
    unsigned v[6];
    if (std::sscanf(text.c_str(), "%x-%x-%x-%x-%x-%x", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) !=
        6)
        return std::nullopt;
    for (int i = 0; i < 6; ++i)
        mac[i] = static_cast<std::uint8_t>(v[i]);
    return mac;
}

std::vector<CScene> RealScenes(const std::filesystem::path& root) {
    std::vector<CScene> scenes;
    std::vector<std::filesystem::path> dirs;
    for (const auto& entry : std::filesystem::directory_iterator(root))
        if (entry.is_directory())
            dirs.push_back(entry.path());
    std::sort(dirs.begin(), dirs.end());
    const std::regex apPattern(
        R"re("mac"\s*:\s*"([0-9A-Fa-f-]+)"\s*,\s*"x_m"\s*:\s*([-0-9.eE]+)\s*,\s*"y_m"\s*:\s*([-0-9.eE]+))re");
    for (const auto& dir : dirs) {
        CScene scene;
        scene.name = "real " + dir.filename().string();
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".lpf")
                scene.projection = entry.path().string();
            else if (ext == ".ssd")
                scene.surveys.push_back(entry.path().string());
        }
        std::ifstream in(dir / "truth.json");
        std::stringstream text;
        text << in.rdbuf();
        const std::string json = text.str();
        for (std::sregex_iterator it(json.begin(), json.end(), apPattern), end; it != end; ++it) {
            const auto mac = ParseMac((*it)[1].str());
            if (mac)
                scene.truth.push_back({*mac, std::stod((*it)[3].str()), std::stod((*it)[2].str())});
        }
        if (!scene.projection.empty() && !scene.surveys.empty() && !scene.truth.empty())
            scenes.push_back(scene);
    }
    return scenes;
}

CScene SimulatedScene(const std::string& scenario, std::uint64_t seed,
                      const std::filesystem::path& tempRoot) {
    const std::optional<CSampleStudy> study = GenerateSampleStudy(scenario, seed);
    const std::filesystem::path dir = tempRoot / Format("%s-%d", scenario.c_str(), int(seed));
    std::string error;
    if (!study || !WriteSampleStudy(*study, dir.string(), error)) {
        std::fprintf(stderr, "cannot write the %s study: %s\n", scenario.c_str(), error.c_str());
        std::exit(1);
    }
    CScene scene;
    scene.name = Format("sim %s/%d", scenario.c_str(), int(seed));
    scene.projection = (dir / study->projectionFileName).string();
    for (const CSimulatedWalk& walk : study->walks)
        scene.surveys.push_back((dir / walk.fileName).string());
    for (const CSimulatedAp& ap : study->aps)
        scene.truth.push_back({ap.mac, ap.y, ap.x});
    return scene;
}

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

enum Method { kStudy, kJoint, kStrongest, kCentroid, kMethods };
const char* const kMethodNames[kMethods] = {"study", "joint", "strongest", "centroid"};

const CTruthAp* TruthOf(const CScene& scene, const MacAddress& mac) {
    for (const CTruthAp& t : scene.truth)
        if (t.mac == mac)
            return &t;
    return nullptr;
}

// One load of a scene with the given estimator: the document and the time.
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

void PrintRow(const std::string& scene, int method, const std::vector<double>& errors) {
    const CStats s = StatsOf(errors);
    std::printf("%-22s %4d  %-9s %7.2f %7.2f %7.2f\n", scene.c_str(),
                static_cast<int>(errors.size()), kMethodNames[method], s.median, s.mean, s.p90);
}

int Run(int argc, char** argv) {
    const std::filesystem::path tempRoot =
        std::filesystem::temp_directory_path() /
        Format("tarvo-accuracy-%d", static_cast<int>(::getpid()));
    std::vector<CScene> scenes;
    for (const char* scenario : {"office", "campus"})
        for (std::uint64_t seed = 1; seed <= 3; ++seed)
            scenes.push_back(SimulatedScene(scenario, seed, tempRoot));
    scenes.push_back(SimulatedScene("large", 1, tempRoot));
    if (argc > 1)
        for (const CScene& s : RealScenes(argv[1]))
            scenes.push_back(s);

    std::printf("%-22s %4s  %-9s %7s %7s %7s   (position error, m)\n", "scene", "APs", "method",
                "median", "mean", "p90");
    std::vector<double> simulated[kMethods], real[kMethods];
    for (const CScene& scene : scenes) {
        CTarvoAnalyzerDoc study, joint;
        const double studySeconds = LoadTimed(study, scene, EstimatorKind::Study);
        const double jointSeconds = LoadTimed(joint, scene, EstimatorKind::Joint);
        std::vector<double> errors[kMethods];
        int validStudy = 0, validJoint = 0;
        for (int i = 0; i < study.aps.GetSize(); ++i) {
            const CAPInfo& ap = study.aps[i];
            const CTruthAp* truth = TruthOf(scene, ap.bssid);
            if (!truth || ap.filteredSamples.GetSize() < study.MinPointsForEstimate)
                continue;
            auto err = [&](double y, double x) { return std::hypot(y - truth->y, x - truth->x); };
            errors[kStudy].push_back(err(ap.position[0], ap.position[1]));
            errors[kJoint].push_back(err(joint.aps[i].position[0], joint.aps[i].position[1]));
            validStudy += ap.valid ? 1 : 0;
            validJoint += joint.aps[i].valid ? 1 : 0;
            const auto strongest = test::StrongestSamplePosition(ap.samples.Vector());
            const auto centroid = test::PowerWeightedCentroid(ap.samples.Vector());
            errors[kStrongest].push_back(err(strongest[0], strongest[1]));
            errors[kCentroid].push_back(err(centroid[0], centroid[1]));
        }
        const bool isReal = scene.name.rfind("real", 0) == 0;
        for (int m = 0; m < kMethods; ++m) {
            PrintRow(m == 0 ? scene.name : "", m, errors[m]);
            auto& group = isReal ? real[m] : simulated[m];
            group.insert(group.end(), errors[m].begin(), errors[m].end());
        }
        std::printf("%-22s valid models: study %d, joint %d; Process Files: study %.3f s, "
                    "joint %.3f s (x%.2f)\n",
                    "", validStudy, validJoint, studySeconds, jointSeconds,
                    jointSeconds / studySeconds);
    }
    for (int m = 0; m < kMethods; ++m)
        PrintRow(m == 0 ? "all simulated" : "", m, simulated[m]);
    if (!real[0].empty())
        for (int m = 0; m < kMethods; ++m)
            PrintRow(m == 0 ? "all real" : "", m, real[m]);
    std::error_code ignored;
    std::filesystem::remove_all(tempRoot, ignored);
    return 0;
}

} // namespace
} // namespace tarvo

int main(int argc, char** argv) {
    return tarvo::Run(argc, argv);
}
