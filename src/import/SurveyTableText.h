#pragma once
// Our own table output (`tarvo table`, the map view's "Output a table "),
// read back so that a study can be exported, edited in a spreadsheet and
// imported again. The header row is needed: it names the columns ("#",
// "Lat"/"Lon" or "Y(m)"/"X(m)" or "Y(ft)"/"X(ft)", "CH(MHz)", "MAC", "SSID",
// "RSSI", for GPS data "V(KPH)"/"V(MPH)", "H(M)"/"H(Ft)", "GPS", then
// "Time" and "Date") and its first cell gives the delimiter.
//
// What the table rounded stays rounded: positions to 0.1 of their unit (or
// 1e-6 degree), the RSSI to whole dBm (truncated toward zero), speed and
// height to whole units; a channel the table wrote as -1 comes back as 0.
// SSIDs lose trailing blanks (the table pads them).

#include "import/ImportRows.h"

#include <string>
#include <string_view>

namespace tarvo {

// True when the first line is such a table's header.
bool LooksLikeSurveyTable(std::string_view text);

// Rows of the "#" column (when present) and position are one location.
// Tables with blanks between cells are refused: the padded SSIDs and
// headers hold blanks of their own.
CImportRead ReadSurveyTable(std::string_view text, const std::string& file);

} // namespace tarvo
