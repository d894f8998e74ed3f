#include "mapview/ResourceEditing.h"

#include "analysis/Coordinates.h"
#include "analysis/Recalculation.h"
#include "mapview/DocumentHost.h"
#include "model/ApGroups.h"
#include "model/Text.h"
#include "view/ResourceTexts.h"

#include <cmath>

namespace tarvo {

namespace {

// The AP dialog texts shared by AP records and marked APs.
template <typename Record>
CApPropertiesText CommonTexts(const CTarvoAnalyzerDoc& doc, const Record& r) {
    const CCoordinateLabels labels = CoordinateLabels(doc);
    CApPropertiesText f;
    f.mac = MacText(r.bssid);
    f.ssid = SsidText(r.ssid);
    f.name = r.name;
    f.firstLabel = labels.first;
    f.secondLabel = labels.second;
    f.txPower = r.txPower;
    f.antennaDirection = r.antennaDirection;
    f.antennaGain = r.antennaGain;
    f.antennaHeightLabel = labels.antennaHeight;
    f.antennaHeight = r.antennaHeight;
    f.notes = NotesForDialog(r.notes);
    return f;
}

void SetCoordinates(CApPropertiesText& f, const CTarvoAnalyzerDoc& doc, CSitePoint site,
                    const char* format, IUiServices& ui) {
    const CCoordinateTexts texts = CoordinateTexts(doc, site, format, ui);
    f.firstCoordinate = texts.first;
    f.secondCoordinate = texts.second;
}

// Copies the typed texts; with keepWhereEmpty an empty text leaves the
// record's own (a received AP keeps the SSID its samples carry when the
// user typed none).
template <typename Record>
void ApplyCommonTexts(Record& r, const CApPropertiesText& f, bool keepWhereEmpty) {
    auto take = [keepWhereEmpty](std::string& field, const std::string& typed) {
        if (!keepWhereEmpty || !typed.empty())
            field = typed;
    };
    if (!keepWhereEmpty || !f.ssid.empty())
        r.ssid = SsidFromText(f.ssid);
    take(r.name, f.name);
    take(r.txPower, f.txPower);
    take(r.antennaDirection, f.antennaDirection);
    take(r.antennaGain, f.antennaGain);
    take(r.antennaHeight, f.antennaHeight);
    take(r.notes, NotesForRecord(f.notes));
    if (const auto channel = ParseChannel(f.channel))
        r.channel = static_cast<decltype(r.channel)>(*channel);
}

bool CoordinatesChanged(const CApPropertiesText& shown, const CApPropertiesText& typed) {
    return shown.firstCoordinate != typed.firstCoordinate ||
           shown.secondCoordinate != typed.secondCoordinate;
}

CSitePoint ApPosition(const CAPInfo& ap) {
    return {ap.position[0], ap.position[1]};
}

unsigned EditAp(CTarvoAnalyzerDoc& doc, int index, IDialogService& dialogs, IUiServices& ui) {
    const CApPropertiesText shown = ApPropertiesOf(doc, doc.aps[index], ui);
    CApPropertiesText fields = shown;
    if (!dialogs.EditApProperties(fields))
        return 0;
    ApplyApTexts(doc.aps[index], fields);
    RebuildApGroups(doc); // the SSID or channel may have changed
    unsigned changed = kChangeAps | kChangeView;
    // Unchanged coordinate texts keep the position as it is: reading back
    // the rounded text would nudge the AP and refit it for nothing.
    if (CoordinatesChanged(shown, fields))
        if (const auto typed =
                TypedPosition(doc, fields.firstCoordinate, fields.secondCoordinate, ui))
            changed |=
                PlaceAp(doc, index, ApPosition(doc.aps[index]), typed->site, typed->valid, ui);
    return changed;
}

unsigned EditMarker(CTarvoAnalyzerDoc& doc, int index, IDialogService& dialogs, IUiServices& ui) {
    const CApPropertiesText shown = MarkerPropertiesOf(doc, doc.markers[index], ui);
    CApPropertiesText fields = shown;
    if (!dialogs.EditApProperties(fields))
        return 0;
    CAPMarker& marker = doc.markers[index];
    ApplyMarkerTexts(marker, fields);
    if (CoordinatesChanged(shown, fields))
        if (const auto typed =
                TypedPosition(doc, fields.firstCoordinate, fields.secondCoordinate, ui)) {
            marker.y = typed->site.y;
            marker.x = typed->site.x;
        }
    const int apIndex = ReceivedApIndex(doc, marker.bssid);
    if (apIndex < 0)
        return kChangeAps | kChangeView;
    doc.markers.RemoveAt(index);
    return kChangeAps | kChangeView | ReceiveMarkedAp(doc, apIndex, fields, ui);
}

unsigned EditSource(CTarvoAnalyzerDoc& doc, int index, IDialogService& dialogs) {
    CSourcePropertiesText fields = SourcePropertiesOf(doc.sources[index]);
    if (!dialogs.EditSourceProperties(fields))
        return 0;
    ApplySourceTexts(doc.sources[index], fields);
    return kChangeAps | kChangeView;
}

} // namespace

CApPropertiesText ApPropertiesOf(const CTarvoAnalyzerDoc& doc, const CAPInfo& ap, IUiServices& ui) {
    CApPropertiesText f = CommonTexts(doc, ap);
    f.channel = Format("%d", ap.channel);
    if (ap.valid) {
        SetCoordinates(f, doc, ApPosition(ap), "%3.6f", ui);
    } else {
        f.firstCoordinate = kNoPositionText;
        f.secondCoordinate = kNoPositionText;
    }
    return f;
}

CApPropertiesText MarkerPropertiesOf(const CTarvoAnalyzerDoc& doc, const CAPMarker& marker,
                                     IUiServices& ui) {
    CApPropertiesText f = CommonTexts(doc, marker);
    f.channel = Format("%u", marker.channel);
    SetCoordinates(f, doc, {marker.y, marker.x}, "%3.6f", ui);
    return f;
}

CApPropertiesText NewApProperties(const CTarvoAnalyzerDoc& doc, CSitePoint site, IUiServices& ui) {
    const CCoordinateLabels labels = CoordinateLabels(doc);
    CApPropertiesText f;
    f.mac = "00-00-00-00-00-00";
    f.firstLabel = labels.first;
    f.secondLabel = labels.second;
    f.antennaHeightLabel = labels.antennaHeight;
    SetCoordinates(f, doc, site, "%4.6f", ui);
    return f;
}

CSourcePropertiesText SourcePropertiesOf(const CISMarker& source) {
    return {source.name, source.frequency, source.bandwidth, NotesForDialog(source.notes)};
}

void ApplyApTexts(CAPInfo& ap, const CApPropertiesText& fields) {
    ApplyCommonTexts(ap, fields, false);
}

void ApplyMarkerTexts(CAPMarker& marker, const CApPropertiesText& fields) {
    ApplyCommonTexts(marker, fields, false);
    marker.bssid = ParseMacText(fields.mac);
}

void ApplySourceTexts(CISMarker& source, const CSourcePropertiesText& fields) {
    source.name = fields.name;
    source.frequency = fields.frequency;
    source.bandwidth = fields.bandwidth;
    source.notes = NotesForRecord(fields.notes);
}

int ReceivedApIndex(const CTarvoAnalyzerDoc& doc, const MacAddress& mac) {
    for (int i = 0; i < doc.aps.GetSize(); ++i)
        if (doc.aps[i].bssid == mac)
            return i;
    return -1;
}

bool DiscardCoverage(CTarvoAnalyzerDoc& doc) {
    if (!doc.coveragePresent)
        return false;
    doc.coveragePresent = false;
    doc.coverageDisplayType = kDisplayNone;
    return true;
}

unsigned PlaceAp(CTarvoAnalyzerDoc& doc, int apIndex, CSitePoint from, CSitePoint to, bool valid,
                 IUiServices& ui) {
    CAPInfo& ap = doc.aps[apIndex];
    const std::uint8_t validBefore = ap.valid;
    const double uncertaintyBefore = ap.uncertaintyM;
    // The radius tells how far the estimator's position may be off; an AP
    // the user puts elsewhere (more than the radius' last digit) has none.
    if (std::hypot(to.y - ap.position[0], to.x - ap.position[1]) >= 0.005)
        ap.uncertaintyM = 0.0;
    ap.position = {to.y, to.x};
    ap.valid = valid ? 1 : 0;
    unsigned changed = kChangeAps | kChangeView;
    if (!ap.valid || !doc.processed)
        return changed;
    doc.lastApPosition = {from.y, from.x};
    if (RecalculateAp(doc, apIndex, ui) == RecalculateOutcome::Refused) {
        doc.aps[apIndex].valid = validBefore;
        doc.aps[apIndex].uncertaintyM = uncertaintyBefore;
        return 0; // back where it was: nothing to save
    }
    if (DiscardCoverage(doc))
        changed |= kChangeCoverage;
    return changed;
}

unsigned ReceiveMarkedAp(CTarvoAnalyzerDoc& doc, int apIndex, const CApPropertiesText& fields,
                         IUiServices& ui) {
    ui.MessageBox(kApFoundText, kApFoundTitle, MsgIcon::Information);
    ApplyCommonTexts(doc.aps[apIndex], fields, true);
    RebuildApGroups(doc);
    unsigned changed = kChangeAps | kChangeView;
    if (const auto typed = TypedPosition(doc, fields.firstCoordinate, fields.secondCoordinate, ui))
        changed |=
            PlaceAp(doc, apIndex, ApPosition(doc.aps[apIndex]), typed->site, typed->valid, ui);
    return changed;
}

unsigned DeleteResource(CTarvoAnalyzerDoc& doc, CHit hit, int wc, int hc) {
    if (!HitExists(doc, hit))
        return 0;
    unsigned changed = kChangeAps | kChangeView;
    switch (hit.kind) {
    case kHitAp:
        doc.aps.RemoveAt(hit.index);
        RebuildApGroups(doc);
        ComputeViewExtent(doc, wc, hc);
        if (DiscardCoverage(doc))
            changed |= kChangeCoverage;
        break;
    case kHitMarker:
        doc.markers.RemoveAt(hit.index);
        break;
    default:
        doc.sources.RemoveAt(hit.index);
        break;
    }
    return changed;
}

unsigned EditResource(CTarvoAnalyzerDoc& doc, CHit hit, IDialogService& dialogs, IUiServices& ui) {
    if (!HitExists(doc, hit))
        return 0;
    switch (hit.kind) {
    case kHitAp:
        return EditAp(doc, hit.index, dialogs, ui);
    case kHitMarker:
        return EditMarker(doc, hit.index, dialogs, ui);
    default:
        return EditSource(doc, hit.index, dialogs);
    }
}

} // namespace tarvo
