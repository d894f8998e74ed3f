#include "view/ResourceTexts.h"

#include "analysis/Coordinates.h"
#include "model/Text.h"
#include "view/PointerTexts.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace tarvo {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

constexpr double kDegreeBound = 180.0;
constexpr double kSiteBound = 1000000.0;

} // namespace

MacAddress ParseMacText(const std::string& text) {
    MacAddress mac{};
    for (std::size_t i = 0; i < mac.size(); ++i) {
        const std::size_t at = i * 3;
        const int high = at < text.size() ? HexDigit(text[at]) : 0;
        const int low = at + 1 < text.size() ? HexDigit(text[at + 1]) : 0;
        mac[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return mac;
}

std::string NotesForDialog(const std::string& stored) {
    std::string text = stored;
    ReplaceAll(text, "<br>", "\r\n");
    return text;
}

std::string NotesForRecord(const std::string& typed) {
    std::string text = typed;
    ReplaceAll(text, "\r\n", "\n");
    ReplaceAll(text, "\r", "\n");
    ReplaceAll(text, "\n", "<br>");
    return text;
}

std::optional<double> ParseNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseChannel(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || value <= 0 || value > INT_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

CCoordinateLabels CoordinateLabels(const CTarvoAnalyzerDoc& doc) {
    CCoordinateLabels labels;
    labels.antennaHeight = doc.UseFeet ? "Antenna Height (Ft):" : "Antenna Height (m):";
    if (ShowsLonLat(doc)) {
        labels.first = "Latitude";
        labels.second = "Longitude";
    } else if (doc.UseFeet) {
        labels.first = "Y (Ft):";
        labels.second = "   X (Ft):";
    } else {
        labels.first = "Y (m):";
        labels.second = "   X (m):";
    }
    return labels;
}

CCoordinateTexts CoordinateTexts(const CTarvoAnalyzerDoc& doc, CSitePoint site, const char* format,
                                 IUiServices& ui) {
    double first = 0.0, second = 0.0;
    if (ShowsLonLat(doc)) {
        TransformPoint(doc, false, site.x, site.y, first, second, ui);
    } else {
        first = site.y / DisplayUnit(doc);
        second = site.x / DisplayUnit(doc);
    }
    return {Format(format, first), Format(format, second)};
}

std::optional<CTypedPosition> TypedPosition(const CTarvoAnalyzerDoc& doc, const std::string& first,
                                            const std::string& second, IUiServices& ui) {
    const std::optional<double> a = ParseNumber(first), b = ParseNumber(second);
    if (!a || !b)
        return std::nullopt;
    CTypedPosition typed;
    if (ShowsLonLat(doc)) {
        typed.valid = std::fabs(*a) < kDegreeBound && std::fabs(*b) < kDegreeBound;
        TransformPoint(doc, true, *a, *b, typed.site.y, typed.site.x, ui);
    } else {
        typed.valid = std::fabs(*a) < kSiteBound && std::fabs(*b) < kSiteBound;
        typed.site = {*a * DisplayUnit(doc), *b * DisplayUnit(doc)};
    }
    return typed;
}

} // namespace tarvo
