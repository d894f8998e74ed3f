#include "import/MeasurementCsv.h"

#include "import/CsvText.h"
#include "import/ImportFields.h"
#include "import/PositionColumns.h"

#include <cmath>

namespace tarvo {

namespace {

struct CColumns {
    CPositionColumns position;
    int bssid = -1, ssid = -1, rssi = -1, channel = -1, frequency = -1, noise = -1, time = -1,
        location = -1;
};

int FindFirst(const std::vector<std::string>& header,
              std::initializer_list<std::string_view> names) {
    for (std::string_view name : names)
        if (const int index = FindColumn(header, name); index >= 0)
            return index;
    return -1;
}

bool Skipped(std::string_view line) {
    const std::string_view text = TrimBlanks(line);
    return text.empty() || text[0] == '#';
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// A cell that may be left empty: nullptr when it is absent or blank.
const std::string* Optional(const std::vector<std::string>& fields, int index) {
    const std::string* cell = Cell(fields, index);
    return cell && !cell->empty() ? cell : nullptr;
}

// Reads the sample fields of a row; the refusal reason, or empty.
std::string ReadSample(const CColumns& c, const std::vector<std::string>& fields, bool decimalComma,
                       CImportRow& row) {
    const std::string* mac = Cell(fields, c.bssid);
    if (!mac)
        return "missing column bssid";
    if (mac->empty()) {
        row.heard = false;
        return {};
    }
    const auto bssid = ParseMac(*mac);
    if (!bssid)
        return "bad MAC " + Quoted(*mac);
    row.sample.bssid = *bssid;

    const std::string* rssiCell = Cell(fields, c.rssi);
    if (!rssiCell || rssiCell->empty())
        return "missing column rssi";
    const auto rssiDbm = ParseDecimal(*rssiCell, decimalComma);
    if (!rssiDbm)
        return "rssi is not a number: " + Quoted(*rssiCell);
    const auto rssi = RssiTo16thDbm(*rssiDbm);
    if (!rssi)
        return "RSSI outside -150..+20 dBm: " + *rssiCell;
    row.sample.rssi = *rssi;

    if (const std::string* ssid = Cell(fields, c.ssid))
        row.sample.ssid = SsidFromUtf8(*ssid);
    if (const std::string* channel = Optional(fields, c.channel)) {
        const auto number = ParseWhole(*channel);
        if (!number || *number < 0 || *number > 255)
            return "channel is not a number from 0 to 255: " + Quoted(*channel);
        row.sample.channel = *number;
    } else if (const std::string* frequency = Optional(fields, c.frequency)) {
        const auto mhz = ParseDecimal(*frequency, decimalComma);
        if (!mhz || *mhz <= 0.0 || *mhz > 1e6)
            return "frequency is not a number of MHz: " + Quoted(*frequency);
        row.sample.channel = ChannelForFrequency(static_cast<int>(std::lround(*mhz)));
    }
    row.sample.level2 = kDefaultNoiseDbm;
    if (const std::string* noise = Optional(fields, c.noise)) {
        const auto dbm = ParseDecimal(*noise, decimalComma);
        if (!dbm)
            return "noise is not a number: " + Quoted(*noise);
        if (!(*dbm >= kLowestLevelDbm && *dbm <= kHighestLevelDbm))
            return "noise outside -150..+20 dBm: " + *noise;
        row.sample.level2 = static_cast<std::int16_t>(std::lround(*dbm));
    }
    return {};
}

} // namespace

CImportRead ReadMeasurementCsv(std::string_view text, const std::string& file) {
    CImportRead read;
    read.file = file;
    const std::vector<CTextLine> lines = SplitLines(text);
    std::size_t at = 0;
    while (at < lines.size() && Skipped(lines[at].text))
        ++at;
    if (at == lines.size()) {
        read.fatal = CImportProblem{file, 0, "no header line: the file holds no table"};
        return read;
    }
    const CTextLine& headerLine = lines[at++];
    const char delimiter = HeaderDelimiter(headerLine.text);
    const auto header = SplitFields(headerLine.text, delimiter);
    if (!header) {
        read.fatal = CImportProblem{file, headerLine.number, "a quote is not closed"};
        return read;
    }
    CColumns c;
    c.position = FindPositionColumns(*header);
    c.bssid = FindFirst(*header, {"bssid", "mac"});
    c.rssi = FindFirst(*header, {"rssi", "rssi_dbm", "signal"});
    c.ssid = FindColumn(*header, "ssid");
    c.channel = FindColumn(*header, "channel");
    c.frequency = FindFirst(*header, {"freq", "frequency"});
    c.noise = FindColumn(*header, "noise");
    c.time = FindColumn(*header, "time");
    c.location = FindColumn(*header, "location");
    std::string missing = c.position.error;
    if (missing.empty() && c.bssid < 0)
        missing = "missing column bssid (or mac)";
    if (missing.empty() && c.rssi < 0)
        missing = "missing column rssi (or rssi_dbm, signal)";
    if (!missing.empty()) {
        read.fatal = CImportProblem{file, headerLine.number, missing, headerLine.number};
        return read;
    }

    const bool decimalComma = delimiter != ',';
    for (; at < lines.size(); ++at) {
        const CTextLine& line = lines[at];
        if (Skipped(line.text))
            continue;
        auto refuse = [&](const std::string& reason) {
            read.refused.push_back({file, line.number, reason, line.number});
        };
        const auto fields = SplitFields(line.text, delimiter);
        if (!fields) {
            refuse("a quote is not closed");
            continue;
        }
        CImportRow row;
        row.line = line.number;
        if (std::string reason = ReadPosition(c.position, *fields, decimalComma, row);
            !reason.empty()) {
            refuse(reason);
            continue;
        }
        if (std::string reason = ReadSample(c, *fields, decimalComma, row); !reason.empty()) {
            refuse(reason);
            continue;
        }
        if (const std::string* time = Optional(*fields, c.time)) {
            row.time = ParseIsoTime(*time);
            if (!row.time) {
                refuse("bad time (ISO 8601, years 1980 to 2235): " + Quoted(*time));
                continue;
            }
        }
        if (const std::string* location = Cell(*fields, c.location))
            row.locationKey = *location;
        read.rows.push_back(std::move(row));
    }
    return read;
}

} // namespace tarvo
