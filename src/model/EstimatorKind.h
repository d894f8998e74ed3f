#pragma once
// Which method places the APs when a collection is loaded. A setting of
// the document, kept here so that the model layer can hold it.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

enum class EstimatorKind {
    Study, // residual-balance search around the strongest sample (default)
    Joint, // least-squares fit of position, slope and intercept together
};

struct CEstimatorName {
    EstimatorKind kind;
    std::string_view name;
};
inline constexpr std::array<CEstimatorName, 2> kEstimatorNames{
    {{EstimatorKind::Study, "study"}, {EstimatorKind::Joint, "joint"}}};

// "study" or "joint": the names the command line and the outputs use.
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

// A workspace records which estimator placed its APs in the document's
// second spare text, without a change of layout: this text for the joint
// fit, an empty one for the study method. Any other text reads as the study
// method, so that older workspaces open as they always did.
inline constexpr std::string_view kJointEstimatorRecord = "estimator=joint";

constexpr std::string_view EstimatorRecord(EstimatorKind kind) {
    return kind == EstimatorKind::Joint ? kJointEstimatorRecord : std::string_view();
}

constexpr EstimatorKind EstimatorFromRecord(std::string_view text) {
    return text == kJointEstimatorRecord ? EstimatorKind::Joint : EstimatorKind::Study;
}

// "study|joint", for usage texts.
inline std::string EstimatorNames() {
    std::string names;
    for (const CEstimatorName& n : kEstimatorNames)
        names += (names.empty() ? "" : "|") + std::string(n.name);
    return names;
}

} // namespace tarvo
