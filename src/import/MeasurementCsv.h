#pragma once
// The generic measurement table: a header line, then one row per AP heard
// at a position (or one row with an empty bssid where nothing was heard).
//
// Columns are found by name, without case: a position pair (x,y map pixels,
// x_m,y_m site metres, or lat,lon degrees), bssid (or mac), rssi (or
// rssi_dbm, signal; dBm, decimals allowed), and optionally ssid, channel,
// freq or frequency (MHz, turned into the channel when no channel is
// given), noise (dBm, the sample's second level), time (ISO 8601) and
// location (rows with the same value and position are one location). The
// delimiter is ',', ';' or tab, whichever the header uses; '"' quotes; lines
// starting with '#' and blank lines are skipped. With ';' or tab a number
// may be written with a decimal comma.

#include "import/ImportRows.h"

#include <string>
#include <string_view>

namespace tarvo {

// Reads a whole table. `file` is the name problems are reported under.
// Rows are refused with their reason (bad MAC, RSSI outside the survey
// range, a missing cell, a cell that is not a number, a bad time); a header
// without a position pair, bssid or rssi makes the whole input fatal.
CImportRead ReadMeasurementCsv(std::string_view text, const std::string& file);

} // namespace tarvo
