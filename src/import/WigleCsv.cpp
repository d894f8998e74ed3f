#include "import/WigleCsv.h"

#include "import/CsvText.h"
#include "import/ImportFields.h"

#include <cmath>

namespace tarvo {

namespace {

constexpr std::string_view kFirstLine = "WigleWifi-";

struct CColumns {
    int mac = -1, ssid = -1, firstSeen = -1, channel = -1, frequency = -1, rssi = -1, lat = -1,
        lon = -1, altitude = -1, type = -1;
};

const std::string* At(const std::vector<std::string>& fields, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < fields.size() ? &fields[index] : nullptr;
}

// A cell holding a number.
bool Number(const std::string* cell, double& value) {
    const auto parsed = cell ? ParseDecimal(*cell) : std::nullopt;
    if (!parsed)
        return false;
    value = *parsed;
    return true;
}

std::string Quoted(const std::string* cell) {
    return "'" + (cell ? *cell : std::string()) + "'";
}

// Reads one WIFI row; the refusal reason, or empty.
std::string ReadRow(const CColumns& c, const std::vector<std::string>& fields, CImportRow& row) {
    const std::string* mac = At(fields, c.mac);
    const auto bssid = mac ? ParseMac(*mac) : std::nullopt;
    if (!bssid)
        return "bad MAC " + Quoted(mac);
    row.sample.bssid = *bssid;
    const std::string* latCell = At(fields, c.lat);
    const std::string* lonCell = At(fields, c.lon);
    double lat = 0.0, lon = 0.0;
    if (!Number(latCell, lat) || !Number(lonCell, lon))
        return "CurrentLatitude or CurrentLongitude is not a number: " + Quoted(latCell) + ", " +
               Quoted(lonCell);
    if (lat == 0.0 && lon == 0.0)
        return "no GPS position (latitude and longitude 0)";
    if (std::fabs(lat) > 90.0 || std::fabs(lon) > 180.0)
        return "latitude or longitude off the globe: " + *latCell + ", " + *lonCell;
    row.frame = ImportFrame::LatLon;
    row.first = lat;
    row.second = lon;

    const std::string* rssiCell = At(fields, c.rssi);
    double rssiDbm = 0.0;
    if (!Number(rssiCell, rssiDbm))
        return "RSSI is not a number: " + Quoted(rssiCell);
    const auto rssi = RssiTo16thDbm(rssiDbm);
    if (!rssi)
        return "RSSI outside -150..+20 dBm: " + *rssiCell;
    row.sample.rssi = *rssi;
    row.sample.level2 = kDefaultNoiseDbm;
    if (const std::string* ssid = At(fields, c.ssid))
        row.sample.ssid = SsidFromUtf8(*ssid);

    // The frequency names the band; a channel number alone does not (6 GHz
    // channels reuse the numbers of 2.4 GHz).
    const std::string* frequency = At(fields, c.frequency);
    if (frequency && !frequency->empty()) {
        const auto mhz = ParseDecimal(*frequency);
        if (!mhz)
            return "Frequency is not a number: " + Quoted(frequency);
        row.sample.channel = ChannelForFrequency(static_cast<int>(std::lround(*mhz)));
    } else if (const std::string* channel = At(fields, c.channel); channel && !channel->empty()) {
        const auto number = ParseWhole(*channel);
        if (!number || *number < 0 || *number > 255)
            return "Channel is not a number from 0 to 255: " + Quoted(channel);
        row.sample.channel = *number;
    }

    const std::string* seen = At(fields, c.firstSeen);
    if (seen && !seen->empty()) {
        row.time = ParseIsoTime(*seen);
        if (!row.time)
            return "bad FirstSeen time: " + Quoted(seen);
        row.locationKey = *seen;
    }
    row.gpsKind = 0;
    row.fix = 1;
    if (const std::string* altitude = At(fields, c.altitude); altitude && !altitude->empty()) {
        const auto metres = ParseDecimal(*altitude);
        if (!metres || std::fabs(*metres) > 1e6)
            return "AltitudeMeters is not a number: " + Quoted(altitude);
        row.altitudeRaw = static_cast<std::int32_t>(std::lround(*metres * 256.0));
        row.fix = 2;
    }
    return {};
}

} // namespace

bool LooksLikeWigleCsv(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return text.substr(0, kFirstLine.size()) == kFirstLine;
}

CImportRead ReadWigleCsv(std::string_view text, const std::string& file) {
    CImportRead read;
    read.file = file;
    const std::vector<CTextLine> lines = SplitLines(text);
    if (lines.empty() || !LooksLikeWigleCsv(lines[0].text)) {
        read.fatal = CImportProblem{file, 1, "the first line is not the log's WigleWifi- line"};
        return read;
    }
    if (lines.size() < 2) {
        read.fatal = CImportProblem{file, 2, "no header line"};
        return read;
    }
    const auto header = SplitFields(lines[1].text, ',');
    if (!header) {
        read.fatal = CImportProblem{file, 2, "a quote is not closed"};
        return read;
    }
    CColumns c;
    c.mac = FindColumn(*header, "MAC");
    c.ssid = FindColumn(*header, "SSID");
    c.firstSeen = FindColumn(*header, "FirstSeen");
    c.channel = FindColumn(*header, "Channel");
    c.frequency = FindColumn(*header, "Frequency");
    c.rssi = FindColumn(*header, "RSSI");
    c.lat = FindColumn(*header, "CurrentLatitude");
    c.lon = FindColumn(*header, "CurrentLongitude");
    c.altitude = FindColumn(*header, "AltitudeMeters");
    c.type = FindColumn(*header, "Type");
    for (const auto& [index, name] :
         {std::pair{c.mac, "MAC"}, std::pair{c.rssi, "RSSI"}, std::pair{c.lat, "CurrentLatitude"},
          std::pair{c.lon, "CurrentLongitude"}})
        if (index < 0) {
            read.fatal = CImportProblem{file, 2, std::string("missing column ") + name, 2};
            return read;
        }
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const CTextLine& line = lines[i];
        if (TrimBlanks(line.text).empty())
            continue;
        const auto fields = SplitFields(line.text, ',');
        if (!fields) {
            read.refused.push_back({file, line.number, "a quote is not closed", line.number});
            continue;
        }
        if (const std::string* type = At(*fields, c.type);
            type && LowerAscii(TrimBlanks(*type)) != "wifi") {
            ++read.otherRadios;
            continue;
        }
        CImportRow row;
        row.line = line.number;
        if (std::string reason = ReadRow(c, *fields, row); !reason.empty()) {
            read.refused.push_back({file, line.number, reason, line.number});
            continue;
        }
        read.rows.push_back(std::move(row));
    }
    return read;
}

} // namespace tarvo
