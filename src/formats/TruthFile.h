#pragma once
// The true AP positions of a survey, for judging estimated positions: a
// JSON object whose "aps" array lists, per AP, its "mac" ("02-00-00-00-00-01",
// two hexadecimal digits per byte joined by '-' or ':') and its position in
// site metres, either as "x_m" and "y_m" or as "position": [y, x] (the
// layout the sample studies write).

#include "model/SurveyRecords.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

struct CTruePosition {
    MacAddress mac{};
    double y = 0.0; // site metres
    double x = 0.0;
};

struct CTruthFile {
    bool ok = false;
    std::string error; // why the file was refused
    std::vector<CTruePosition> aps;
};

// Largest truth file read.
constexpr std::size_t kMaxTruthFileBytes = std::size_t{16} << 20;

// A MAC text of six two-digit hexadecimal bytes joined by '-' or ':'.
std::optional<MacAddress> ParseMacAddress(std::string_view text);

// Reads the positions from a JSON text. Refused (ok false, with the reason)
// when the text is not JSON or has no "aps" array; an entry without a
// readable MAC or a finite position is passed over.
CTruthFile ParseTruth(std::string_view text);

// Reads a truth file; refused as well when it cannot be read or is larger
// than kMaxTruthFileBytes.
CTruthFile ReadTruthFile(const std::string& path);

} // namespace tarvo
