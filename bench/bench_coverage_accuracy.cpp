// DEV harness (to be rewritten)
#include "BenchStudy.h"
#include "analysis/CollectionLoader.h"
#include "analysis/CrossValidation.h"
#include "analysis/SurveyModel.h"
#include "model/Text.h"
#include "samples/SampleStudy.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace tarvo {
namespace {

struct CScene {
    std::string name;
    std::string projection;
    std::vector<std::string> surveys;
};

std::vector<CScene> RealScenes(const std::filesystem::path& root) {
    std::vector<CScene> scenes;
    const char* only = std::getenv("ONLY");
    for (const char* n :
         {"lecture-theatre", "office", "corridor", "building-floor1", "building-floor2"}) {
        if (only && std::string(only).find(n) == std::string::npos)
            continue;
        CScene s;
        s.name = n;
        s.projection = (root / n / (std::string(n) + ".lpf")).string();
        s.surveys = {(root / n / (std::string(n) + ".ssd")).string()};
        scenes.push_back(s);
    }
    return scenes;
}

CScene SimulatedScene(const std::string& scenario, std::uint64_t seed,
                      const std::filesystem::path& tempRoot) {
    const std::optional<CSampleStudy> study = GenerateSampleStudy(scenario, seed);
    const std::filesystem::path dir = tempRoot / Format("%s-%d", scenario.c_str(), int(seed));
    std::string error;
    if (!study || !WriteSampleStudy(*study, dir.string(), error))
        std::exit(1);
    CScene scene;
    scene.name = Format("sim-%s-%d", scenario.c_str(), int(seed));
    scene.projection = (dir / study->projectionFileName).string();
    for (const CSimulatedWalk& walk : study->walks)
        scene.surveys.push_back((dir / walk.fileName).string());
    return scene;
}

double Env(const char* name, double def) {
    const char* v = std::getenv(name);
    return v ? std::atof(v) : def;
}

int Run(int argc, char** argv) {
    const std::filesystem::path tempRoot = std::filesystem::temp_directory_path() /
                                           Format("tarvo-cov-%d", static_cast<int>(::getpid()));
    std::vector<CScene> scenes;
    if (argc > 1)
        scenes = RealScenes(argv[1]);
    if (Env("SIM", 0) > 0) {
        for (const char* scenario : {"office", "campus"})
            for (std::uint64_t seed = 1; seed <= 2; ++seed)
                scenes.push_back(SimulatedScene(scenario, seed, tempRoot));
    }
    CSurveyModelParams& p = SurveyModelParams();
    p.method = static_cast<int>(Env("METHOD", p.method));
    p.levelNeighbours = static_cast<int>(Env("K", p.levelNeighbours));
    p.idwPower = Env("POW", p.idwPower);
    p.maskNeighbours = static_cast<int>(Env("MK", p.maskNeighbours));
    p.maskMinHeard = static_cast<int>(Env("MH", p.maskMinHeard));
    p.rangeM = Env("RANGE", p.rangeM);
    p.nuggetShare = Env("NUG", p.nuggetShare);
    p.trend = static_cast<int>(Env("TREND", p.trend));
    p.maskMode = static_cast<int>(Env("MM", p.maskMode));
    const bool study = Env("STUDY", 0) > 0;
    const FoldScheme scheme = Env("RANDOM", 0) > 0 ? FoldScheme::Random : FoldScheme::Block;

    double sq = 0, sum = 0, n = 0, unheard = 0, fc = 0;
    double meanRmse = 0, meanBias = 0, meanFc = 0;
    int count = 0;
    for (const CScene& scene : scenes) {
        CTarvoAnalyzerDoc doc;
        CSilentUi ui;
        doc.coverageModel = study ? CoverageModelKind::Study : CoverageModelKind::Survey;
        OpenStudyFilesOrExit(doc, scene.projection, scene.surveys, ui);
        LoadCollection(doc, ui, 0);
        CEvaluationOptions options;
        options.scheme = scheme;
        CNullProgress progress;
        const auto t0 = std::chrono::steady_clock::now();
        const CStudyAccuracy acc = EvaluateStudy(doc, options, progress);
        const double secs =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const CAccuracyFigures& f = acc.overall;
        std::printf("%-18s pairs %6lld in %5.1f%% rmse %6.2f mae %6.2f med %6.2f bias %6.2f fc "
                    "%5.1f%% (%lld) %.2fs\n",
                    scene.name.c_str(), (long long)f.pairs, 100 * f.InsideShare(), f.rmse, f.mae,
                    f.medianAbs, f.bias, 100 * f.FalseCoverage(), (long long)f.unheard, secs);
        if (scene.name.rfind("sim", 0) != 0) {
            sq += f.rmse * f.rmse * f.inside;
            sum += f.bias * f.inside;
            n += f.inside;
            unheard += f.unheard;
            fc += f.falseCovered;
            meanRmse += f.rmse;
            meanBias += f.bias;
            meanFc += f.unheard > 0 ? f.FalseCoverage() : 0;
            ++count;
        }
    }
    if (n > 0)
        std::printf("REAL pooled rmse %.3f bias %.3f fc %.1f%% | mean rmse %.3f bias %.3f\n",
                    std::sqrt(sq / n), sum / n, 100 * fc / unheard, meanRmse / count,
                    meanBias / count);
    std::error_code ignored;
    std::filesystem::remove_all(tempRoot, ignored);
    return 0;
}

} // namespace
} // namespace tarvo

int main(int argc, char** argv) {
    return tarvo::Run(argc, argv);
}
