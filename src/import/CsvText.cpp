#include "import/CsvText.h"

#include "import/ImportFields.h"

namespace tarvo {

std::vector<CTextLine> SplitLines(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<CTextLine> lines;
    int number = 1;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines.push_back({number, text});
            break;
        }
        lines.push_back({number++, text.substr(0, end)});
        const std::size_t next =
            text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? end + 2 : end + 1;
        text.remove_prefix(next);
    }
    return lines;
}

char HeaderDelimiter(std::string_view header) {
    int tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    for (char c : header) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '\t')
            ++tabs;
        else if (!quoted && c == ';')
            ++semicolons;
        else if (!quoted && c == ',')
            ++commas;
    }
    if (tabs > 0 && tabs >= semicolons && tabs >= commas)
        return '\t';
    if (semicolons > 0 && semicolons >= commas)
        return ';';
    return ',';
}

std::optional<std::vector<std::string>> SplitFields(std::string_view line, char delimiter,
                                                    bool quoting) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (true) {
        std::size_t start = at;
        if (quoting) {
            while (start < line.size() && line[start] != delimiter &&
                   (line[start] == ' ' || line[start] == '\t'))
                ++start;
        }
        if (quoting && start < line.size() && line[start] == '"') {
            std::string field;
            std::size_t i = start + 1;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                field += line[i++];
            }
            if (!closed)
                return std::nullopt;
            // Blanks may follow the closing quote; anything else is kept.
            const std::size_t end = line.find(delimiter, i);
            const std::string_view tail =
                line.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
            field += TrimBlanks(tail);
            fields.push_back(std::move(field));
            if (end == std::string_view::npos)
                break;
            at = end + 1;
            continue;
        }
        const std::size_t end = line.find(delimiter, at);
        const std::string_view raw =
            line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        fields.emplace_back(quoting ? TrimBlanks(raw) : raw);
        if (end == std::string_view::npos)
            break;
        at = end + 1;
    }
    return fields;
}

int FindColumn(const std::vector<std::string>& header, std::string_view name) {
    const std::string wanted = LowerAscii(name);
    for (std::size_t i = 0; i < header.size(); ++i)
        if (LowerAscii(TrimBlanks(header[i])) == wanted)
            return static_cast<int>(i);
    return -1;
}

} // namespace tarvo
