#include "model/StudyRecord.h"

#include <vector>

namespace tarvo {
namespace {

std::vector<std::string_view> SplitPairs(std::string_view record) {
    std::vector<std::string_view> pairs;
    while (!record.empty()) {
        const std::size_t end = record.find(';');
        pairs.push_back(record.substr(0, end));
        if (end == std::string_view::npos)
            break;
        record.remove_prefix(end + 1);
    }
    return pairs;
}

bool HasKey(std::string_view pair, std::string_view key) {
    return pair.size() > key.size() && pair.substr(0, key.size()) == key && pair[key.size()] == '=';
}

} // namespace

std::string StudyRecordValue(std::string_view record, std::string_view key) {
    for (std::string_view pair : SplitPairs(record))
        if (HasKey(pair, key))
            return std::string(pair.substr(key.size() + 1));
    return {};
}

std::string WithStudyRecordValue(std::string_view record, std::string_view key,
                                 std::string_view value) {
    std::string out;
    auto append = [&out](std::string_view pair) {
        if (pair.empty())
            return;
        if (!out.empty())
            out += ';';
        out += pair;
    };
    bool placed = false;
    for (std::string_view pair : SplitPairs(record)) {
        if (!HasKey(pair, key)) {
            append(pair);
        } else if (!placed && !value.empty()) {
            append(std::string(key) + "=" + std::string(value));
            placed = true;
        }
    }
    if (!placed && !value.empty())
        append(std::string(key) + "=" + std::string(value));
    return out;
}

} // namespace tarvo
