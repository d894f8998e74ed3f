#include "record/ThroughputCsv.h"

#include "import/CsvText.h"
#include "import/ImportFields.h"
#include "model/Text.h"

#include <cmath>
#include <optional>

namespace tarvo {

namespace {

std::string Optional(double value, const char* format) {
    return std::isfinite(value) ? Format(format, value) : std::string();
}

} // namespace

std::string ThroughputPathFor(const std::string& walkPath) {
    const std::size_t slash = walkPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (walkPath.size() >= nameStart + 5 &&
        LowerAscii(walkPath.substr(walkPath.size() - 4)) == ".ssd")
        return walkPath.substr(0, walkPath.size() - 4) + ".throughput.csv";
    return walkPath + ".throughput.csv";
}

std::string ThroughputCsvText(const std::vector<CThroughputPoint>& points) {
    std::string text(kThroughputHeader);
    text += '\n';
    for (const CThroughputPoint& p : points)
        text += Format("%.3f,%.3f,", p.x, p.y) + Optional(p.downBps, "%.0f") + "," +
                Optional(p.upBps, "%.0f") + "," + Optional(p.jitterMs, "%.3f") + "\n";
    return text;
}

CThroughputRead ReadThroughputCsv(std::string_view text, const std::string& file) {
    CThroughputRead read;
    const std::vector<CTextLine> lines = SplitLines(text);
    std::size_t at = 0;
    while (at < lines.size() && TrimBlanks(lines[at].text).empty())
        ++at;
    if (at == lines.size()) {
        read.fatal = file + ": no header line";
        return read;
    }
    const char delimiter = HeaderDelimiter(lines[at].text);
    const auto header = SplitFields(lines[at].text, delimiter);
    const int headerLine = lines[at++].number;
    const int xColumn = header ? FindColumn(*header, "x_m") : -1;
    const int yColumn = header ? FindColumn(*header, "y_m") : -1;
    if (xColumn < 0 || yColumn < 0) {
        read.fatal = Format("%s:%d: missing column x_m or y_m (the header must be %s)",
                            file.c_str(), headerLine, std::string(kThroughputHeader).c_str());
        return read;
    }
    const int columns[3] = {FindColumn(*header, "down_bps"), FindColumn(*header, "up_bps"),
                            FindColumn(*header, "jitter_ms")};
    const char* names[3] = {"down_bps", "up_bps", "jitter_ms"};
    for (; at < lines.size(); ++at) {
        const CTextLine& line = lines[at];
        if (TrimBlanks(line.text).empty())
            continue;
        auto refuse = [&](const std::string& reason) {
            read.refused.push_back(Format("%s:%d: ", file.c_str(), line.number) + reason);
        };
        const auto fields = SplitFields(line.text, delimiter);
        if (!fields) {
            refuse("a quote is not closed");
            continue;
        }
        auto cell = [&](int column) -> std::string_view {
            return column >= 0 && column < static_cast<int>(fields->size())
                       ? TrimBlanks((*fields)[static_cast<std::size_t>(column)])
                       : std::string_view();
        };
        const auto x = ParseDecimal(cell(xColumn)), y = ParseDecimal(cell(yColumn));
        if (!x || !y) {
            refuse("the position is not a pair of numbers (x_m, y_m)");
            continue;
        }
        CThroughputPoint point;
        point.x = *x;
        point.y = *y;
        double* values[3] = {&point.downBps, &point.upBps, &point.jitterMs};
        std::string reason;
        for (int i = 0; i < 3 && reason.empty(); ++i) {
            const std::string_view value = cell(columns[i]);
            if (value.empty())
                continue;
            const auto number = ParseDecimal(value);
            if (!number || *number < 0.0)
                reason = Format("%s is not a number of at least 0: '%s'", names[i],
                                std::string(value).c_str());
            else
                *values[i] = *number;
        }
        if (!reason.empty()) {
            refuse(reason);
            continue;
        }
        read.points.push_back(point);
    }
    return read;
}

} // namespace tarvo
