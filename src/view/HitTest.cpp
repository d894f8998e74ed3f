#include "view/HitTest.h"

#include "view/ViewGeometry.h"

#include <cstdlib>

namespace tarvo {

QPoint HitPixel(const CTarvoAnalyzerDoc& doc, double x, double y, int wc, int hc) {
    const CClientPoint p = SiteToClient(VisibleRect(doc), x, y, wc, hc);
    return {RoundUpPast04(p.px), RoundUpPast04(p.py)};
}

bool NearPixel(const CTarvoAnalyzerDoc& doc, double x, double y, QPoint p, int wc, int hc,
               int tolerance) {
    const QPoint at = HitPixel(doc, x, y, wc, hc);
    return std::abs(at.x() - p.x()) < tolerance && std::abs(at.y() - p.y()) < tolerance;
}

CHit HitTestResource(const CTarvoAnalyzerDoc& doc, QPoint p, int wc, int hc) {
    for (int i = 0; i < doc.aps.GetSize(); ++i) {
        const CAPInfo& ap = doc.aps[i];
        if (ap.valid && NearPixel(doc, ap.position[1], ap.position[0], p, wc, hc))
            return {kHitAp, i};
    }
    for (int i = 0; i < doc.markers.GetSize(); ++i)
        if (NearPixel(doc, doc.markers[i].x, doc.markers[i].y, p, wc, hc))
            return {kHitMarker, i};
    for (int i = 0; i < doc.sources.GetSize(); ++i)
        if (NearPixel(doc, doc.sources[i].x, doc.sources[i].y, p, wc, hc))
            return {kHitSource, i};
    return {};
}

bool HitExists(const CTarvoAnalyzerDoc& doc, CHit hit) {
    if (hit.index < 0)
        return false;
    switch (hit.kind) {
    case kHitAp:
        return hit.index < doc.aps.GetSize();
    case kHitMarker:
        return hit.index < doc.markers.GetSize();
    case kHitSource:
        return hit.index < doc.sources.GetSize();
    default:
        return false;
    }
}

CSitePoint ResourcePosition(const CTarvoAnalyzerDoc& doc, CHit hit) {
    switch (hit.kind) {
    case kHitAp:
        return {doc.aps[hit.index].position[0], doc.aps[hit.index].position[1]};
    case kHitMarker:
        return {doc.markers[hit.index].y, doc.markers[hit.index].x};
    default:
        return {doc.sources[hit.index].y, doc.sources[hit.index].x};
    }
}

void SetResourcePosition(CTarvoAnalyzerDoc& doc, CHit hit, CSitePoint position) {
    switch (hit.kind) {
    case kHitAp:
        doc.aps[hit.index].position = {position.y, position.x};
        break;
    case kHitMarker:
        doc.markers[hit.index].y = position.y;
        doc.markers[hit.index].x = position.x;
        break;
    default:
        doc.sources[hit.index].y = position.y;
        doc.sources[hit.index].x = position.x;
        break;
    }
}

std::int32_t& ResourceIcon(CTarvoAnalyzerDoc& doc, CHit hit) {
    switch (hit.kind) {
    case kHitAp:
        return doc.aps[hit.index].icon;
    case kHitMarker:
        return doc.markers[hit.index].icon;
    default:
        return doc.sources[hit.index].icon;
    }
}

} // namespace tarvo
