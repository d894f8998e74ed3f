#pragma once
// The scenes the accuracy benchmark measures the position estimators on:
// generated sample studies with the positions they were made from, and
// real surveys in folders of one .lpf, one .ssd and a truth.json.

#include "model/SurveyRecords.h"
#include "model/Text.h"
#include "samples/SampleStudy.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo {

struct CTruthAp {
    MacAddress mac{};
    double y = 0.0, x = 0.0; // site metres
    bool otherFloor = false; // heard through a floor: scored apart
};

struct CScene {
    std::string name; // "sim office/1", "real corridor"
    bool real = false;
    std::string projection;
    std::vector<std::string> surveys;
    std::vector<CTruthAp> truth;

    const CTruthAp* TruthOf(const MacAddress& mac) const {
        for (const CTruthAp& t : truth)
            if (t.mac == mac)
                return &t;
        return nullptr;
    }
};

inline std::optional<MacAddress> ParseMac(const std::string& text) {
    MacAddress mac{};
    unsigned v[6];
    if (std::sscanf(text.c_str(), "%x-%x-%x-%x-%x-%x", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) !=
        6)
        return std::nullopt;
    for (int i = 0; i < 6; ++i)
        mac[i] = static_cast<std::uint8_t>(v[i]);
    return mac;
}

// Every sub-folder of root with a .lpf, a .ssd and a truth.json whose
// "aps" give "mac", "x_m" and "y_m"; entries after "other_floor_aps" are
// APs of other floors.
inline std::vector<CScene> RealScenes(const std::filesystem::path& root) {
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
        scene.real = true;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".lpf")
                scene.projection = entry.path().string();
            else if (ext == ".ssd")
                scene.surveys.push_back(entry.path().string());
        }
        std::sort(scene.surveys.begin(), scene.surveys.end());
        std::ifstream in(dir / "truth.json");
        std::stringstream text;
        text << in.rdbuf();
        const std::string json = text.str();
        const std::size_t otherFloors = json.find("\"other_floor_aps\"");
        for (std::sregex_iterator it(json.begin(), json.end(), apPattern), end; it != end; ++it) {
            const auto mac = ParseMac((*it)[1].str());
            if (!mac)
                continue;
            const bool other = otherFloors != std::string::npos &&
                               static_cast<std::size_t>(it->position()) > otherFloors;
            scene.truth.push_back(
                {*mac, std::stod((*it)[3].str()), std::stod((*it)[2].str()), other});
        }
        if (!scene.projection.empty() && !scene.surveys.empty() && !scene.truth.empty())
            scenes.push_back(scene);
    }
    return scenes;
}

// A generated study written to tempRoot, with its truth.
inline CScene SimulatedScene(const std::string& scenario, std::uint64_t seed,
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
        scene.truth.push_back({ap.mac, ap.y, ap.x, false});
    return scene;
}

} // namespace tarvo
