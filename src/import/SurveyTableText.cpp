#include "import/SurveyTableText.h"

#include "import/CsvText.h"
#include "import/ImportFields.h"

#include <cmath>

namespace tarvo {

namespace {

constexpr double kFootInMetres = 0.3048;
constexpr double kRawSpeedPerMph = 411.992064; // 1/256 km/h per mile per hour
constexpr std::int32_t kNoAltitudeRaw = -10000;

struct CColumns {
    int index = -1, first = -1, second = -1, frequency = -1, mac = -1, ssid = -1, rssi = -1,
        speed = -1, height = -1, fix = -1, time = -1, date = -1;
    ImportFrame frame = ImportFrame::SiteMetres;
    bool feet = false, mph = false, heightFeet = false;
};

std::string_view FirstLine(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return text.substr(0, text.find_first_of("\r\n"));
}

// The index of a header cell by its trimmed name, or -1.
int Named(const std::vector<std::string>& header, std::string_view name) {
    for (std::size_t i = 0; i < header.size(); ++i)
        if (TrimBlanks(header[i]) == name)
            return static_cast<int>(i);
    return -1;
}

// The table ends every cell with the delimiter, the last one too.
std::vector<std::string> Cells(std::string_view line, char delimiter) {
    std::vector<std::string> cells = *SplitFields(line, delimiter, false);
    if (cells.size() > 1 && cells.back().empty())
        cells.pop_back();
    return cells;
}

const std::string* At(const std::vector<std::string>& cells, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < cells.size() ? &cells[index] : nullptr;
}

std::string Quoted(const std::string* cell) {
    return "'" + (cell ? *cell : std::string()) + "'";
}

// "hh:mm:ss" and "Y/MM/DD" (years since 1980) into the six date fields.
bool ReadTime(const std::string* time, const std::string* date, DateTimeBytes& fields) {
    if (!time || !date)
        return false;
    int parts[6];
    const std::string* cells[2] = {time, date};
    const char separators[2] = {':', '/'};
    for (int half = 0; half < 2; ++half) {
        const auto pieces = SplitFields(TrimBlanks(*cells[half]), separators[half], false);
        if (pieces->size() != 3)
            return false;
        for (int i = 0; i < 3; ++i) {
            const auto value = ParseWhole((*pieces)[i]);
            if (!value || *value < 0 || *value > 255)
                return false;
            parts[half * 3 + i] = *value;
        }
    }
    // Date cell: year, date1, date2; fields: date1, date2, year, h, m, s.
    fields = {static_cast<std::uint8_t>(parts[4]), static_cast<std::uint8_t>(parts[5]),
              static_cast<std::uint8_t>(parts[3]), static_cast<std::uint8_t>(parts[0]),
              static_cast<std::uint8_t>(parts[1]), static_cast<std::uint8_t>(parts[2])};
    return true;
}

std::string ReadGpsCells(const CColumns& c, const std::vector<std::string>& cells,
                         CImportRow& row) {
    const std::string* speed = At(cells, c.speed);
    const std::string* height = At(cells, c.height);
    const std::string* fix = At(cells, c.fix);
    const bool goodFix = (speed && !speed->empty()) || (fix && !fix->empty());
    row.gpsKind = goodFix ? 0 : 1;
    if (!goodFix)
        return {};
    if (speed && !speed->empty()) {
        const auto value = ParseWhole(*speed);
        if (!value || *value < 0 || *value > 65535)
            return "speed is not a number: " + Quoted(speed);
        const double raw = c.mph ? *value * kRawSpeedPerMph : *value * 256.0;
        row.speedRaw = static_cast<std::uint16_t>(std::min(65535L, std::lround(raw)));
    }
    row.altitudeRaw = kNoAltitudeRaw;
    if (height && !height->empty()) {
        const auto value = ParseWhole(*height);
        if (!value || std::abs(*value) > 8000000)
            return "height is not a number: " + Quoted(height);
        const double metres = c.heightFeet ? *value * kFootInMetres : *value;
        row.altitudeRaw = static_cast<std::int32_t>(std::lround(metres * 256.0));
    }
    const std::string text = fix ? std::string(TrimBlanks(*fix)) : std::string();
    row.fix = text == "3D" ? 2 : text == "2D" ? 1 : 0;
    return {};
}

std::string ReadRow(const CColumns& c, const std::vector<std::string>& cells, CImportRow& row) {
    const std::string* first = At(cells, c.first);
    const std::string* second = At(cells, c.second);
    const auto parsedA = first ? ParseDecimal(*first) : std::nullopt;
    const auto parsedB = second ? ParseDecimal(*second) : std::nullopt;
    if (!parsedA || !parsedB)
        return "the position is not a number: " + Quoted(first) + ", " + Quoted(second);
    const double a = *parsedA, b = *parsedB;
    row.frame = c.frame;
    if (c.frame == ImportFrame::LatLon) {
        row.first = a;
        row.second = b;
        if (std::fabs(a) > 90.0 || std::fabs(b) > 180.0)
            return "latitude or longitude off the globe: " + *first + ", " + *second;
    } else {
        const double unit = c.feet ? kFootInMetres : 1.0;
        row.first = b * unit;  // X
        row.second = a * unit; // Y
    }
    if (const std::string* index = At(cells, c.index))
        row.locationKey = std::string(TrimBlanks(*index));

    const std::string* mac = At(cells, c.mac);
    if (!mac)
        return "missing column MAC";
    if (TrimBlanks(*mac).empty()) {
        row.heard = false;
    } else {
        const auto bssid = ParseMac(*mac);
        if (!bssid)
            return "bad MAC " + Quoted(mac);
        row.sample.bssid = *bssid;
        const std::string* rssiCell = At(cells, c.rssi);
        const auto rssi = rssiCell ? ParseWhole(*rssiCell) : std::nullopt;
        if (!rssi)
            return "RSSI is not a number: " + Quoted(rssiCell);
        const auto raw = RssiTo16thDbm(*rssi);
        if (!raw)
            return "RSSI outside -150..+20 dBm: " + *rssiCell;
        row.sample.rssi = *raw;
        row.sample.level2 = kDefaultNoiseDbm;
        const std::string* frequency = At(cells, c.frequency);
        const auto mhz = frequency ? ParseWhole(*frequency) : std::nullopt;
        if (!mhz)
            return "CH(MHz) is not a number: " + Quoted(frequency);
        row.sample.channel = *mhz > 0 ? ChannelForFrequency(*mhz) : 0;
        if (const std::string* ssid = At(cells, c.ssid)) {
            std::string_view text = *ssid;
            while (!text.empty() && text.back() == ' ')
                text.remove_suffix(1);
            row.sample.ssid = SsidFromUtf8(text);
        }
    }
    if (c.frame == ImportFrame::LatLon)
        if (std::string reason = ReadGpsCells(c, cells, row); !reason.empty())
            return reason;
    DateTimeBytes time{};
    if (!ReadTime(At(cells, c.time), At(cells, c.date), time))
        return "bad Time or Date: " + Quoted(At(cells, c.time)) + ", " + Quoted(At(cells, c.date));
    row.time = time;
    return {};
}

} // namespace

bool LooksLikeSurveyTable(std::string_view text) {
    const std::string_view line = FirstLine(text);
    return line.find("CH(MHz)") != std::string_view::npos &&
           line.find("MAC") != std::string_view::npos &&
           line.find("RSSI") != std::string_view::npos;
}

CImportRead ReadSurveyTable(std::string_view text, const std::string& file) {
    CImportRead read;
    read.file = file;
    const std::vector<CTextLine> lines = SplitLines(text);
    if (lines.empty() || !LooksLikeSurveyTable(text)) {
        read.fatal =
            CImportProblem{file, 1, "no table header (CH(MHz), MAC, RSSI) on the first line"};
        return read;
    }
    const std::string_view headerText = lines[0].text;
    // The first column name is followed by the delimiter.
    char delimiter = 0;
    for (std::string_view name : {"#", "Lat", "Y(m)", "Y(ft)", "CH(MHz)"})
        if (headerText.substr(0, name.size()) == name && headerText.size() > name.size()) {
            delimiter = headerText[name.size()];
            break;
        }
    if (delimiter == ' ' || delimiter == 0) {
        read.fatal = CImportProblem{
            file, 1,
            delimiter == ' '
                ? "a table with blanks between its cells cannot be read back: write it with "
                  "tabs, commas or another character"
                : "the header does not start with a column of the table"};
        return read;
    }
    const std::vector<std::string> header = Cells(headerText, delimiter);
    CColumns c;
    c.index = Named(header, "#");
    c.frequency = Named(header, "CH(MHz)");
    c.mac = Named(header, "MAC");
    c.ssid = Named(header, "SSID");
    c.rssi = Named(header, "RSSI");
    c.time = Named(header, "Time");
    c.date = Named(header, "Date");
    if ((c.first = Named(header, "Lat")) >= 0) {
        c.second = Named(header, "Lon");
        c.frame = ImportFrame::LatLon;
        c.speed = Named(header, "V(KPH)");
        if (c.speed < 0) {
            c.speed = Named(header, "V(MPH)");
            c.mph = c.speed >= 0;
        }
        c.height = Named(header, "H(M)");
        if (c.height < 0) {
            c.height = Named(header, "H(Ft)");
            c.heightFeet = c.height >= 0;
        }
        c.fix = Named(header, "GPS");
    } else if ((c.first = Named(header, "Y(m)")) >= 0) {
        c.second = Named(header, "X(m)");
    } else if ((c.first = Named(header, "Y(ft)")) >= 0) {
        c.second = Named(header, "X(ft)");
        c.feet = true;
    }
    for (const auto& [index, name] :
         {std::pair{c.first, "a position (Lat, Y(m) or Y(ft))"}, std::pair{c.second, "X or Lon"},
          std::pair{c.frequency, "CH(MHz)"}, std::pair{c.mac, "MAC"}, std::pair{c.rssi, "RSSI"},
          std::pair{c.time, "Time"}, std::pair{c.date, "Date"}})
        if (index < 0) {
            read.fatal = CImportProblem{file, 1, std::string("missing column ") + name, 1};
            return read;
        }
    const bool gpsCells = c.speed >= 0 && c.height >= 0 && c.fix >= 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const CTextLine& line = lines[i];
        if (line.text.empty())
            continue;
        std::vector<std::string> cells = Cells(line.text, delimiter);
        // Rows without a good GPS fix may skip the speed, height and fix
        // cells; give them back as empty cells so the columns line up.
        if (gpsCells && cells.size() + 3 == header.size())
            cells.insert(cells.begin() + c.speed, 3, std::string());
        CImportRow row;
        row.line = line.number;
        if (cells.size() != header.size()) {
            read.refused.push_back({file, line.number,
                                    "the row has " + std::to_string(cells.size()) +
                                        " cells, the header " + std::to_string(header.size()) +
                                        " (a delimiter inside an SSID?)",
                                    line.number});
            continue;
        }
        if (std::string reason = ReadRow(c, cells, row); !reason.empty()) {
            read.refused.push_back({file, line.number, reason, line.number});
            continue;
        }
        read.rows.push_back(std::move(row));
    }
    return read;
}

} // namespace tarvo
