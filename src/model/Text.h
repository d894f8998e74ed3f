#pragma once
// Text helpers shared by readers, analysis and exports.

#include "model/SurveyRecords.h"

#include <cstdarg>
#include <string>

namespace tarvo {

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "00-1A-2B-3C-4D-5E": the six BSSID bytes as %02X joined by '-'.
std::string MacText(const MacAddress& mac);

// The SSID up to its first NUL, at most 32 characters.
std::string SsidText(const SsidBytes& ssid);

// Stores text into a 32-byte SSID field, cut to 32 bytes, NUL-padded.
SsidBytes SsidFromText(const std::string& text);

// File name of a path (after the last '/' or '\\').
std::string FileNameOf(const std::string& path);

} // namespace tarvo
