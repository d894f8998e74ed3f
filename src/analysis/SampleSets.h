#pragma once
// Per-AP sample sets: grouping the loaded measurement points into one AP
// record per MAC address, the channel plan, the colour wheel, and the two
// per-AP preparation steps before estimation (no-signal samples, spatial
// thinning).

#include "model/ChannelPlan.h"
#include "model/ColourWheel.h"
#include "model/Document.h"
#include "model/UiServices.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tarvo {

constexpr double kNoSignalDbm = -100.0;
// A point closer than this (|dY| + |dX|, metres) to a sample of the AP
// already has a measurement there and gets no no-signal sample.
constexpr double kNoSignalSpacingM = 0.1;

// Advances doc.colourSeed and returns the colour of its new value.
ColourRef NextColour(CTarvoAnalyzerDoc& doc);

// Thinning distances of an AP in metres, from its frequency read as an
// unsigned number (so -1 becomes 4294967295 and both become almost 0):
// window = 3000.0 / f (about ten wavelengths), minimum = 114.0 / f.
struct CThinningDistances {
    double windowM = 0.0;
    double minimumM = 0.0;
};
CThinningDistances ThinningDistancesFor(std::int32_t frequencyMhz);

// Spatial thinning of one sample list (positions in site metres).
// Pass 1 walks the list and averages runs that stay within the window of
// their first sample, dropping samples closer than the minimum to the last
// one taken; pass 2 merges points within the window of an earlier seed.
// RSSI averages are sums in list order divided by the count; level2
// averages are integer sums divided by the count, truncated toward zero.
// Empty input gives empty output.
std::vector<CData> ThinSampleList(std::span<const CData> samples, std::int32_t frequencyMhz);

// Builds the AP array from the points of the selected files (in list
// order; each selected file owns the next pointCount points), colours the
// files and APs, then converts every position to site coordinates (with
// the synthetic projection for GPS data without a map) and sets
// DataExtent/AnalysisBox. Clears the processed flag; colour mode 0.
void BuildApSampleSets(CTarvoAnalyzerDoc& doc, IUiServices& ui);

// Adds a -100 dBm sample at every measurement point inside the AP's sample
// box (origin/extent, edges included) that has no sample of the AP within
// |dY| + |dX| < 0.1 m, and thins them with the AP's samples into
// filteredSamples: only filteredSamples keeps their influence. Writes
// nothing but ap.filteredSamples, so distinct APs may be prepared at once.
void AddNoSignalSamples(std::span<const CDataPoint> points, CAPInfo& ap);

} // namespace tarvo
