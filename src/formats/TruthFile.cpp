#include "formats/TruthFile.h"

#include "formats/FileIo.h"
#include "formats/JsonReader.h"

#include <cmath>

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

std::optional<double> FiniteNumber(const CJsonValue* v) {
    if (!v || !v->IsNumber() || !std::isfinite(v->number))
        return std::nullopt;
    return v->number;
}

} // namespace

std::optional<MacAddress> ParseMacAddress(std::string_view text) {
    MacAddress mac{};
    if (text.size() != 17)
        return std::nullopt;
    for (std::size_t i = 0; i < mac.size(); ++i) {
        const std::size_t at = i * 3;
        const int high = HexValue(text[at]), low = HexValue(text[at + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        if (i + 1 < mac.size() && text[at + 2] != '-' && text[at + 2] != ':')
            return std::nullopt;
        mac[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return mac;
}

CTruthFile ParseTruth(std::string_view text) {
    CTruthFile truth;
    const CJsonParse parsed = ParseJson(text);
    if (!parsed.value) {
        truth.error = "not JSON (" + parsed.error + ")";
        return truth;
    }
    const CJsonValue* aps = parsed.value->Find("aps");
    if (!aps || !aps->IsArray()) {
        truth.error = "no \"aps\" list";
        return truth;
    }
    for (const CJsonValue& entry : aps->items) {
        const CJsonValue* mac = entry.Find("mac");
        if (!mac || !mac->IsString())
            continue;
        const std::optional<MacAddress> address = ParseMacAddress(mac->text);
        if (!address)
            continue;
        std::optional<double> y = FiniteNumber(entry.Find("y_m"));
        std::optional<double> x = FiniteNumber(entry.Find("x_m"));
        if (const CJsonValue* position = entry.Find("position");
            (!y || !x) && position && position->IsArray() && position->items.size() == 2) {
            y = FiniteNumber(&position->items[0]);
            x = FiniteNumber(&position->items[1]);
        }
        if (y && x)
            truth.aps.push_back({*address, *y, *x});
    }
    truth.ok = true;
    return truth;
}

CTruthFile ReadTruthFile(const std::string& path) {
    const std::optional<std::vector<std::uint8_t>> bytes =
        ReadFileHead(path, kMaxTruthFileBytes + 1);
    if (!bytes) {
        CTruthFile truth;
        truth.error = "cannot be read";
        return truth;
    }
    if (bytes->size() > kMaxTruthFileBytes) {
        CTruthFile truth;
        truth.error = "larger than 16 MiB";
        return truth;
    }
    return ParseTruth(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

} // namespace tarvo
