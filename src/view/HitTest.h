#pragma once
// Which resource of the study lies under a pixel of the map view: AP
// records, marked APs and interference sources, with the small helpers the
// pointer tools use to read and change a hit resource without caring which
// list it sits in.

#include "model/Document.h"

#include <QPoint>

#include <cstdint>

namespace tarvo {

enum HitKind : std::int32_t {
    kHitAp = 0,     // doc.aps
    kHitMarker = 1, // doc.markers
    kHitSource = 2  // doc.sources
};

// A resource counts as under the pointer when its rounded pixel lies less
// than this many pixels away on both axes.
constexpr int kHitTolerancePx = 4;

struct CHit {
    std::int32_t kind = kHitMarker;
    std::int32_t index = -1; // -1: nothing hit

    bool Found() const { return index >= 0; }
};

// A site position (x, y) as hit testing sees it on a wc x hc target:
// SiteToClient under the document's view, each axis by RoundUpPast04.
QPoint HitPixel(const CTarvoAnalyzerDoc& doc, double x, double y, int wc, int hc);

// True when site (x, y) lies less than `tolerance` pixels from pixel p on
// both axes.
bool NearPixel(const CTarvoAnalyzerDoc& doc, double x, double y, QPoint p, int wc, int hc,
               int tolerance = kHitTolerancePx);

// The valid AP records first, then the marked APs, then the interference
// sources, each in list order; the first within kHitTolerancePx wins. No
// hit gives index -1 (the kind then means nothing).
CHit HitTestResource(const CTarvoAnalyzerDoc& doc, QPoint p, int wc, int hc);

// True when `hit` names an existing record.
bool HitExists(const CTarvoAnalyzerDoc& doc, CHit hit);

// A resource's position, Y first as stored.
struct CSitePoint {
    double y = 0.0;
    double x = 0.0;

    bool operator==(const CSitePoint&) const = default;
};
CSitePoint ResourcePosition(const CTarvoAnalyzerDoc& doc, CHit hit);
void SetResourcePosition(CTarvoAnalyzerDoc& doc, CHit hit, CSitePoint position);

// The resource's icon id (an AP style 174-179 or a source style 180-185).
std::int32_t& ResourceIcon(CTarvoAnalyzerDoc& doc, CHit hit);

} // namespace tarvo
