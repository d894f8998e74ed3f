#pragma once
// Texts the pointer shows on the map view: the status-bar readouts while it
// moves (position, coverage value under it, the ruler's end points and
// distance) and the fields of the "Measured Distance" dialog. Plain
// functions of the document and a client pixel, so they are tested without
// a window.

#include "model/Document.h"
#include "model/UiServices.h"

#include <QPoint>

#include <array>
#include <optional>
#include <string>

namespace tarvo {

// Lengths are shown divided by this: 0.3048 with UseFeet, else 1.
double DisplayUnit(const CTarvoAnalyzerDoc& doc);

// Positions are shown as longitude/latitude (and typed as latitude and
// longitude) when the linear coordinates flag is off.
bool ShowsLonLat(const CTarvoAnalyzerDoc& doc);

// A client pixel in site metres and, for longitude/latitude display, in
// degrees (0 otherwise, or when the projection cannot be inverted).
struct CPointerPlace {
    double x = 0.0;
    double y = 0.0;
    double lat = 0.0;
    double lon = 0.0;
};
CPointerPlace PointerPlace(const CTarvoAnalyzerDoc& doc, QPoint p, int wc, int hc, IUiServices& ui);

// Texts of status-bar panes 1 to 3; std::nullopt leaves a pane as it is
// (pane 3 belongs to the ruler, which clears it when it ends).
using CStatusTexts = std::array<std::optional<std::string>, 3>;

// The readout of a pointer at pixel p of a wc x hc client area: the pixel
// before any data or map, nothing outside the area, else the position and,
// over the analysis box of a computed coverage, the strength (display
// type 4) or AP count (type 5) of the nearest grid point; "No coverage!"
// outside that box.
CStatusTexts MoveStatusTexts(const CTarvoAnalyzerDoc& doc, QPoint p, int wc, int hc,
                             IUiServices& ui);

// While the ruler is dragged: both end points and the distance so far.
CStatusTexts RulerStatusTexts(const CTarvoAnalyzerDoc& doc, QPoint first, QPoint second, int wc,
                              int hc, IUiServices& ui);

// The fields of the "Measured Distance" dialog for a ruler from `first` to
// `second`.
struct CRulerReadout {
    std::string firstHeader;
    std::string secondHeader;
    std::string firstPoint1;
    std::string firstPoint2;
    std::string secondPoint1;
    std::string secondPoint2;
    std::string distance;
};
CRulerReadout RulerReadout(const CTarvoAnalyzerDoc& doc, QPoint first, QPoint second, int wc,
                           int hc, IUiServices& ui);

// A distance for the dialog: "%5.3f m" up to 1000 m, then "%5.3f KM";
// in feet "%5.3f Ft" up to a mile, then "%5.3f Miles".
std::string RulerDistanceText(double metres, bool useFeet);

} // namespace tarvo
