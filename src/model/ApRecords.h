#pragma once
// Access points found in the samples, APs and interference sources marked on
// the map, and the geometry records of coverage drawings.

#include "model/Array.h"
#include "model/Colour.h"
#include "model/SurveyRecords.h"

#include <array>
#include <cstdint>
#include <string>

namespace tarvo {

// One filled polygon of a coverage drawing (3 or 4 vertices used).
struct CDataArea {
    static constexpr std::size_t kBlockSize = 68;

    std::array<double, 4> x{};
    std::array<double, 4> y{};
    std::int32_t vertexCount = 0;

    bool operator==(const CDataArea&) const = default;
};

// One contour segment: two end points as four doubles.
struct CDataLine {
    static constexpr std::size_t kBlockSize = 32;

    std::array<double, 4> v{};

    bool operator==(const CDataLine&) const = default;
};

constexpr int kDefaultApIcon = 174;
constexpr int kDefaultSourceIcon = 180;
constexpr int kCoverageLevels = 10;
constexpr int kReliabilityLevels = 9;

// One access point found in the samples, with its estimation results.
struct CAPInfo {
    std::uint8_t selected = 0;
    std::int32_t state = 0;
    std::uint8_t valid = 0;
    ColourRef colour = 0;
    MacAddress bssid{};
    SsidBytes ssid{};
    std::int32_t channel = 0;
    std::int32_t frequency = 0; // MHz, -1 outside the channel table

    std::string name;
    std::string txPower;
    std::string antennaGain;
    std::string antennaDirection;
    std::string antennaHeight;
    std::string notes;

    CArray<CData> samples;
    CArray<CData> filteredSamples;
    CArray<double> matrix; // rows x columns
    CArray<CDataArea> areas;
    CArray<CDataLine> lines;
    std::array<std::int32_t, kCoverageLevels> table1{}; // segments per level
    std::array<std::int32_t, kCoverageLevels> table2{}; // polygons per level
    std::array<std::int32_t, kCoverageLevels> table3{}; // colour per level
    std::array<double, kReliabilityLevels> levels{};    // reliability radii, m

    std::array<double, 2> extent{};   // Y, X size of the sample box
    std::array<double, 2> origin{};   // Y, X low corner of the sample box
    std::array<double, 2> position{}; // Y, X estimated position

    std::int32_t iconKind = 0;
    std::int32_t icon = kDefaultApIcon;
    double maxValue = -100.0;
    double minValue = -100.0;
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    double sigma = 0.0;
    double slope = 0.0;     // dB per decade of distance
    double intercept = 0.0; // dBm
    // Radius (m) around `position` within which the true position lies with
    // about 68 % likelihood, from the robust estimator; 0 when there is
    // none (another estimator, or the AP was placed by hand). Not in the AP
    // block of a workspace: the study record keeps it (UncertaintyRecord.h).
    double uncertaintyM = 0.0;

    bool operator==(const CAPInfo&) const = default;
};

// Six date and time bytes carried from a survey record (bytes 13 to 18).
using DateTimeBytes = std::array<std::uint8_t, 6>;

// An AP placed on the map by the user or read from a survey file.
struct CAPMarker {
    double y = 0.0;
    double x = 0.0;
    DateTimeBytes dateTime{};
    std::int32_t icon = kDefaultApIcon;
    MacAddress bssid{};
    SsidBytes ssid{};
    std::uint32_t channel = 0;
    std::string name;
    std::string txPower;
    std::string antennaGain;
    std::string antennaDirection;
    std::string antennaHeight;
    std::string notes;

    // Not saved: false while y/x still hold the raw survey-file coordinates,
    // so each marker is converted to site units exactly once.
    bool inSiteUnits = true;

    bool operator==(const CAPMarker&) const = default;
};

// An interference source placed on the map.
struct CISMarker {
    double y = 0.0;
    double x = 0.0;
    DateTimeBytes dateTime{};
    std::int32_t icon = kDefaultSourceIcon;
    std::string name;
    std::string notes;
    std::string frequency; // display text, e.g. "2437 MHz"
    std::string bandwidth;

    bool inSiteUnits = true; // see CAPMarker

    bool operator==(const CISMarker&) const = default;
};

} // namespace tarvo
