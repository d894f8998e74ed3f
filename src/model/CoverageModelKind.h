#pragma once
// Which model predicts an AP's signal over the site: the AP matrices, the
// site-wide coverage and everything drawn or exported from them. A setting
// of the study, kept in its study record.

#include "model/StudyRecord.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

enum class CoverageModelKind {
    Study,  // 0.6 x log-distance model + 0.4 x nearest-three interpolation (default)
    Survey, // kriging of the heard samples, masked where the AP was not heard
};

struct CCoverageModelName {
    CoverageModelKind kind;
    std::string_view name;
};
inline constexpr std::array<CCoverageModelName, 2> kCoverageModelNames{
    {{CoverageModelKind::Study, "study"}, {CoverageModelKind::Survey, "survey"}}};

// "study" or "survey": the names the command line and the outputs use.
constexpr std::string_view CoverageModelName(CoverageModelKind kind) {
    for (const CCoverageModelName& n : kCoverageModelNames)
        if (n.kind == kind)
            return n.name;
    return "study";
}

constexpr std::optional<CoverageModelKind> CoverageModelFromName(std::string_view name) {
    for (const CCoverageModelName& n : kCoverageModelNames)
        if (n.name == name)
            return n.kind;
    return std::nullopt;
}

// The study record (StudyRecord.h) names the model that made the maps under
// this key; the study model, the default, is not written.
inline constexpr std::string_view kCoverageModelRecordKey = "coverage";

inline std::string WithCoverageModelRecord(std::string_view record, CoverageModelKind kind) {
    return WithStudyRecordValue(record, kCoverageModelRecordKey,
                                kind == CoverageModelKind::Study ? std::string_view()
                                                                 : CoverageModelName(kind));
}

inline CoverageModelKind CoverageModelFromRecord(std::string_view record) {
    return CoverageModelFromName(StudyRecordValue(record, kCoverageModelRecordKey))
        .value_or(CoverageModelKind::Study);
}

// "study|survey", for usage texts.
inline std::string CoverageModelNames() {
    std::string names;
    for (const CCoverageModelName& n : kCoverageModelNames)
        names += (names.empty() ? "" : "|") + std::string(n.name);
    return names;
}

} // namespace tarvo
