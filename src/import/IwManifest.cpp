#include "import/IwManifest.h"

#include "import/CsvText.h"
#include "import/ImportFields.h"
#include "import/IwScan.h"
#include "import/PositionColumns.h"
#include "model/Text.h"

#include <algorithm>

namespace tarvo {

namespace {

bool Skipped(std::string_view line) {
    const std::string_view text = TrimBlanks(line);
    return text.empty() || text[0] == '#';
}

std::string ScanPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.empty() || name[0] == '/')
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The raw bytes of an SSID, cut to the 32-byte field.
SsidBytes SsidFromBytes(const std::string& bytes) {
    SsidBytes ssid{};
    std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), ssid.size()), ssid.begin());
    return ssid;
}

} // namespace

CImportRead ReadIwManifest(std::string_view text, const std::string& file,
                           const std::string& folder, const ScanFileLoader& load) {
    CImportRead read;
    read.file = file;
    const std::vector<CTextLine> lines = SplitLines(text);
    std::size_t at = 0;
    while (at < lines.size() && Skipped(lines[at].text))
        ++at;
    if (at == lines.size()) {
        read.fatal = CImportProblem{file, 0, "no header line: the manifest holds no table"};
        return read;
    }
    const CTextLine& headerLine = lines[at++];
    const char delimiter = HeaderDelimiter(headerLine.text);
    const auto header = SplitFields(headerLine.text, delimiter);
    if (!header) {
        read.fatal = CImportProblem{file, headerLine.number, "a quote is not closed"};
        return read;
    }
    const CPositionColumns position = FindPositionColumns(*header);
    const int fileColumn = FindColumn(*header, "file");
    const int timeColumn = FindColumn(*header, "time");
    std::string missing = position.error;
    if (missing.empty() && fileColumn < 0)
        missing = "missing column file";
    if (!missing.empty()) {
        read.fatal = CImportProblem{file, headerLine.number, missing, headerLine.number};
        return read;
    }
    const bool decimalComma = delimiter != ',';
    for (; at < lines.size(); ++at) {
        const CTextLine& line = lines[at];
        if (Skipped(line.text))
            continue;
        auto refuse = [&](const std::string& where, int number, const std::string& reason) {
            read.refused.push_back({where, number, reason, line.number});
        };
        const auto fields = SplitFields(line.text, delimiter);
        if (!fields) {
            refuse(file, line.number, "a quote is not closed");
            continue;
        }
        CImportRow location;
        location.line = line.number;
        location.locationKey = "manifest row " + std::to_string(line.number);
        if (std::string reason = ReadPosition(position, *fields, decimalComma, location);
            !reason.empty()) {
            refuse(file, line.number, reason);
            continue;
        }
        if (const std::string* time = Cell(*fields, timeColumn); time && !time->empty()) {
            location.time = ParseIsoTime(*time);
            if (!location.time) {
                refuse(file, line.number,
                       "bad time (ISO 8601, years 1980 to 2235): '" + *time + "'");
                continue;
            }
        }
        const std::string* name = Cell(*fields, fileColumn);
        if (!name || name->empty()) {
            refuse(file, line.number, "missing column file");
            continue;
        }
        const std::string path = ScanPath(folder, *name);
        const auto scanText = load(path);
        if (!scanText) {
            refuse(file, line.number, "cannot read the scan file '" + path + "'");
            continue;
        }
        const CIwScan scan = ParseIwScan(*scanText);
        for (const CIwScanProblem& problem : scan.problems)
            refuse(path, problem.line, problem.reason);
        for (const CIwBss& bss : scan.entries) {
            const auto rssi = RssiTo16thDbm(bss.signalDbm);
            if (!rssi) {
                refuse(path, bss.line,
                       "RSSI outside -150..+20 dBm: " + Format("%.2f", bss.signalDbm));
                continue;
            }
            CImportRow row = location;
            row.sample.bssid = bss.bssid;
            row.sample.ssid = SsidFromBytes(bss.ssid);
            row.sample.channel = bss.channel;
            row.sample.rssi = *rssi;
            row.sample.level2 = kDefaultNoiseDbm;
            read.rows.push_back(std::move(row));
        }
        if (scan.entries.empty() && scan.problems.empty()) {
            location.heard = false;
            read.rows.push_back(std::move(location));
        }
    }
    return read;
}

} // namespace tarvo
