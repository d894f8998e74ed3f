#pragma once
// The text that `iw dev IF scan` and `iw dev IF scan dump` print, read into
// one entry per BSS. Plain functions without files or state, so that both
// the import of saved scans and the recording of a walk from a live adapter
// can use them.
//
// Lines used (blanks before them ignored, every other line skipped):
//   BSS 00:11:22:33:44:55(on wlan0) -- associated   starts an entry; must
//                                                   begin the line; the
//                                                   "(on IF)" and the
//                                                   " -- ..." part optional
//   freq: 5180   or   freq: 5180.0                  centre frequency in MHz
//   signal: -52.00 dBm                              received level
//   SSID: Caf\xc3\xa9\x20                           iw's \xNN escapes decoded
//   DS Parameter set: channel 36                    the AP's own channel
// Within an entry only the first line of each kind counts. Sub-lines of the
// information elements start with '*' and never match; an indented line
// such as "BSS Load:" does not start an entry.

#include "model/SurveyRecords.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

struct CIwBss {
    MacAddress bssid{};
    std::string ssid;          // the bytes as sent, escapes decoded; empty: hidden
    double frequencyMhz = 0.0; // 0 without a freq line
    // The DS Parameter set's channel, else the channel of the frequency in
    // the channel plan (ChannelForFrequency); 0 when neither is known.
    int channel = 0;
    double signalDbm = 0.0;
    bool associated = false; // the BSS line says "-- associated"
    int line = 0;            // 1-based line of the BSS line
};

struct CIwScanProblem {
    int line = 0; // 1-based
    std::string reason;
};

struct CIwScan {
    // Every entry with a signal in dBm, in the order of the text.
    std::vector<CIwBss> entries;
    // Entries left out, and why: a BSS line without a valid MAC, a signal
    // that is not in dBm (the line is quoted), no signal line at all. A text
    // with something in it but no BSS line (an error message of iw, another
    // file) is one problem at line 1.
    std::vector<CIwScanProblem> problems;
};

CIwScan ParseIwScan(std::string_view text);

// iw's escaped SSID text with every "\xNN" turned into its byte; any other
// character, a lone backslash included, is kept.
std::string DecodeIwEscapes(std::string_view text);

} // namespace tarvo
