#include "analysis/Coordinates.h"

#include "model/Text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvo {

namespace {

constexpr double kPiAsUsed = 3.14159265;
constexpr double kEarthRadiusM = 6378137.0;
constexpr double kNarrowRange = 1e-6;

// Truncates toward zero into 32 bits, saturating where the value does not
// fit (a wild position must not be undefined behaviour).
std::int32_t TruncateToInt32(double value) {
    if (!(value == value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

// Survey files store marker coordinates in an unsigned field; the value is
// the two's-complement form of a signed latitude or longitude, so southern
// and western positions come back negative here.
std::int32_t SignedFromMarkerField(double raw) {
    if (raw >= 0.0 && raw < 4294967296.0)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
    return TruncateToInt32(raw);
}

bool IsGpsKind(std::uint8_t kind) {
    return kind == 0 || kind == 1;
}

void Forward(const CTarvoAnalyzerDoc& doc, double lat, double lon, double& y, double& x) {
    const auto& m = doc.ProjectionMatrix;
    x = (m[0][0] * lat + m[0][1] * lon + m[0][3]) * doc.SiteScaleX;
    y = (doc.ImageHeight - (m[1][0] * lat + m[1][1] * lon + m[1][3])) * doc.SiteScaleY;
}

// A non-positive extent on an axis of the selected APs' box becomes a small
// positive one around the same place, so the view never has zero size.
void WidenEmptyAxis(double& min, double& extent, double mapSize, double previousExtent) {
    if (extent > 0.0)
        return;
    double widened = mapSize > 0.0 ? mapSize / 20.0 : previousExtent / 20.0;
    if (!(widened > 0.0))
        widened = 1.0;
    min -= widened / 2.0;
    extent = widened;
}

} // namespace

void TransformPoint(const CTarvoAnalyzerDoc& doc, bool toSite, double in1, double in2,
                    double& north, double& east, IUiServices& ui) {
    if (toSite) {
        Forward(doc, in1, in2, north, east);
        return;
    }
    const auto& m = doc.ProjectionMatrix;
    const double a = m[0][0], b = m[0][1], c = m[0][3];
    const double d = m[1][0], e = m[1][1], f = m[1][3];
    const double det = a * e - b * d;
    if (!(std::fabs(det) > 0.0)) {
        ui.MessageBox("Invalid Transformation Matrix", "Error", MsgIcon::Error);
        return;
    }
    const double u = in1 / doc.SiteScaleX - c;
    const double v = doc.ImageHeight - in2 / doc.SiteScaleY - f;
    north = (e * u - b * v) / det;
    east = (a * v - d * u) / det;
}

double GreatCircleDistance(double lat1, double lon1, double lat2, double lon2) {
    const double toRad = kPiAsUsed / 180.0;
    const double phi1 = lat1 * toRad, phi2 = lat2 * toRad;
    const double sinDPhi = std::sin((phi2 - phi1) / 2.0);
    const double sinDLambda = std::sin((lon2 * toRad - lon1 * toRad) / 2.0);
    const double h = sinDPhi * sinDPhi + std::cos(phi1) * std::cos(phi2) * sinDLambda * sinDLambda;
    return 2.0 * std::atan2(std::sqrt(h), std::sqrt(1.0 - h)) * kEarthRadiusM;
}

bool GpsPointBox(const CTarvoAnalyzerDoc& doc, CGeoBox& box) {
    bool any = false;
    for (const CDataPoint& p : doc.points) {
        if (!IsGpsKind(p.kind))
            continue;
        const double lat = p.northing / kMilliArcSecondsPerDegree;
        const double lon = p.easting / kMilliArcSecondsPerDegree;
        if (!any) {
            box = {lat, lat, lon, lon};
            any = true;
        }
        box.latMin = std::min(box.latMin, lat);
        box.latMax = std::max(box.latMax, lat);
        box.lonMin = std::min(box.lonMin, lon);
        box.lonMax = std::max(box.lonMax, lon);
    }
    if (!any)
        return false;
    if (box.latMax - box.latMin < kNarrowRange) {
        box.latMin -= 5e-05;
        box.latMax = box.latMin + 0.0001;
    }
    if (box.lonMax - box.lonMin < kNarrowRange) {
        box.lonMin -= 5e-05;
        box.lonMax = box.lonMin + 0.0001;
    }
    return true;
}

void ApplySyntheticProjection(CTarvoAnalyzerDoc& doc) {
    CGeoBox box;
    if (!GpsPointBox(doc, box))
        return;
    const double dEW = GreatCircleDistance(box.latMin, box.lonMin, box.latMin, box.lonMax);
    const double dNS = GreatCircleDistance(box.latMin, box.lonMin, box.latMax, box.lonMin);
    doc.ImageWidth = TruncateToInt32(dEW);
    doc.ImageHeight = TruncateToInt32(dNS);
    doc.ProjectionMatrix = {};
    auto& m = doc.ProjectionMatrix;
    m[0][1] = dEW / (box.lonMax - box.lonMin);
    m[0][3] = -m[0][1] * box.lonMin;
    m[1][0] = dNS / (box.latMax - box.latMin);
    m[1][3] = -m[1][0] * box.latMin;
    doc.SiteScaleX = 1.0;
    doc.SiteScaleY = 1.0;
}

void ConvertLoadedPositions(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    const double sx = doc.SiteScaleX, sy = doc.SiteScaleY;
    const double heightM = doc.ImageHeight * sy;

    CGeoBox geo;
    const bool haveGeoBox = GpsPointBox(doc, geo);
    bool anyLinear = false;
    double minY = 0, minX = 0, maxY = 0, maxX = 0;

    for (CDataPoint& p : doc.points) {
        double y, x;
        if (p.kind == kProjectionLinear) {
            x = p.pixelX * sx;
            y = heightM - p.pixelY * sy;
            if (!anyLinear) {
                minY = maxY = y;
                minX = maxX = x;
                anyLinear = true;
            }
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
        } else {
            TransformPoint(doc, true, p.northing / kMilliArcSecondsPerDegree,
                           p.easting / kMilliArcSecondsPerDegree, y, x, ui);
        }
        p.northing = TruncateToInt32(y * 100.0);
        p.easting = TruncateToInt32(x * 100.0);
    }

    const bool gpsData = doc.gpsPointsPresent;
    if (gpsData) {
        for (CAPInfo& ap : doc.aps)
            for (auto* list : {&ap.samples, &ap.filteredSamples})
                for (CData& s : *list)
                    Forward(doc, s.y, s.x, s.y, s.x);
    }

    auto convertMarker = [&](auto& marker) {
        if (marker.inSiteUnits)
            return;
        if (gpsData) {
            const double lat = SignedFromMarkerField(marker.y) / kMilliArcSecondsPerDegree;
            const double lon = SignedFromMarkerField(marker.x) / kMilliArcSecondsPerDegree;
            Forward(doc, lat, lon, marker.y, marker.x);
        } else {
            marker.x = marker.x * sx;
            marker.y = heightM - marker.y * sy;
        }
        marker.inSiteUnits = true;
    };
    for (CAPMarker& m : doc.markers)
        convertMarker(m);
    for (CISMarker& s : doc.sources)
        convertMarker(s);

    if (gpsData && haveGeoBox) {
        double y0, x0, y1, x1;
        Forward(doc, geo.latMin, geo.lonMin, y0, x0);
        Forward(doc, geo.latMax, geo.lonMax, y1, x1);
        doc.DataExtent = {y0, x0, y1 - y0, x1 - x0};
    } else if (anyLinear) {
        doc.DataExtent = {minY, minX, maxY - minY, maxX - minX};
    } else {
        doc.DataExtent = {};
    }
    doc.AnalysisBox = doc.DataExtent;
}

void ComputeViewExtent(CTarvoAnalyzerDoc& doc, int width, int height) {
    if (!doc.processed)
        return;
    const bool mapShown = doc.view.showMap && doc.mapLoaded;
    const double mapW = doc.MapExtentWidth, mapH = doc.MapExtentHeight;

    CBox box;
    bool anySelected = false;
    for (const CAPInfo& ap : doc.aps) {
        if (!ap.selected)
            continue;
        const double y0 = ap.origin[0], x0 = ap.origin[1];
        const double y1 = y0 + ap.extent[0], x1 = x0 + ap.extent[1];
        if (!anySelected) {
            box = {y0, x0, 0.0, 0.0};
            box.extentY = y1 - y0;
            box.extentX = x1 - x0;
            anySelected = true;
            continue;
        }
        const double minY = std::min(box.minY, y0), minX = std::min(box.minX, x0);
        const double maxY = std::max(box.minY + box.extentY, y1);
        const double maxX = std::max(box.minX + box.extentX, x1);
        box = {minY, minX, maxY - minY, maxX - minX};
    }

    CBox work;
    if (anySelected) {
        WidenEmptyAxis(box.minY, box.extentY, doc.mapLoaded ? mapH : 0.0, doc.ViewWindow.extentY);
        WidenEmptyAxis(box.minX, box.extentX, doc.mapLoaded ? mapW : 0.0, doc.ViewWindow.extentX);
        doc.AnalysisBox = box;
        work = box;
    } else {
        bool any = false;
        double minY = 0, minX = 0, maxY = 0, maxX = 0;
        for (const CDataPoint& p : doc.points) {
            const double y = p.northing / 100.0, x = p.easting / 100.0;
            if (!any) {
                minY = maxY = y;
                minX = maxX = x;
                any = true;
            }
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
        }
        box = {minY, minX, maxY - minY, maxX - minX};
        work = box;
        if (!doc.mapLoaded) {
            if (box.extentY < kNarrowRange) {
                box.minY = doc.DataExtent.minY;
                box.extentY = doc.DataExtent.extentY;
            }
            if (box.extentX < kNarrowRange) {
                box.minX = doc.DataExtent.minX;
                box.extentX = doc.DataExtent.extentX;
            }
            work = box;
        } else {
            if (work.extentY < kNarrowRange) {
                work.minY = 0.0;
                work.extentY = mapH;
            }
            if (work.extentX < kNarrowRange) {
                work.minX = 0.0;
                work.extentX = mapW;
            }
        }
        doc.AnalysisBox = box;
        // One location, or a data box that is still empty: give the view a
        // metre so that pixel scales stay finite.
        WidenEmptyAxis(work.minY, work.extentY, 0.0, 0.0);
        WidenEmptyAxis(work.minX, work.extentX, 0.0, 0.0);
    }

    if (mapShown) {
        const double minY = std::min(work.minY, 0.0), minX = std::min(work.minX, 0.0);
        const double maxY = std::max(work.minY + work.extentY, mapH);
        const double maxX = std::max(work.minX + work.extentX, mapW);
        work = {minY, minX, maxY - minY, maxX - minX};
    }

    CBox view = work;
    if (doc.view.showMap) {
        view.minY -= view.extentY / 10.0;
        view.minX -= view.extentX / 10.0;
        view.extentY *= 1.2;
        view.extentX *= 1.2;
    }
    if (mapShown) {
        if (width < 1 || height < 1) {
            width = doc.view.clientWidth;
            height = doc.view.clientHeight;
        }
        FitWindowToClient(view, width, height);
    }
    doc.ViewWindow = view;
    doc.view.ResetZoom();
}

void FitWindowToClient(CBox& window, int clientWidth, int clientHeight) {
    if (clientWidth < 1 || clientHeight < 1 || !std::isfinite(window.extentX) ||
        !std::isfinite(window.extentY) || !(window.extentX > 0.0) || !(window.extentY > 0.0))
        return;
    const double rx = window.extentX / clientWidth;
    const double ry = window.extentY / clientHeight;
    CBox fitted = window;
    if (rx <= ry) {
        fitted.minX -= (ry / rx - 1.0) * window.extentX * 0.5;
        fitted.extentX = ry * clientWidth;
    } else {
        fitted.minY -= (rx / ry - 1.0) * window.extentY * 0.5;
        fitted.extentY = rx * clientHeight;
    }
    // Extents far apart in magnitude can overflow the ratio; such a window
    // stays as it was rather than becoming infinite.
    if (std::isfinite(fitted.minX) && std::isfinite(fitted.minY) && std::isfinite(fitted.extentX) &&
        std::isfinite(fitted.extentY))
        window = fitted;
}

const char* LengthUnitLabel(bool useFeet) {
    return useFeet ? "Ft" : "m";
}

double ToDisplayLength(double metres, bool useFeet) {
    return useFeet ? metres / kMetresPerFoot : metres;
}

std::string FormatDistance(double metres, bool useFeet) {
    if (useFeet) {
        if (metres > kMetresPerMile)
            return Format("d = %5.2f Miles", metres / kMetresPerMile);
        return Format("d = %5.2f Ft", metres / kMetresPerFoot);
    }
    if (metres > 1000.0)
        return Format("d = %5.2f KM", metres / 1000.0);
    return Format("d = %5.2f m", metres);
}

std::string FormatSitePosition(double xMetres, double yMetres, bool useFeet) {
    if (useFeet)
        return Format("X(Ft) = %3.3f, Y(Ft) = %3.3f \n", xMetres / kMetresPerFoot,
                      yMetres / kMetresPerFoot);
    return Format("X(m) = %3.3f, Y(m) = %3.3f \n", xMetres, yMetres);
}

std::string FormatDegrees(double degrees) {
    return Format("%3.6f", degrees);
}

} // namespace tarvo
