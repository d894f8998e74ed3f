#pragma once
// Hand-built APs and documents for the coverage and recalculation tests.

#include "model/Document.h"

#include <algorithm>
#include <vector>

namespace tarvo::test {

struct CApSample {
    double y, x, rssi;
    int level2 = -95;
};

// A selected AP whose samples are also its thinned samples; the sample box
// is their bounding box.
inline CAPInfo MakeAp(std::uint8_t id, const std::vector<CApSample>& samples) {
    CAPInfo ap;
    ap.selected = 1;
    ap.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, id};
    ap.ssid = {};
    const char name[] = "Net";
    std::copy(name, name + 3, ap.ssid.begin());
    ap.ssid[3] = static_cast<std::uint8_t>('0' + id % 10);
    double minY = samples.front().y, maxY = minY, minX = samples.front().x, maxX = minX;
    for (const CApSample& s : samples) {
        ap.samples.Add(CData{s.y, s.x, s.rssi, s.level2});
        minY = std::min(minY, s.y);
        maxY = std::max(maxY, s.y);
        minX = std::min(minX, s.x);
        maxX = std::max(maxX, s.x);
    }
    ap.filteredSamples = ap.samples;
    ap.origin = {minY, minX};
    ap.extent = {maxY - minY, maxX - minX};
    ap.position = {(minY + maxY) / 2, (minX + maxX) / 2};
    return ap;
}

// Four samples of equal RSSI on the corners of a square box.
inline CAPInfo FlatAp(std::uint8_t id, double y0, double x0, double size, double rssi,
                      int level2 = -95) {
    return MakeAp(id, {{y0, x0, rssi, level2},
                       {y0 + size, x0, rssi, level2},
                       {y0, x0 + size, rssi, level2},
                       {y0 + size, x0 + size, rssi, level2}});
}

// A processed document holding the given APs.
inline CTarvoAnalyzerDoc ProcessedDoc(std::vector<CAPInfo> aps) {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.UseFeet = false;
    for (CAPInfo& ap : aps)
        doc.aps.Add(std::move(ap));
    return doc;
}

} // namespace tarvo::test
