#pragma once
// Sample studies: a projection file with a drawn map, survey walks and the
// truth they were made from, generated for the tool ("tarvo simulate"), the
// GUI's sample studies, tests, benchmarks and the demo.
// Standard library only; the same scenario and seed give the same bytes.
//
// Signals follow a log-distance model with shadowing: at a location d metres
// (planar, at least 1 m) from an AP the walk records
//     RSSI = intercept + slope * log10(d) + N(0, sigma)   [dBm]
// and the AP is not heard when that is below the receiver sensitivity. The
// second level value of a sample is the noise floor in dBm (about -95 on
// 2.4 GHz, -97 on 5 GHz, with a little noise).
//
// Scenarios:
//   office  linear floor plan 60 x 40 m (0.05 m/pixel, .lpf subtype 1),
//           8 APs on channels 1/6/11/36/44, two walks that overlap in the
//           middle and so hear the same APs.
//   campus  GPS site 300 x 200 m (north-aligned .gpf), 20 APs on 2.4 and
//           5 GHz, two walks with GPS noise, some 2D and no-fix locations.
//   large   linear 300 x 200 m hall, 120 APs, two walks of 10,000
//           locations each, for benchmarks.
//
// Files written by WriteSampleStudy into DIR:
//   DIR/<scenario>.lpf or DIR/<scenario>.gpf   the projection
//   DIR/walk1.ssd, DIR/walk2.ssd, ...           the survey walks
//   DIR/truth.json                              what the walks were made from
//
// truth.json is one object:
//   "scenario", "seed"
//   "projection": {"file", "kind" ("linear"|"gps"), "subtype", "width",
//                  "height" (pixels), "scaleX", "scaleY" (metres per pixel),
//                  "mapHeightM", "mapWidthM", "matrix" (16 numbers, row by row)}
//   "sensitivityDbm": the cut-off below which an AP is not heard
//   "walks": [{"file", "locations", "samples"}]
//   "aps": [{"mac" ("02-54-56-..."), "ssid", "channel",
//            "position": [y, x] in site metres (Y up from the map's bottom
//            edge, X right from its left edge), "intercept" (dBm at 1 m),
//            "slope" (dB per decade, negative), "sigma" (dB)}]
//   "markedAps": [{"mac", "name", "position": [y, x]}]
//   "interferenceSources": [{"name", "position": [y, x], "frequencyMhz",
//                            "bandwidthMhz"}]
// Site metres are those the program's readers give: for the GPS scenario the
// matrix is north-aligned and positions are converted with the scale that
// the GPS reader derives from it, so the forward transform of a walk's
// latitude/longitude lands on the same site metres (within GPS noise).

#include "formats/ProjectionReader.h"
#include "model/SurveyRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvo {

struct CSimulatedAp {
    MacAddress mac{};
    std::string ssid;
    std::int32_t channel = 0;
    double y = 0.0; // site metres
    double x = 0.0;
    double interceptDbm = 0.0;
    double slope = 0.0; // dB per decade of distance
    double sigmaDb = 0.0;
};

struct CSimulatedMarker {
    std::string name;
    MacAddress mac{}; // marked APs only
    double y = 0.0;
    double x = 0.0;
    std::uint32_t frequencyMhz = 0; // interference sources only
    std::uint32_t bandwidthMhz = 0;
};

struct CSimulatedWalk {
    std::string fileName; // "walk1.ssd"
    std::vector<std::uint8_t> bytes;
    int locations = 0;
    long long samples = 0;
};

struct CSampleStudy {
    std::string scenario;
    std::uint64_t seed = 0;
    ProjectionFileKind projectionKind = ProjectionFileKind::Linear;
    std::uint8_t projectionSubtype = 1;
    ProjectionMatrix4 matrix{};
    std::int32_t widthPx = 0;
    std::int32_t heightPx = 0;
    double scaleX = 0.0; // metres per pixel, as the reader derives them
    double scaleY = 0.0;
    double sensitivityDbm = 0.0;
    std::string projectionFileName; // "office.lpf"
    std::vector<std::uint8_t> projectionBytes;
    std::vector<std::uint8_t> bitmap; // the map as a bitmap file
    std::vector<CSimulatedWalk> walks;
    std::vector<CSimulatedAp> aps;
    std::vector<CSimulatedMarker> markedAps;
    std::vector<CSimulatedMarker> sources;

    std::string TruthJson() const;
};

// The scenario names GenerateSampleStudy knows.
const std::vector<std::string>& SampleScenarios();

// Generates a scenario; nullopt for an unknown name.
std::optional<CSampleStudy> GenerateSampleStudy(const std::string& scenario, std::uint64_t seed);

// Writes the study's files into dir (created when missing). Returns false
// with a reason in error when a file cannot be written.
bool WriteSampleStudy(const CSampleStudy& study, const std::string& dir, std::string& error);

// The files WriteSampleStudy writes: each file name with its bytes.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>>
SampleStudyFiles(const CSampleStudy& study);

} // namespace tarvo
