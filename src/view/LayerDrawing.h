#pragma once
// The individual layers of the map view, each drawn for one render context.
// RenderLayers and RenderOffscreen put them together in order.

#include "view/LayerContext.h"

#include <QImage>

#include <initializer_list>

namespace tarvo {

// The visible part of the map picture stretched over its pixel box, on each
// of the images. Nothing without a loaded map or with showMap off.
void DrawMapLayer(const CLayerContext& ctx, std::initializer_list<QImage*> images);

// AP samples (display type 1): one filled circle per run of consecutive
// samples on the same pixel, coloured by the run's mean RSSI.
void DrawApSamples(const CLayerContext& ctx, QImage& on);

// Palette index of a sample value: PowerHigh and above give 0, PowerLow and
// below 9.
int SampleBandColourIndex(double rssiDbm, int powerLow, int powerHigh);

// Reliability rings (type 2), each AP's blended onto the canvas with alpha
// 200 (within the outermost ring's box when the map is shown).
void DrawReliabilityRings(const CLayerContext& ctx, QImage& canvas);

// Per-AP contour bands (type 3), each AP's blended onto the canvas with
// alpha 200 within its sample box.
void DrawApBands(const CLayerContext& ctx, QImage& canvas);

// Site-wide bands of the strength (type 4) or AP-count (type 5) matrix,
// drawn on the canvas.
void DrawSiteBands(const CLayerContext& ctx, int displayType, QImage& canvas);

// The walk path of the selected files, with GPS status rings.
void DrawWalkPath(const CLayerContext& ctx, QImage& target);

// The icon layers: valid selected APs, marked APs, interference sources.
void DrawIconLayers(const CLayerContext& ctx, QImage& target, bool apIcons, bool markedApIcons,
                    bool interferenceIcons);

// Index of a site-wide drawing in doc.coverageDrawings and of its per-level
// segment and polygon counts in doc.coverageTables.
struct CSiteBandSource {
    int drawing = 0;
    int lineCounts = 0;
    int areaCounts = 1;
};
CSiteBandSource SiteBandSource(int displayType);

} // namespace tarvo
