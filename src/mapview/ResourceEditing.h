#pragma once
// Editing the study's resources by hand: the property dialogs' texts of a
// record, writing typed texts back, placing an AP at a new position (with
// its refit, or its refusal), the "AP Found!" flow for a marked AP that
// turns out to be a received one, and discarding a coverage that an edit
// has made stale. GUI thread, never while a worker owns the document.

#include "mapview/DialogService.h"
#include "model/Document.h"
#include "model/UiServices.h"
#include "view/HitTest.h"

namespace tarvo {

constexpr const char* kApFoundText = "This data from this AP has been received. The information "
                                     "will be used with the collected Data.";
constexpr const char* kApFoundTitle = "AP Found!";
// Shown instead of the coordinates of an AP without a valid position.
constexpr const char* kNoPositionText = "%N/A";

// Dialog texts of an AP record, a marked AP, a new AP at `site` and an
// interference source. Coordinates are printed with "%3.6f" ("%4.6f" for a
// new AP) in the document's units and coordinates.
CApPropertiesText ApPropertiesOf(const CTarvoAnalyzerDoc& doc, const CAPInfo& ap, IUiServices& ui);
CApPropertiesText MarkerPropertiesOf(const CTarvoAnalyzerDoc& doc, const CAPMarker& marker,
                                     IUiServices& ui);
CApPropertiesText NewApProperties(const CTarvoAnalyzerDoc& doc, CSitePoint site, IUiServices& ui);
CSourcePropertiesText SourcePropertiesOf(const CISMarker& source);

// Writes the typed texts back: name, SSID, power, direction, gain, height
// as typed, notes with "<br>" line breaks, the channel only when it reads
// as a number above 0; a marker also takes its MAC. Positions are not
// touched here.
void ApplyApTexts(CAPInfo& ap, const CApPropertiesText& fields);
void ApplyMarkerTexts(CAPMarker& marker, const CApPropertiesText& fields);
void ApplySourceTexts(CISMarker& source, const CSourcePropertiesText& fields);

// Index of the AP record with this MAC, or -1.
int ReceivedApIndex(const CTarvoAnalyzerDoc& doc, const MacAddress& mac);

// Clears the site-wide coverage after an edit made it stale: the coverage
// flag off and display type 0 (the matrices stay, matching their counts,
// as after a cancelled computation). False when there was none.
bool DiscardCoverage(CTarvoAnalyzerDoc& doc);

// Puts AP apIndex at `to` with `valid`. A valid AP of a processed study is
// refitted with `from` as the last accepted position; a refused position
// puts the AP back at `from` with its previous `valid`. Coverage is
// discarded unless the move was refused. Returns the DocChange flags of
// what changed (0 after a refusal).
unsigned PlaceAp(CTarvoAnalyzerDoc& doc, int apIndex, CSitePoint from, CSitePoint to, bool valid,
                 IUiServices& ui);

// A marked AP whose MAC is that of AP record apIndex: tells the user, copies
// the typed texts into the record and places it at the typed position
// (when the coordinate texts hold numbers). The caller drops the marker.
unsigned ReceiveMarkedAp(CTarvoAnalyzerDoc& doc, int apIndex, const CApPropertiesText& fields,
                         IUiServices& ui);

// Removes a hit resource without asking. Removing an AP record rebuilds
// the AP groups (they hold AP indices), recomputes the view extent for a
// wc x hc client area and discards a coverage that counted it. Returns the
// DocChange flags.
unsigned DeleteResource(CTarvoAnalyzerDoc& doc, CHit hit, int wc, int hc);

// Double-click editing of a hit resource through its property dialog.
// Cancel changes nothing; OK writes the texts back, moves the resource when
// its coordinate texts were changed, and runs the "AP Found!" flow for a
// marker that now carries a received AP's MAC. Returns the DocChange flags
// (0 when nothing changed).
unsigned EditResource(CTarvoAnalyzerDoc& doc, CHit hit, IDialogService& dialogs, IUiServices& ui);

} // namespace tarvo
