#pragma once
// The throughput view (display type 10): the download rate measured along
// recorded walks, spread over a grid by inverse distance weighting
// (analysis/ThroughputGrid.h) and drawn as cells in the ten coverage
// colours (the fastest band red), with the measured points as small rings.

#include "view/LayerContext.h"

#include <QImage>
#include <QString>

namespace tarvo {

// Draws the document's throughput on the canvas (blended later with the
// coverage opacity, as the other coverage layers are). Nothing without a
// measured download rate.
void DrawThroughputLayer(const CLayerContext& ctx, QImage& canvas);

// The legend's title and band labels for a scale from 0 to topBps: row 0
// is the fastest band, " lo:hi" in Mbit/s with as many decimals as the
// band width needs.
inline constexpr const char* kThroughputLegendTitle = "Throughput: Mbit/s";
QString ThroughputBandLabel(double topBps, int row);

} // namespace tarvo
