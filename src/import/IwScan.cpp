#include "import/IwScan.h"

#include "import/CsvText.h"
#include "import/ImportFields.h"

#include <cmath>
#include <optional>

namespace tarvo {

namespace {

int Hex(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The text after `key` when the line (without its indent) starts with it.
std::optional<std::string_view> After(std::string_view line, std::string_view key) {
    if (line.substr(0, key.size()) != key)
        return std::nullopt;
    return line.substr(key.size());
}

// An entry being read, with what it has seen so far.
struct CPending {
    CIwBss bss;
    bool valid = false; // the BSS line held a MAC
    bool haveFrequency = false, haveSignal = false, haveSsid = false, haveChannel = false;
    bool refused = false; // a problem was recorded for it
};

void Finish(CPending& pending, CIwScan& scan) {
    if (!pending.valid || pending.refused)
        return;
    if (!pending.haveSignal) {
        scan.problems.push_back({pending.bss.line, "no signal line for this BSS"});
        return;
    }
    if (!pending.haveChannel && pending.haveFrequency)
        pending.bss.channel =
            ChannelForFrequency(static_cast<int>(std::lround(pending.bss.frequencyMhz)));
    scan.entries.push_back(pending.bss);
}

// "BSS 00:11:22:33:44:55(on wlan0) -- associated"
void StartEntry(std::string_view rest, int line, CPending& pending, CIwScan& scan) {
    pending = CPending{};
    pending.bss.line = line;
    const std::string_view macText = rest.substr(0, 17);
    const auto mac = ParseMac(macText);
    const std::string_view after = rest.substr(macText.size());
    if (!mac || macText.size() != 17 || (!after.empty() && after[0] != '(' && after[0] != ' ')) {
        scan.problems.push_back({line, "bad MAC in the BSS line: 'BSS " + std::string(rest) + "'"});
        return;
    }
    pending.valid = true;
    pending.bss.bssid = *mac;
    pending.bss.associated = after.find("-- associated") != std::string_view::npos;
}

} // namespace

std::string DecodeIwEscapes(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && Hex(text[i + 2]) >= 0 &&
            Hex(text[i + 3]) >= 0) {
            bytes += static_cast<char>(Hex(text[i + 2]) * 16 + Hex(text[i + 3]));
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

CIwScan ParseIwScan(std::string_view text) {
    CIwScan scan;
    CPending pending;
    bool anyEntry = false, anyText = false;
    for (const CTextLine& line : SplitLines(text)) {
        if (!TrimBlanks(line.text).empty())
            anyText = true;
        if (const auto rest = After(line.text, "BSS ")) {
            Finish(pending, scan);
            anyEntry = true;
            StartEntry(*rest, line.number, pending, scan);
            continue;
        }
        if (!pending.valid || pending.refused)
            continue;
        const std::string_view body = TrimBlanks(line.text);
        CIwBss& bss = pending.bss;
        if (const auto freq = After(body, "freq:"); freq && !pending.haveFrequency) {
            const auto mhz = ParseDecimal(*freq);
            if (mhz && *mhz > 0.0) {
                bss.frequencyMhz = *mhz;
                pending.haveFrequency = true;
            }
        } else if (const auto signal = After(body, "signal:"); signal && !pending.haveSignal) {
            std::string_view value = TrimBlanks(*signal);
            const bool dbm = value.size() > 4 && value.substr(value.size() - 4) == " dBm";
            const auto level =
                dbm ? ParseDecimal(value.substr(0, value.size() - 4)) : std::optional<double>();
            if (!level) {
                scan.problems.push_back(
                    {line.number, "signal not in dBm: '" + std::string(body) + "'"});
                pending.refused = true;
                continue;
            }
            bss.signalDbm = *level;
            pending.haveSignal = true;
        } else if (const auto ssid = After(body, "SSID:"); ssid && !pending.haveSsid) {
            std::string_view value = *ssid;
            if (!value.empty() && value[0] == ' ')
                value.remove_prefix(1);
            // iw escapes blanks at either end, so trailing ones are layout.
            while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
                value.remove_suffix(1);
            bss.ssid = DecodeIwEscapes(value);
            pending.haveSsid = true;
        } else if (const auto ds = After(body, "DS Parameter set: channel");
                   ds && !pending.haveChannel) {
            if (const auto channel = ParseWhole(*ds); channel && *channel > 0 && *channel <= 255) {
                bss.channel = *channel;
                pending.haveChannel = true;
            }
        }
    }
    Finish(pending, scan);
    if (!anyEntry && anyText)
        scan.problems.push_back({1, "no BSS line: this is not the text of an iw scan"});
    return scan;
}

} // namespace tarvo
