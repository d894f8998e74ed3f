#pragma once
// The CSV log of phone wardriving apps: a first line starting "WigleWifi-",
// then the header (MAC, SSID, AuthMode, FirstSeen, Channel, [Frequency,]
// RSSI, CurrentLatitude, CurrentLongitude, AltitudeMeters, AccuracyMeters,
// ..., Type) and one row per network sighting. Rows of Type WIFI are
// measurements; rows with the same FirstSeen and position form one GPS
// location; rows of other radios (Bluetooth, cells) are left out and
// counted.

#include "import/ImportRows.h"

#include <string>
#include <string_view>

namespace tarvo {

// True when the text starts with the log's "WigleWifi-" line.
bool LooksLikeWigleCsv(std::string_view text);

CImportRead ReadWigleCsv(std::string_view text, const std::string& file);

} // namespace tarvo
