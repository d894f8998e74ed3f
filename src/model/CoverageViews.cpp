#include "model/CoverageViews.h"

#include "model/StudyRecord.h"

#include <array>

namespace tarvo {

namespace {

constexpr std::array<std::string_view, 4> kViewNames = {"snr", "secondary", "cochannel",
                                                        "strongest"};

} // namespace

std::string_view SurveyViewName(int displayType) {
    if (!IsSurveyView(displayType))
        return {};
    return kViewNames[static_cast<std::size_t>(displayType - kDisplaySnrMargin)];
}

std::optional<int> SurveyViewFromName(std::string_view name) {
    for (std::size_t i = 0; i < kViewNames.size(); ++i)
        if (kViewNames[i] == name)
            return kDisplaySnrMargin + static_cast<int>(i);
    return std::nullopt;
}

std::int32_t StoredDisplayType(const CTarvoAnalyzerDoc& doc) {
    return IsSurveyView(doc.coverageDisplayType) ? kDisplayNone : doc.coverageDisplayType;
}

std::string StudyRecordToSave(const CTarvoAnalyzerDoc& doc) {
    return WithStudyRecordValue(doc.spareText2, kViewRecordKey,
                                SurveyViewName(doc.coverageDisplayType));
}

void RestoreSurveyView(CTarvoAnalyzerDoc& doc) {
    if (doc.coverageDisplayType != kDisplayNone)
        return;
    if (const auto view = SurveyViewFromName(StudyRecordValue(doc.spareText2, kViewRecordKey)))
        doc.coverageDisplayType = *view;
}

} // namespace tarvo
