#pragma once
// Site coordinates: metres on the map plane, X to the right, Y up from the
// map's bottom edge. Pairs are stored Y first, X second.

#include "model/Document.h"
#include "model/UiServices.h"

#include <string>

namespace tarvo {

constexpr double kMilliArcSecondsPerDegree = 3600000.0;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kMetresPerMile = 1609.344;

// toSite = true: in1 latitude, in2 longitude (degrees) -> north = site Y,
// east = site X. toSite = false: in1 site X, in2 site Y -> north = latitude,
// east = longitude. A singular matrix in the inverse direction shows
// "Invalid Transformation Matrix" and leaves both results unchanged.
void TransformPoint(const CTarvoAnalyzerDoc& doc, bool toSite, double in1, double in2,
                    double& north, double& east, IUiServices& ui);

// Haversine distance in metres between two latitude/longitude pairs in
// degrees, on a sphere of radius 6378137.0 m, with pi taken as 3.14159265.
double GreatCircleDistance(double lat1, double lon1, double lat2, double lon2);

// Latitude/longitude box of the document's GPS points in degrees, widened
// to 0.0001 degrees on an axis narrower than 1e-6. False without points.
struct CGeoBox {
    double latMin = 0.0, latMax = 0.0, lonMin = 0.0, lonMax = 0.0;
};
bool GpsPointBox(const CTarvoAnalyzerDoc& doc, CGeoBox& box);

// Sets a projection of one metre per pixel over the GPS points' box, for
// GPS data loaded without a map.
void ApplySyntheticProjection(CTarvoAnalyzerDoc& doc);

// Converts every loaded point (to truncated centimetres), every AP sample of
// GPS data, and every marker and source still in survey-file units into site
// coordinates; sets DataExtent and AnalysisBox.
void ConvertLoadedPositions(CTarvoAnalyzerDoc& doc, IUiServices& ui);

// Recomputes AnalysisBox and ViewWindow for a drawing area of width x height
// pixels (a value below 1 uses the view's client size). Does nothing before
// the collection has been processed.
void ComputeViewExtent(CTarvoAnalyzerDoc& doc, int width, int height);

// Fits a window to the aspect of a drawing area of width x height pixels by
// widening one axis about its centre. A window or area without positive
// finite size, or one whose fitted bounds would not be finite, is left as it
// is.
void FitWindowToClient(CBox& window, int clientWidth, int clientHeight);

// Unit texts shown to the user.
const char* LengthUnitLabel(bool useFeet); // "Ft" or "m"
double ToDisplayLength(double metres, bool useFeet);
std::string FormatDistance(double metres, bool useFeet); // "d = %5.2f Ft" ...
std::string FormatSitePosition(double xMetres, double yMetres, bool useFeet);
std::string FormatDegrees(double degrees); // "%3.6f"

} // namespace tarvo
