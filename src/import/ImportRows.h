#pragma once
// What every import reader produces: rows of measurements in the frame the
// input gives them, and the rows it refused with the reason.

#include "model/ApRecords.h"
#include "model/SurveyRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

// The frame a row's position is given in.
enum class ImportFrame {
    Pixels,     // x, y: map pixels, origin top-left, y down
    SiteMetres, // x_m, y_m: X to the right, Y up from the plan's bottom edge
    LatLon      // lat, lon: WGS84 degrees
};

// One measurement: one AP heard at one position, or (heard false) a
// position where nothing was heard.
struct CImportRow {
    int line = 0; // 1-based line of the input that holds it
    // Rows that are read in the order of the input; consecutive rows with
    // the same key and position form one location. The key is empty when
    // the input gives no location column.
    std::string locationKey;
    ImportFrame frame = ImportFrame::SiteMetres;
    double first = 0.0;  // x, x_m or latitude
    double second = 0.0; // y, y_m or longitude
    bool heard = true;
    CDataSsd sample; // channel, rssi (1/16 dBm), level2 (dBm), bssid, ssid
    std::optional<DateTimeBytes> time;
    // GPS details some inputs carry: record kind (0 good fix, 1 no good
    // fix), fix (0 none, 1 2D, 2 3D), altitude (1/256 m), speed (1/256 km/h).
    std::optional<std::uint8_t> gpsKind;
    std::optional<std::uint8_t> fix;
    std::optional<std::int32_t> altitudeRaw;
    std::optional<std::uint16_t> speedRaw;
};

// A refused row, or a whole input that cannot be read: "FILE:LINE: reason".
struct CImportProblem {
    std::string file;
    int line = 0; // 0: about the file as a whole
    std::string reason;
    // Where the problem sorts among the rows of its input: the line of the
    // row it belongs to (a scan file's problem sorts at its manifest row).
    int order = 0;

    std::string Text() const;
};

// Everything one reader made of one input.
struct CImportRead {
    std::string file; // the name messages use
    std::vector<CImportRow> rows;
    std::vector<CImportProblem> refused;
    // The input as a whole cannot be read (no header, a missing column).
    std::optional<CImportProblem> fatal;
    // Rows that are no Wi-Fi measurements (other radios of a phone log):
    // left out without a problem, and counted.
    int otherRadios = 0;
};

// The noise level (level2) a sample gets when the input gives none: the
// thermal noise of a 20 MHz channel (-174 dBm/Hz + 73 dB) plus a receiver
// noise figure of about 6 dB.
constexpr std::int16_t kDefaultNoiseDbm = -95;

} // namespace tarvo
