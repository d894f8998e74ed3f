#pragma once
// The texts through which the user reads and types a resource's fields in
// the property dialogs: the MAC address, notes with their line breaks, the
// two coordinates with their labels, and the channel. Plain functions; the
// dialogs themselves only pass text.

#include "model/Document.h"
#include "model/UiServices.h"
#include "view/HitTest.h"

#include <optional>
#include <string>

namespace tarvo {

// Six hexadecimal pairs, each pair followed by one separator character of
// any kind ("00-1A-2B-3C-4D-5E"). Read character by character and never
// refused: a character that is not a hexadecimal digit counts as 0, and so
// does a missing one. Lower-case digits are read like upper-case ones.
MacAddress ParseMacText(const std::string& text);

// Notes are stored with "<br>" for each line break; the dialog edits them
// with "\r\n".
std::string NotesForDialog(const std::string& stored);
std::string NotesForRecord(const std::string& typed);

// A decimal number at the start of text (leading blanks skipped), or
// std::nullopt when the text starts with no finite number.
std::optional<double> ParseNumber(const std::string& text);

// The channel typed in the dialog: a decimal integer, kept only when it is
// greater than 0.
std::optional<std::int32_t> ParseChannel(const std::string& text);

// Labels of the AP dialog for the document's units and coordinates.
struct CCoordinateLabels {
    std::string first;  // "Latitude", "Y (Ft):" or "Y (m):"
    std::string second; // "Longitude", "   X (Ft):" or "   X (m):"
    std::string antennaHeight;
};
CCoordinateLabels CoordinateLabels(const CTarvoAnalyzerDoc& doc);

// The two coordinate texts of a site position, each printed with `format`
// ("%4.6f", "%3.6f"): latitude and longitude for longitude/latitude
// display, else Y and X in display units.
struct CCoordinateTexts {
    std::string first;
    std::string second;
};
CCoordinateTexts CoordinateTexts(const CTarvoAnalyzerDoc& doc, CSitePoint site, const char* format,
                                 IUiServices& ui);

// Typed coordinates back in site metres, and whether they make a valid
// position: both values strictly inside (-180, 180) for latitude and
// longitude, inside (-1,000,000, 1,000,000) otherwise. std::nullopt when
// either text holds no number.
struct CTypedPosition {
    CSitePoint site;
    bool valid = false;
};
std::optional<CTypedPosition> TypedPosition(const CTarvoAnalyzerDoc& doc, const std::string& first,
                                            const std::string& second, IUiServices& ui);

} // namespace tarvo
