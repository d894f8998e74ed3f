#pragma once
// The map view's picture, painted in layers from document state alone: the
// map, the coverage image of the display type blended with the coverage
// opacity, the walk path, the icon layers, the coordinate scale, the legend
// and the compass. The same sequence paints the window and the 800 x 600
// pictures of the report.
//
// Thread: any thread, as long as no other thread changes the document
// meanwhile (a QGuiApplication must exist for the fonts).

#include "model/Document.h"
#include "model/UiServices.h"

#include <QImage>

class QPainter;

namespace tarvo {

struct CLayerContext;

constexpr int kOffscreenWidth = 800;
constexpr int kOffscreenHeight = 600;

// Which of the layers that move with the map are painted.
struct CMapLayers {
    int displayType = kDisplayNone;
    bool path = false;
    bool apIcons = false;
    bool markedApIcons = false;
    bool interferenceIcons = false;
    bool samplesUnderCoverage = false; // AP samples on the canvas, before the blend
};

// The layers as the document's flags and display type show them.
CMapLayers MapLayersShownBy(const CTarvoAnalyzerDoc& doc);

// The layers that move with the map, for ctx's target (an image of
// ctx.wc x ctx.hc logical pixels at ratio ctx.dpr): the map, the
// coverage image of the display type blended with the coverage opacity, the
// walk path and the icon layers. AP samples (display type 1) only with
// samplesUnderCoverage; otherwise the caller draws them over the rest.
QImage PaintMapLayers(const CLayerContext& ctx, const CMapLayers& layers);

// The legend at the top right and the compass, where the window shows them,
// at the device pixel ratio of the painter's device.
void DrawWindowOverlays(QPainter& painter, const CTarvoAnalyzerDoc& doc, int wc, int hc,
                        IUiServices& ui);

// Paints the view for a client area of wc x hc pixels under the document's
// flags and display type and returns the picture. Also decides the scroll
// bars (doc.view.scrollBarsShown) and keeps a copy of the picture as
// doc.lastViewBitmap. Messages of the coordinate conversions go to ui.
QImage RenderLayers(CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui);

// Paints an 800 x 600 picture of the study into target (replaced) with the
// given display type; the path and the three icon layers follow the flags
// given here, not the document's. First sets the ViewWindow for 800 x 600:
// "Fit in the map" with the path, the view extent otherwise; the window
// stays so. The coordinate labels are always drawn; no legend, compass or
// kept copy.
void RenderOffscreen(QImage& target, CTarvoAnalyzerDoc& doc, int displayType, bool withPath,
                     bool withApIcons, bool withMarkedApIcons, bool withInterferenceIcons,
                     IUiServices& ui);

} // namespace tarvo
