#pragma once
// Large generated GPS walks for the memory benchmark, written with the
// program's own survey writer. Two shapes stress the two ways a study grows:
//
//   dense:  a lawnmower walk of `locations` locations 1 m apart (passes 1 m
//           apart) over which every one of `aps` APs is heard everywhere
//           (100,000 x 50 is a 223 MB file);
//   sparse: a walk past `aps` APs, each heard at `hearings` locations on
//           neighbouring passes and nowhere else (65,000 APs heard 3 times
//           each is a 9 MB file), so that each AP's sample box holds
//           locations of the walk that did not hear it.
//
// The same arguments give the same bytes. Locations are written in chunks,
// so that the generating process never holds the whole file.

#include "formats/FileIo.h"
#include "formats/SsdReader.h"
#include "formats/SsdWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tarvo {

namespace survey_generator {

// A small deterministic generator (the standard distributions are not
// required to give the same numbers everywhere).
class CRandom {
public:
    explicit CRandom(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}
    std::uint64_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

private:
    std::uint64_t state_;
};

constexpr double kBaseLatitude = 48.0;
constexpr double kBaseLongitude = 11.0;
constexpr double kMetresPerDegree = 111320.0;
constexpr std::int64_t kCreated = 1700000000;

// Raw survey-file coordinates of a place `northM`/`eastM` metres from the base.
inline CDataPoint LocationAt(double northM, double eastM, int second) {
    CDataPoint p;
    p.kind = 0;
    p.fix = 2;
    const double lat = kBaseLatitude + northM / kMetresPerDegree;
    const double lon =
        kBaseLongitude + eastM / (kMetresPerDegree * std::cos(kBaseLatitude * M_PI / 180.0));
    p.northing = static_cast<std::int32_t>(std::lround(lat * 3600000.0));
    p.easting = static_cast<std::int32_t>(std::lround(lon * 3600000.0));
    p.date1 = 14;
    p.date2 = 11;
    p.year = 43;
    p.hour = static_cast<std::uint8_t>(second / 3600 % 24);
    p.minute = static_cast<std::uint8_t>(second / 60 % 60);
    p.second = static_cast<std::uint8_t>(second % 60);
    p.altitude = 500 * 256;
    return p;
}

inline CDataSsd SampleOf(std::uint32_t apIndex, double rssiDbm) {
    CDataSsd s;
    s.channel = static_cast<std::int32_t>(1 + apIndex % 11);
    s.rssi = static_cast<std::int16_t>(std::lround(std::clamp(rssiDbm, -99.0, -20.0) * 16.0));
    s.level2 = static_cast<std::int16_t>(-95 * 16);
    s.bssid = {0x02,
               0x1A,
               static_cast<std::uint8_t>(apIndex >> 24),
               static_cast<std::uint8_t>(apIndex >> 16),
               static_cast<std::uint8_t>(apIndex >> 8),
               static_cast<std::uint8_t>(apIndex)};
    const std::string ssid = "net-" + std::to_string(apIndex % 997);
    std::copy(ssid.begin(), ssid.end(), s.ssid.begin());
    return s;
}

// Streams locations into one survey file: the first chunk's bytes carry the
// header and the record area's two sizes, later chunks only their records.
class CChunkedSurvey {
public:
    explicit CChunkedSurvey(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {}
    ~CChunkedSurvey() {
        if (file_)
            std::fclose(file_);
    }
    CChunkedSurvey(const CChunkedSurvey&) = delete;
    CChunkedSurvey& operator=(const CChunkedSurvey&) = delete;

    void Add(const CDataPoint& point) {
        chunk_.AddLocation(point);
        if (chunk_.LocationCount() >= 2000)
            Flush();
    }
    bool Close() {
        Flush();
        const bool ok = file_ && !failed_ && std::fclose(file_) == 0;
        file_ = nullptr;
        return ok;
    }

private:
    static constexpr std::size_t kPrefix = kSsdHeaderSize + 8; // header, then the two sizes

    void Flush() {
        if (!file_ || (chunk_.LocationCount() == 0 && wroteHeader_))
            return;
        const std::vector<std::uint8_t> bytes = chunk_.Bytes();
        const std::size_t from = wroteHeader_ ? kPrefix : 0;
        if (std::fwrite(bytes.data() + from, 1, bytes.size() - from, file_) != bytes.size() - from)
            failed_ = true;
        wroteHeader_ = true;
        chunk_ = CSsdWriter(kCreated);
    }

    std::FILE* file_;
    CSsdWriter chunk_{kCreated};
    bool wroteHeader_ = false;
    bool failed_ = false;
};

} // namespace survey_generator

// Every AP heard at every location: APs on a regular grid over the walked
// square, RSSI falling 30 dB per decade from -30 dBm at 1 m, +-3 dB noise.
inline bool WriteDenseSurvey(const std::string& path, int locations, int aps,
                             std::uint64_t seed = 1) {
    using namespace survey_generator;
    CRandom random(seed);
    const int perPass = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(locations))));
    const double side = perPass;
    const int apsPerRow = std::max(1, static_cast<int>(std::ceil(std::sqrt(double(aps)))));
    std::vector<std::pair<double, double>> apAt;
    for (int a = 0; a < aps; ++a)
        apAt.push_back(
            {(a / apsPerRow + 0.5) * side / apsPerRow, (a % apsPerRow + 0.5) * side / apsPerRow});

    CChunkedSurvey out(path);
    for (int i = 0; i < locations; ++i) {
        const int pass = i / perPass, along = i % perPass;
        const double north = pass;
        const double east = pass % 2 == 0 ? along : perPass - 1 - along;
        CDataPoint p = LocationAt(north, east, i);
        for (int a = 0; a < aps; ++a) {
            const double dy = apAt[a].first - north, dx = apAt[a].second - east;
            const double d = std::max(1.0, std::sqrt(dy * dy + dx * dx));
            const double rssi = -30.0 - 30.0 * std::log10(d) + 6.0 * (random.Uniform() - 0.5);
            p.samples.Add(SampleOf(static_cast<std::uint32_t>(a), rssi));
        }
        out.Add(p);
    }
    return out.Close();
}

