#include "model/CoverageViews.h"

#include "model/StudyRecord.h"

#include <array>

namespace tarvo {

namespace {

constexpr std::array<std::string_view, 5> kViewNames = {"snr", "secondary", "cochannel",
                                                        "strongest", "throughput"};

} // namespace

std::string_view RecordedViewName(int displayType) {
    if (!IsRecordedView(displayType))
        return {};
    return kViewNames[static_cast<std::size_t>(displayType - kDisplaySnrMargin)];
}

std::optional<int> RecordedViewFromName(std::string_view name) {
    for (std::size_t i = 0; i < kViewNames.size(); ++i)
        if (kViewNames[i] == name)
            return kDisplaySnrMargin + static_cast<int>(i);
    return std::nullopt;
}

std::int32_t StoredDisplayType(const CTarvoAnalyzerDoc& doc) {
    return IsRecordedView(doc.coverageDisplayType) ? kDisplayNone : doc.coverageDisplayType;
}

std::string StudyRecordToSave(const CTarvoAnalyzerDoc& doc) {
    const std::string_view shown = RecordedViewName(doc.coverageDisplayType);
    if (shown.empty() && !RecordedViewFromName(StudyRecordValue(doc.spareText2, kViewRecordKey)))
        return doc.spareText2;
    return WithStudyRecordValue(doc.spareText2, kViewRecordKey, shown);
}

void RestoreRecordedView(CTarvoAnalyzerDoc& doc) {
    if (doc.coverageDisplayType != kDisplayNone)
        return;
    if (const auto view = RecordedViewFromName(StudyRecordValue(doc.spareText2, kViewRecordKey)))
        doc.coverageDisplayType = *view;
}

} // namespace tarvo
