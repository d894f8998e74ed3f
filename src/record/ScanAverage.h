#pragma once
// The scans taken at one point made into one reading per BSS: the mean of
// the levels of the scans that heard it, and how many did.

#include "record/ScanSource.h"

#include <string>
#include <vector>

namespace tarvo {

struct CHeardBss {
    MacAddress bssid{};
    std::string ssid;          // from the first scan that heard it
    double frequencyMhz = 0.0; // from the first scan that heard it
    int channel = 0;           // the first one known, 0 when none is
    // Mean of the levels in dBm over the scans that heard the BSS, summed
    // in scan order: a scan that missed it does not pull the mean down.
    double meanDbm = 0.0;
    int heard = 0; // scans that heard it
};

// One entry per BSS in the order they were first heard (scan by scan, each
// scan in its own order). A BSS a scan lists twice counts once there, with
// its first entry.
std::vector<CHeardBss> AverageScans(const std::vector<CScan>& scans);

} // namespace tarvo
