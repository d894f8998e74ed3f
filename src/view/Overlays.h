#pragma once
// Overlays that explain the map view's picture: the legend (walk paths and
// colour bands), the coordinate scale (labels and grid lines) and the
// compass. All use the 8-point overlay font.

#include "model/Document.h"
#include "model/UiServices.h"

#include <QImage>
#include <QSize>

class QPainter;

namespace tarvo {

struct CLayerContext;

// Legend size for the document's current state and display type; an empty
// size means no legend.
QSize LegendSize(const CTarvoAnalyzerDoc& doc, int displayType);

// The legend bitmap at device pixel ratio dpr (its logical size is
// LegendSize), or a null image when there is no legend.
QImage DrawLegend(const CTarvoAnalyzerDoc& doc, int displayType, double dpr = 1.0);

// The label text of band row `row` of the legend for a display type, or an
// empty text where the type has no such row.
QString LegendBandLabel(const CTarvoAnalyzerDoc& doc, int displayType, int row);

// Coordinate labels along the bottom and left edges (when `labels`) and the
// dotted yellow grid lines (when `gridLines`), for the context's target.
void DrawCoordinateScale(const CLayerContext& ctx, QPainter& painter, bool labels, bool gridLines,
                         IUiServices& ui);

// The 64 x 64 compass (logical pixels, at device pixel ratio dpr) with "N"
// toward the screen direction of north for the document's visible window on
// a wc x hc target.
QImage DrawCompass(const CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui, double dpr = 1.0);

} // namespace tarvo
