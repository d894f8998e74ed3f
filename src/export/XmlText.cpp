#include "export/XmlText.h"

#include "model/Text.h"

namespace tarvo {

std::string EscapeXml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string EscapeHtmlKeepingBreaks(const std::string& text) {
    static const std::string kBreak = "<br>";
    std::string out;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(kBreak, from)) != std::string::npos;
         from = at + kBreak.size()) {
        out += EscapeXml(text.substr(from, at - from));
        out += kBreak;
    }
    out += EscapeXml(text.substr(from));
    return out;
}

std::string RelativeUrl(const std::string& path) {
    std::string out;
    for (unsigned char c : path) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
                                c == '~';
        if (unreserved || c == '/')
            out += static_cast<char>(c);
        else if (c == '\\')
            out += '/';
        else
            out += Format("%%%02X", c);
    }
    return out;
}

} // namespace tarvo
