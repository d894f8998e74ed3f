#include "import/ImportFields.h"

#include "model/ChannelPlan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>

namespace tarvo {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads exactly `count` digits at text[at].
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count) {
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i]))
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

constexpr int kFirstYear = 1980;
constexpr int kLastYear = kFirstYear + 255;

// "Z", "+hh", "+hh:mm", "+hhmm" (or '-'): a zone suffix.
bool IsZone(std::string_view zone) {
    if (zone == "Z" || zone == "z")
        return true;
    if (zone.empty() || (zone[0] != '+' && zone[0] != '-'))
        return false;
    zone.remove_prefix(1);
    if (zone.size() == 2)
        return Digits(zone, 0, 2).has_value();
    if (zone.size() == 4)
        return Digits(zone, 0, 4).has_value();
    return zone.size() == 5 && zone[2] == ':' && Digits(zone, 0, 2) && Digits(zone, 3, 2);
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::optional<double> ParseDecimal(std::string_view text, bool decimalComma) {
    std::string number(TrimBlanks(text));
    if (!number.empty() && number[0] == '+')
        number.erase(0, 1);
    if (decimalComma && std::count(number.begin(), number.end(), ',') == 1 &&
        number.find('.') == std::string::npos)
        std::replace(number.begin(), number.end(), ',', '.');
    // from_chars would also take "inf" and "nan"; a number starts with a
    // digit or a point after its sign.
    const std::size_t start = !number.empty() && number[0] == '-' ? 1 : 0;
    if (start >= number.size() || !(IsDigit(number[start]) || number[start] == '.'))
        return std::nullopt;
    double value = 0.0;
    const char* end = number.data() + number.size();
    const auto [ptr, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> ParseWhole(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::optional<MacAddress> ParseMac(std::string_view text) {
    text = TrimBlanks(text);
    std::size_t step = 0;
    if (text.size() == 12)
        step = 2;
    else if (text.size() == 17 && (text[2] == ':' || text[2] == '-'))
        step = 3;
    else
        return std::nullopt;
    MacAddress mac{};
    for (std::size_t i = 0; i < 6; ++i) {
        const std::size_t at = i * step;
        const int high = HexValue(text[at]);
        const int low = HexValue(text[at + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        // One separator throughout: "aa:bb-cc..." is a typing slip.
        if (step == 3 && i < 5 && text[at + 2] != text[2])
            return std::nullopt;
        mac[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return mac;
}

std::optional<std::int16_t> RssiTo16thDbm(double dbm) {
    if (!(dbm >= kLowestLevelDbm && dbm <= kHighestLevelDbm))
        return std::nullopt;
    return static_cast<std::int16_t>(std::lround(dbm * 16.0));
}

SsidBytes SsidFromUtf8(std::string_view text) {
    std::size_t length = std::min<std::size_t>(text.size(), 32);
    if (length < text.size()) {
        // Step back over continuation bytes (10xxxxxx) to the lead byte of
        // the cut character, and drop that character.
        std::size_t cut = length;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        length = cut;
    }
    SsidBytes ssid{};
    std::copy_n(text.begin(), length, ssid.begin());
    return ssid;
}

std::optional<DateTimeBytes> ParseIsoTime(std::string_view text) {
    text = TrimBlanks(text);
    const auto year = Digits(text, 0, 4);
    const auto month = Digits(text, 5, 2);
    const auto day = Digits(text, 8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    if (*year < kFirstYear || *year > kLastYear || *month < 1 || *month > 12 || *day < 1 ||
        *day > DaysInMonth(*year, *month))
        return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    std::string_view rest = text.substr(10);
    if (!rest.empty()) {
        if (rest[0] != 'T' && rest[0] != 't' && rest[0] != ' ')
            return std::nullopt;
        const auto h = Digits(rest, 1, 2);
        const auto m = Digits(rest, 4, 2);
        if (!h || !m || rest[3] != ':')
            return std::nullopt;
        hour = *h;
        minute = *m;
        rest.remove_prefix(6);
        if (!rest.empty() && rest[0] == ':') {
            const auto s = Digits(rest, 1, 2);
            if (!s)
                return std::nullopt;
            second = *s;
            rest.remove_prefix(3);
            if (!rest.empty() && (rest[0] == '.' || rest[0] == ',')) {
                std::size_t digits = 1;
                while (digits < rest.size() && IsDigit(rest[digits]))
                    ++digits;
                if (digits == 1)
                    return std::nullopt;
                rest.remove_prefix(digits);
            }
        }
        if (!rest.empty() && !IsZone(rest))
            return std::nullopt;
        if (hour > 23 || minute > 59 || second > 60)
            return std::nullopt;
        second = std::min(second, 59);
    }
    return DateTimeBytes{static_cast<std::uint8_t>(*month),
                         static_cast<std::uint8_t>(*day),
                         static_cast<std::uint8_t>(*year - kFirstYear),
                         static_cast<std::uint8_t>(hour),
                         static_cast<std::uint8_t>(minute),
                         static_cast<std::uint8_t>(second)};
}

DateTimeBytes LocalDateFields(std::int64_t seconds) {
    const std::time_t moment = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&moment, &local))
        return DateTimeBytes{1, 1, 0, 0, 0, 0};
    const int year = std::clamp(local.tm_year + 1900, kFirstYear, kLastYear);
    return DateTimeBytes{static_cast<std::uint8_t>(local.tm_mon + 1),
                         static_cast<std::uint8_t>(local.tm_mday),
                         static_cast<std::uint8_t>(year - kFirstYear),
                         static_cast<std::uint8_t>(local.tm_hour),
                         static_cast<std::uint8_t>(local.tm_min),
                         static_cast<std::uint8_t>(std::min(local.tm_sec, 59))};
}

int ChannelForFrequency(int frequencyMhz) {
    // Searched through the plan itself, so that a wider plan is followed.
    for (int channel = 1; channel <= 255; ++channel)
        if (FrequencyForChannel(channel) == frequencyMhz)
            return channel;
    return 0;
}

} // namespace tarvo
