#include "view/PointerTexts.h"

#include "analysis/Coordinates.h"
#include "model/Text.h"
#include "view/ViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

bool InClient(QPoint p, int wc, int hc) {
    return p.x() >= 0 && p.y() >= 0 && p.x() < wc && p.y() < hc;
}

// The site-wide strength and AP-count matrices exist and match the grid.
bool HasCoverageMatrix(const CTarvoAnalyzerDoc& doc) {
    const long long cells = static_cast<long long>(doc.CoverageRows) * doc.CoverageCols;
    return doc.coveragePresent && cells > 0 && doc.StrengthMatrix.GetSize() == cells &&
           doc.ApCountMatrix.GetSize() == cells;
}

// Grid index of pixel coordinate v between the pixel edges `from` and `to`
// of an axis with `count` points, or -1 when the axis has no pixel extent.
int GridIndex(double v, double from, double to, int count) {
    if (count <= 1)
        return 0;
    if (!(std::fabs(to - from) > 0.0))
        return -1;
    const double index = std::round((count - 1) * (v - from) / (to - from));
    return index >= 0 && index <= count - 1 ? static_cast<int>(index) : -1;
}

double Distance(const CPointerPlace& a, const CPointerPlace& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

double DisplayUnit(const CTarvoAnalyzerDoc& doc) {
    return doc.UseFeet ? kMetresPerFoot : 1.0;
}

bool ShowsLonLat(const CTarvoAnalyzerDoc& doc) {
    return !doc.linearCoordinates;
}

CPointerPlace PointerPlace(const CTarvoAnalyzerDoc& doc, QPoint p, int wc, int hc,
                           IUiServices& ui) {
    CPointerPlace place;
    ClientToSite(VisibleRect(doc), p.x(), p.y(), wc, hc, place.x, place.y);
    if (ShowsLonLat(doc))
        TransformPoint(doc, false, place.x, place.y, place.lat, place.lon, ui);
    return place;
}

CStatusTexts MoveStatusTexts(const CTarvoAnalyzerDoc& doc, QPoint p, int wc, int hc,
                             IUiServices& ui) {
    const bool inside = InClient(p, wc, hc);
    if (!doc.processed && !doc.view.showMap)
        return {inside ? Format("(X = %d, Y =  %d)", p.x(), p.y()) : std::string(), std::string(),
                std::string()};
    if (!inside)
        return {std::string(), std::string(), std::string()};

    const CPointerPlace at = PointerPlace(doc, p, wc, hc, ui);
    const double u = DisplayUnit(doc);
    const bool lonLat = ShowsLonLat(doc);
    CStatusTexts texts;
    texts[1] = std::string();
    if (!HasCoverageMatrix(doc)) {
        texts[0] = lonLat ? Format("(Lon = %3.5f, Lat = %3.5f)", at.lon, at.lat)
                          : Format("(X = %5.3f, Y = %5.3f)", at.x / u, at.y / u);
        return texts;
    }

    // The analysis box in pixels (unrounded, so the grid index is exact).
    const CBox& box = doc.AnalysisBox;
    const CVisibleRect rect = VisibleRect(doc);
    const CClientPoint low = SiteToClient(rect, box.minX, box.minY, wc, hc);
    const CClientPoint high =
        SiteToClient(rect, box.minX + box.extentX, box.minY + box.extentY, wc, hc);
    const double left = low.px, right = high.px, bottom = low.py, top = high.py;
    const bool inBox = p.x() >= std::min(left, right) && p.x() <= std::max(left, right) &&
                       p.y() >= std::min(top, bottom) && p.y() <= std::max(top, bottom);
    const int ix = GridIndex(p.x(), left, right, doc.CoverageRows);
    const int iy = GridIndex(p.y(), bottom, top, doc.CoverageCols);
    if (!inBox || ix < 0 || iy < 0) {
        texts[0] = Format("No coverage! (X = %5.3f, Y = %5.3f)", at.x / u, at.y / u);
        return texts;
    }
    texts[0] = lonLat ? Format("(X = %3.5f, Y = %3.5f)", at.lon, at.lat)
                      : Format("(X = %5.3f, Y = %5.3f)", at.x / u, at.y / u);
    const int cell = iy + doc.CoverageCols * ix;
    if (doc.coverageDisplayType == kDisplayStrengthBands)
        texts[1] = Format("Power = %5.1f dBm", doc.StrengthMatrix[cell]);
    else if (doc.coverageDisplayType == kDisplayApCountBands)
        texts[1] = Format("# of AP(s) = %2.0f", doc.ApCountMatrix[cell]);
    return texts;
}

CStatusTexts RulerStatusTexts(const CTarvoAnalyzerDoc& doc, QPoint first, QPoint second, int wc,
                              int hc, IUiServices& ui) {
    const CPointerPlace a = PointerPlace(doc, first, wc, hc, ui);
    const CPointerPlace b = PointerPlace(doc, second, wc, hc, ui);
    const double u = DisplayUnit(doc);
    CStatusTexts texts;
    if (ShowsLonLat(doc)) {
        texts[0] = Format("(X1 = %3.5f, Y1 = %3.5f)", a.lon, a.lat);
        texts[1] = Format("(X2 = %3.5f, Y2 = %3.5f)", b.lon, b.lat);
    } else {
        texts[0] = Format("(X1 = %5.3f, Y1 = %5.3f)", a.x / u, a.y / u);
        texts[1] = Format("(X2 = %5.3f, Y2 = %5.3f)", b.x / u, b.y / u);
    }
    texts[2] = FormatDistance(Distance(a, b), doc.UseFeet);
    return texts;
}

CRulerReadout RulerReadout(const CTarvoAnalyzerDoc& doc, QPoint first, QPoint second, int wc,
                           int hc, IUiServices& ui) {
    const CPointerPlace a = PointerPlace(doc, first, wc, hc, ui);
    const CPointerPlace b = PointerPlace(doc, second, wc, hc, ui);
    CRulerReadout r;
    if (ShowsLonLat(doc)) {
        r.firstHeader = "Lon";
        r.secondHeader = "Lat";
        r.firstPoint1 = Format("%3.5f", a.lon);
        r.firstPoint2 = Format("%3.5f", a.lat);
        r.secondPoint1 = Format("%3.5f", b.lon);
        r.secondPoint2 = Format("%3.5f", b.lat);
    } else {
        const double u = DisplayUnit(doc);
        const char* unit = LengthUnitLabel(doc.UseFeet);
        r.firstHeader = "X";
        r.secondHeader = "Y";
        r.firstPoint1 = Format("%5.3f %s", a.x / u, unit);
        r.firstPoint2 = Format("%5.3f %s", a.y / u, unit);
        r.secondPoint1 = Format("%5.3f %s", b.x / u, unit);
        r.secondPoint2 = Format("%5.3f %s", b.y / u, unit);
    }
    r.distance = RulerDistanceText(Distance(a, b), doc.UseFeet);
    return r;
}

std::string RulerDistanceText(double metres, bool useFeet) {
    if (useFeet)
        return metres > kMetresPerMile ? Format("%5.3f Miles", metres / kMetresPerMile)
                                       : Format("%5.3f Ft", metres / kMetresPerFoot);
    return metres > 1000.0 ? Format("%5.3f KM", metres / 1000.0) : Format("%5.3f m", metres);
}

} // namespace tarvo
