#pragma once
// The throughput side file of a recorded walk, WALK.throughput.csv beside
// WALK.ssd: a header line "x_m,y_m,down_bps,up_bps,jitter_ms", then one row
// per point where the throughput was measured: the point's site position in
// metres (X to the right, Y up from the plan's bottom edge, as the study
// places the point), bits per second down to the surveyor's machine and up
// from it, and the jitter in milliseconds (UDP tests only). A direction
// that could not be measured is an empty field.

#include "model/ThroughputRecords.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

inline constexpr std::string_view kThroughputHeader = "x_m,y_m,down_bps,up_bps,jitter_ms";

// WALK.throughput.csv for WALK.ssd (the extension .ssd in any case is
// replaced; any other name gets ".throughput.csv" added).
std::string ThroughputPathFor(const std::string& walkPath);

// The side file's text: the header and one row per point.
std::string ThroughputCsvText(const std::vector<CThroughputPoint>& points);

struct CThroughputRead {
    std::vector<CThroughputPoint> points;
    std::vector<std::string> refused; // "FILE:LINE: reason" per row left out
    std::string fatal;                // not empty: nothing could be read
};

// Reads a side file's text (`file` names it in messages). Columns are found
// by name in any order and case; x_m and y_m are required, the others may
// be missing or empty. Rows whose position is not a pair of finite numbers,
// or whose rates or jitter are negative or not numbers, are refused.
CThroughputRead ReadThroughputCsv(std::string_view text, const std::string& file);

} // namespace tarvo
