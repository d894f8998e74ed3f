#pragma once
// Records read from survey files: the file entry, the measurement location
// with its samples, and one AP sample in site (or geographic) coordinates.

#include "model/Array.h"
#include "model/Colour.h"
#include "model/PointSamples.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tarvo {

// One survey file chosen by the user.
struct CDataFile {
    std::string title;     // file name without folder
    std::string path;      // full path, used to open it
    std::string created;   // ctime text of the header time stamp; set on each read
    std::string spareText; // carried and saved with the workspace
    std::int32_t selected = 1;
    std::int32_t pointCount = 0; // points contributed at the last load
    ColourRef colour = 0;        // walk-path colour
    // GPS locations of the last read that lay off the globe and were left
    // out with their samples; not saved.
    std::int32_t skippedLocations = 0;

    bool operator==(const CDataFile&) const = default;
};

// One measurement location: the 36-byte location record of the survey file,
// unchanged, and the samples taken there.
struct CDataPoint {
    static constexpr std::size_t kRecordSize = 36;

    std::uint8_t kind = 0;     // 0 GPS good fix, 1 GPS no good fix, 2 linear
    std::int32_t northing = 0; // raw latitude (1/3,600,000 deg); after grouping: site Y in cm
    std::int32_t easting = 0;  // raw longitude; after grouping: site X in cm
    std::uint16_t pixelX = 0;
    std::uint16_t pixelY = 0; // row from the top
    std::uint8_t date1 = 0;
    std::uint8_t date2 = 0;
    std::uint8_t year = 0; // years since 1980
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    std::uint32_t reserved1 = 0;
    std::int32_t altitude = 0; // 1/256 m
    std::uint16_t reserved2 = 0;
    std::uint16_t speed = 0; // 1/256 km/h
    std::uint16_t reserved3 = 0;
    std::uint8_t fix = 0; // 0 none, 1 2D, 2 3D
    std::uint16_t sampleCount = 0;
    CPointSamples samples;

    CDataPoint() = default;
    // Copies every field of a location record; the sample array starts empty.
    explicit CDataPoint(std::span<const std::uint8_t, kRecordSize> record);
    void ToRecord(std::span<std::uint8_t, kRecordSize> out) const;

    bool operator==(const CDataPoint&) const = default;
};

// One sample of one AP. First coordinate Y (or latitude), second X (or
// longitude), RSSI in dBm.
struct CData {
    static constexpr std::size_t kBlockSize = 28;

    double y = 0.0;
    double x = 0.0;
    double rssi = 0.0;
    std::int32_t level2 = 0;

    bool operator==(const CData&) const = default;
};

} // namespace tarvo
