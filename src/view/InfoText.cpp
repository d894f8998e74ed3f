#include "view/InfoText.h"

#include "analysis/Coordinates.h"
#include "model/Text.h"
#include "view/HitTest.h"
#include "view/PointerTexts.h"
#include "view/ViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tarvo {

namespace {

constexpr double kKmPerMile = 1.609344;

// The first walk point within (path width + 2) pixels on both axes.
const CDataPoint* PointNear(const CTarvoAnalyzerDoc& doc, QPoint p, int wc, int hc) {
    const int reach = std::max(doc.pathWidth, 0) + 2;
    for (const CDataPoint& point : doc.points) {
        const QPoint at = HitPixel(doc, point.easting / 100.0, point.northing / 100.0, wc, hc);
        if (std::abs(at.x() - p.x()) <= reach && std::abs(at.y() - p.y()) <= reach)
            return &point;
    }
    return nullptr;
}

std::string PointLines(const CTarvoAnalyzerDoc& doc, const CDataPoint& point) {
    std::string text;
    if (point.kind == 0) {
        const double altitudeM = static_cast<std::uint32_t>(point.altitude) / 256.0;
        const double speedKph = point.speed >> 8;
        text += doc.UseFeet
                    ? Format("Altitude = %5.0f Ft, Velocity = %5.1f MPH\n",
                             altitudeM / kMetresPerFoot, speedKph / kKmPerMile)
                    : Format("Altitude = %5.0f m, Velocity = %5.1f KPH\n", altitudeM, speedKph);
    }
    text += Format("%2d:%2d:%2d, %2d/%2d/%4d", point.hour, point.minute, point.second, point.date1,
                   point.date2, 1980 + point.year);
    return text;
}

// The AP's own matrix value at the grid point nearest site (x, y), when the
// point lies in its sample box (lower bounds inclusive, upper exclusive).
bool MatrixValueAt(const CAPInfo& ap, double x, double y, double& value) {
    const double minY = ap.origin[0], minX = ap.origin[1];
    const double extentY = ap.extent[0], extentX = ap.extent[1];
    if (ap.filteredSamples.GetSize() < 3 || !(extentX > 0.0) || !(extentY > 0.0))
        return false;
    if (!(x >= minX && x < minX + extentX && y >= minY && y < minY + extentY))
        return false;
    if (ap.rows < 1 || ap.columns < 1 ||
        ap.matrix.GetSize() != static_cast<long long>(ap.rows) * ap.columns)
        return false;
    const int r = std::min(RoundUpPast04((x - minX) / extentX * (ap.rows - 1)), ap.rows - 1);
    const int c = std::min(RoundUpPast04((y - minY) / extentY * (ap.columns - 1)), ap.columns - 1);
    value = ap.matrix[static_cast<long long>(r) * ap.columns + c];
    return true;
}

} // namespace

std::string InfoWindowText(const CTarvoAnalyzerDoc& doc, QPoint p, int wc, int hc,
                           IUiServices& ui) {
    const CPointerPlace at = PointerPlace(doc, p, wc, hc, ui);
    std::string text = ShowsLonLat(doc) ? Format("Lon = %3.5f, Lat = %3.5f \n", at.lon, at.lat)
                                        : FormatSitePosition(at.x, at.y, doc.UseFeet);

    if (doc.pathShown || doc.coverageDisplayType == kDisplayApSamples)
        if (const CDataPoint* point = PointNear(doc, p, wc, hc))
            text += PointLines(doc, *point);
    if (doc.markedApIconsShown)
        for (const CAPMarker& m : doc.markers)
            if (NearPixel(doc, m.x, m.y, p, wc, hc))
                text += Format("Marked AP: %s \n", m.name.c_str());
    if (doc.interferenceIconsShown)
        for (const CISMarker& s : doc.sources)
            if (NearPixel(doc, s.x, s.y, p, wc, hc))
                text += Format("Interference: %s \n", s.name.c_str());

    text += "\n  MAC                         RSSI    CH(MHz)    SSID";
    int covering = 0;
    for (const CAPInfo& ap : doc.aps) {
        if (!ap.selected)
            continue;
        const std::string mac = MacText(ap.bssid), ssid = SsidText(ap.ssid);
        if (ap.valid && NearPixel(doc, ap.position[1], ap.position[0], p, wc, hc)) {
            text += Format("\n %s    (AP)           %d         %s", mac.c_str(), ap.frequency,
                           ssid.c_str());
            // The robust estimator's radius, in the study's unit.
            if (ap.uncertaintyM > 0.0)
                text += doc.UseFeet
                            ? Format("\n Position uncertainty %.2f Ft (68 %%)",
                                     ap.uncertaintyM / kMetresPerFoot)
                            : Format("\n Position uncertainty %.2f m (68 %%)", ap.uncertaintyM);
            continue;
        }
        const CData* sample = nullptr;
        for (const CData& s : ap.samples)
            if (NearPixel(doc, s.x, s.y, p, wc, hc)) {
                sample = &s;
                break;
            }
        double value = 0.0;
        if (sample) {
            value = sample->rssi;
        } else if (MatrixValueAt(ap, at.x, at.y, value)) {
            ++covering;
        } else {
            continue;
        }
        text += Format("\n %s    %2.0f dBm      %d         %s", mac.c_str(), value, ap.frequency,
                       ssid.c_str());
    }
    if (covering == 0)
        text += "\n \n No selected AP cover this point\n";
    else if (covering == 1)
        text += "\n \n 1 selected AP covers this point \n";
    else
        text += Format("\n \n %d selected APs cover this point \n", covering);
    return text;
}

CBalloonGeometry PlaceBalloon(QSize textSize, QPoint pointer, QSize client) {
    const QSize body(textSize.width() + 2 * kBalloonInset, textSize.height() + 2 * kBalloonInset);
    const int w = body.width() + kBalloonGap + kBalloonShadow;
    const int h = body.height() + kBalloonGap + kBalloonShadow;
    const int roomRight = client.width() - pointer.x(), roomLeft = pointer.x() + 1;
    const int roomBelow = client.height() - pointer.y(), roomAbove = pointer.y() + 1;
    const bool right = w <= roomRight || (w > roomLeft && roomRight >= roomLeft);
    const bool below = h <= roomBelow || (h > roomAbove && roomBelow >= roomAbove);

    CBalloonGeometry g;
    g.corner = right ? (below ? BalloonCorner::TopLeft : BalloonCorner::BottomLeft)
                     : (below ? BalloonCorner::TopRight : BalloonCorner::BottomRight);
    g.tip = QPoint(right ? 0 : w - 1, below ? 0 : h - 1);
    // The shadow hangs right and down, so the body sits against the top
    // left of the window unless the pointer is there.
    const int bodyX = right ? kBalloonGap : w - 1 - kBalloonGap - body.width() + 1;
    const int bodyY = below ? kBalloonGap : h - 1 - kBalloonGap - body.height() + 1;
    g.body = QRect(QPoint(bodyX, bodyY), body);
    g.window = QRect(pointer - g.tip, QSize(w, h));
    return g;
}

} // namespace tarvo
