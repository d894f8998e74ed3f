#pragma once
// Which method places the APs when a collection is loaded. A setting of
// the document, kept here so that the model layer can hold it.

#include "model/StudyRecord.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

enum class EstimatorKind {
    Study,  // residual-balance search around the strongest sample (default)
    Joint,  // least-squares fit of position, slope and intercept together
    Robust, // the peak of the readings or a robust fit, with an uncertainty radius
};

struct CEstimatorName {
    EstimatorKind kind;
    std::string_view name;
};
inline constexpr std::array<CEstimatorName, 3> kEstimatorNames{{{EstimatorKind::Study, "study"},
                                                                {EstimatorKind::Joint, "joint"},
                                                                {EstimatorKind::Robust, "robust"}}};

// "study", "joint" or "robust": the names the command line and the outputs use.
constexpr std::string_view EstimatorName(EstimatorKind kind) {
    for (const CEstimatorName& n : kEstimatorNames)
        if (n.kind == kind)
            return n.name;
    return "study";
}

constexpr std::optional<EstimatorKind> EstimatorFromName(std::string_view name) {
    for (const CEstimatorName& n : kEstimatorNames)
        if (n.name == name)
            return n.kind;
    return std::nullopt;
}

// The study record (StudyRecord.h) names the estimator that placed the APs
// under this key; the study method, the default, is not written.
inline constexpr std::string_view kEstimatorRecordKey = "estimator";

inline std::string WithEstimatorRecord(std::string_view record, EstimatorKind kind) {
    return WithStudyRecordValue(record, kEstimatorRecordKey,
                                kind == EstimatorKind::Study ? std::string_view()
                                                             : EstimatorName(kind));
}

inline EstimatorKind EstimatorFromRecord(std::string_view record) {
    return EstimatorFromName(StudyRecordValue(record, kEstimatorRecordKey))
        .value_or(EstimatorKind::Study);
}

// "study|joint|robust", for usage texts.
inline std::string EstimatorNames() {
    std::string names;
    for (const CEstimatorName& n : kEstimatorNames)
        names += (names.empty() ? "" : "|") + std::string(n.name);
    return names;
}

} // namespace tarvo