// Many APs heard at few places: passes 4 m apart with locations 2 m apart
// along them; AP a stands beside the walk and is heard at the location
// nearest to it on each of `hearings` consecutive passes (at most
// `apsPerLocation` APs per location, which sets the walk's length).
inline bool WriteSparseSurvey(const std::string& path, int aps, int hearings, int apsPerLocation,
                              std::uint64_t seed = 2) {
    using namespace survey_generator;
    CRandom random(seed);
    const std::int64_t totalSamples = std::int64_t{aps} * hearings;
    // A tenth more locations than the samples need, so that every AP finds
    // free locations on its passes.
    const int locations =
        static_cast<int>((totalSamples * 11 / 10 + apsPerLocation - 1) / apsPerLocation);
    const int perPass = std::max(hearings + 1, static_cast<int>(std::sqrt(double(locations))));
    const int passes = (locations + perPass - 1) / perPass;
    constexpr double kPassM = 4.0, kStepM = 2.0;

    // Location lists of heard APs, filled AP by AP: AP a starts on a random
    // pass and column, hears its column on `hearings` passes from there.
    std::vector<std::vector<std::pair<std::uint32_t, double>>> heard(
        static_cast<std::size_t>(passes) * perPass);
    for (int a = 0; a < aps; ++a) {
        const int firstPass = static_cast<int>(random.Next() % std::max(1, passes - hearings + 1));
        int column = static_cast<int>(random.Next() % perPass);
        for (int h = 0; h < hearings && firstPass + h < passes; ++h) {
            // The nearest free location of that pass around the column.
            for (int tries = 0; tries < perPass; ++tries) {
                const int c = (column + tries) % perPass;
                auto& list = heard[static_cast<std::size_t>(firstPass + h) * perPass + c];
                if (static_cast<int>(list.size()) < apsPerLocation) {
                    list.push_back(
                        {static_cast<std::uint32_t>(a),
                         -60.0 - 8.0 * (h == hearings / 2 ? 0 : 1) - 10.0 * random.Uniform()});
                    column = c;
                    break;
                }
            }
        }
    }

    CChunkedSurvey out(path);
    int second = 0;
    for (int pass = 0; pass < passes; ++pass)
        for (int k = 0; k < perPass; ++k) {
            const int column = pass % 2 == 0 ? k : perPass - 1 - k;
            CDataPoint p = LocationAt(pass * kPassM, column * kStepM, second++);
            for (const auto& [ap, rssi] : heard[static_cast<std::size_t>(pass) * perPass + column])
                p.samples.Add(SampleOf(ap, rssi));
            out.Add(p);
        }
    return out.Close();
}

} // namespace tarvo
