#pragma once
// Writer of site-survey data files (.ssd), the layout SsdReader.h reads: a
// 25-byte header, the record area with its two sizes, then location records
// each followed by its samples, and marked-AP and interference records with
// their payloads. Used to make sample studies; the program reads surveys only.

#include "model/ApRecords.h"
#include "model/SurveyRecords.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvo {

// A marked AP as a survey file stores it. y and x are raw: for GPS walks
// latitude and longitude in 1/3,600,000 degree (two's complement), for
// linear walks the map row (from the top) and column.
struct CSsdMarkedAp {
    std::uint32_t y = 0;
    std::uint32_t x = 0;
    DateTimeBytes dateTime{}; // record bytes 13..18
    std::uint32_t channel = 0;
    MacAddress bssid{};
    std::string ssid; // cut to 32 bytes
    std::string name; // cut to 127 bytes, NUL-terminated
};

// An interference source; frequencies in units of 50 kHz (MHz x 20).
struct CSsdInterference {
    std::uint32_t y = 0;
    std::uint32_t x = 0;
    DateTimeBytes dateTime{};
    std::uint32_t centre50kHz = 0;
    std::uint32_t bandwidth50kHz = 0;
    std::string name;
};

class CSsdWriter {
public:
    // recordSize >= 36 and sampleSize >= 46; larger records are zero-padded.
    explicit CSsdWriter(std::int64_t createdSeconds, std::uint8_t fileType = 0,
                        std::uint32_t recordSize = 36, std::uint32_t sampleSize = 46);

    // A location record (kind 0, 1, 2 or 0xFF) with point.samples after it;
    // the record's sampleCount is the number of samples (at most 65535).
    void AddLocation(const CDataPoint& point);
    // The same, each sample record carrying one more 16-bit value at byte 46
    // (sampleTails[i] for sample i, 0 where the span ends): a reader keeps
    // the first 46 bytes and skips the rest. Needs a sampleSize of at least
    // 48; with a smaller one the values are left out.
    void AddLocation(const CDataPoint& point, std::span<const std::uint16_t> sampleTails);
    void AddMarkedAp(const CSsdMarkedAp& marker);
    void AddInterference(const CSsdInterference& source);

    std::vector<std::uint8_t> Bytes() const;
    bool Save(const std::string& path) const;

    int LocationCount() const { return locations_; }

private:
    std::vector<std::uint8_t> MarkerRecord(std::uint8_t kind, std::uint32_t y, std::uint32_t x,
                                           const DateTimeBytes& dateTime) const;

    std::int64_t created_;
    std::uint8_t fileType_;
    std::uint32_t recordSize_;
    std::uint32_t sampleSize_;
    std::vector<std::uint8_t> body_;
    int locations_ = 0;
};

} // namespace tarvo
