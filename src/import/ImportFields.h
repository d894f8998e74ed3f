#pragma once
// The field parsers every import reader shares: numbers, MAC addresses,
// RSSI, SSIDs, times and channels, each strict about what it accepts.

#include "model/ApRecords.h"
#include "model/SurveyRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

// The text without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);
// An ASCII lower-case copy (other bytes unchanged).
std::string LowerAscii(std::string_view text);

// A decimal number: an optional sign, digits with an optional fraction and
// exponent, blanks around it ignored. With decimalComma a single ',' and no
// '.' is read as the decimal point (spreadsheets of locales that write
// -60,5). Empty text, hex, infinities and NaN give nothing.
std::optional<double> ParseDecimal(std::string_view text, bool decimalComma = false);

// A whole number of at most 9 digits with an optional sign.
std::optional<int> ParseWhole(std::string_view text);

// "aa:bb:cc:dd:ee:ff", "aa-bb-cc-dd-ee-ff" or 12 hex digits, either case.
std::optional<MacAddress> ParseMac(std::string_view text);

// The received levels a survey may hold, in dBm: below is no radio, above
// is a transmitter next to the antenna.
constexpr double kLowestLevelDbm = -150.0;
constexpr double kHighestLevelDbm = 20.0;

// dBm to the 1/16 dBm of a survey sample, rounded half away from zero;
// nothing outside kLowestLevelDbm..kHighestLevelDbm or when not finite.
std::optional<std::int16_t> RssiTo16thDbm(double dbm);

// UTF-8 text in a 32-byte SSID field: cut to 32 bytes without splitting a
// character (a cut never leaves a lead byte without its continuation
// bytes), NUL-padded. Bytes that are not UTF-8 are kept as they are.
SsidBytes SsidFromUtf8(std::string_view text);

// ISO 8601 local date and time as the six date fields of a location
// (month, day, years since 1980, hour, minute, second): "2024-05-14",
// "2024-05-14T10:20:30" or with a blank for the "T", minutes without
// seconds, a fraction of a second (dropped), and a zone ("Z", "+02:00",
// "-0500") that is accepted but not applied: the fields hold the clock time
// as written. Years 1980..2235 only; a leap second reads as second 59.
std::optional<DateTimeBytes> ParseIsoTime(std::string_view text);

// The date fields of a moment (seconds since 1970 UTC) in the local time
// zone; years outside 1980..2235 are held at the nearer end.
DateTimeBytes LocalDateFields(std::int64_t seconds);

// The channel whose centre frequency (FrequencyForChannel) is frequencyMhz,
// 0 when the channel plan has none.
int ChannelForFrequency(int frequencyMhz);

} // namespace tarvo
