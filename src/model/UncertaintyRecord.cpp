#include "model/UncertaintyRecord.h"

#include "model/StudyRecord.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace tarvo {

std::string WithUncertaintyRecord(std::string_view record, const CArray<CAPInfo>& aps) {
    std::string values;
    bool any = false;
    for (int i = 0; i < aps.GetSize(); ++i) {
        if (i > 0)
            values += ',';
        const double radius = aps[i].uncertaintyM;
        if (radius > 0.0 && std::isfinite(radius)) {
            // Written and read without the locale: always a '.' decimal point.
            char text[64];
            const auto written =
                std::to_chars(text, text + sizeof text, radius, std::chars_format::fixed, 2);
            values.append(text, written.ptr);
            any = true;
        }
    }
    return WithStudyRecordValue(record, kUncertaintyRecordKey, any ? values : std::string());
}

std::string TakeUncertaintyRecord(std::string_view record, CArray<CAPInfo>& aps) {
    const std::string values = StudyRecordValue(record, kUncertaintyRecordKey);
    std::string rest = WithStudyRecordValue(record, kUncertaintyRecordKey, "");
    if (values.empty())
        return rest;
    std::vector<double> radii;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = values.find(',', start);
        const std::string item = values.substr(start, end == std::string::npos ? end : end - start);
        double radius = 0.0;
        if (!item.empty()) {
            const char* end = item.data() + item.size();
            const auto read = std::from_chars(item.data(), end, radius, std::chars_format::fixed);
            if (read.ec != std::errc() || read.ptr != end || !std::isfinite(radius) || radius < 0.0)
                return rest;
        }
        radii.push_back(radius);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (radii.size() != static_cast<std::size_t>(aps.GetSize()))
        return rest;
    for (int i = 0; i < aps.GetSize(); ++i)
        aps[i].uncertaintyM = radii[static_cast<std::size_t>(i)];
    return rest;
}

} // namespace tarvo
