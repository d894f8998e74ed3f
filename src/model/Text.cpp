#include "model/Text.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tarvo {

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    return out;
}

std::string MacText(const MacAddress& mac) {
    return Format("%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
}

std::string SsidText(const SsidBytes& ssid) {
    auto end = std::find(ssid.begin(), ssid.end(), std::uint8_t{0});
    return std::string(ssid.begin(), end);
}

SsidBytes SsidFromText(const std::string& text) {
    SsidBytes out{};
    std::copy_n(text.begin(), std::min(text.size(), out.size()), out.begin());
    return out;
}

std::string FileNameOf(const std::string& path) {
    auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace tarvo
