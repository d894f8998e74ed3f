#include "model/ThroughputView.h"

#include "model/StudyRecord.h"

namespace tarvo {

std::int32_t DisplayTypeToStore(const CTarvoAnalyzerDoc& doc) {
    return doc.coverageDisplayType == kDisplayThroughput ? static_cast<std::int32_t>(kDisplayNone)
                                                         : doc.coverageDisplayType;
}

std::string StudyRecordToStore(const CTarvoAnalyzerDoc& doc) {
    const bool shown = doc.coverageDisplayType == kDisplayThroughput;
    // Another view named by the record stays as it is.
    if (!shown && StudyRecordValue(doc.spareText2, kShownViewRecordKey) != kThroughputViewName)
        return doc.spareText2;
    return WithStudyRecordValue(doc.spareText2, kShownViewRecordKey,
                                shown ? kThroughputViewName : std::string_view());
}

void RestoreThroughputView(CTarvoAnalyzerDoc& doc) {
    if (doc.coverageDisplayType == kDisplayNone &&
        StudyRecordValue(doc.spareText2, kShownViewRecordKey) == kThroughputViewName)
        doc.coverageDisplayType = kDisplayThroughput;
}

} // namespace tarvo
