#pragma once
// The survey views beyond the first five display types: the signal-to-noise
// margin, the second-strongest AP's level, co-channel overlap and the
// strongest AP. A workspace keeps its display-type field to the first five,
// so that every reader of the layout meets a type it knows: while one of
// these views is shown the field holds 0 (none) and the study record
// (StudyRecord.h) names the view under "view". A study showing one of the
// first five types saves exactly as before.

#include "model/Document.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

inline constexpr std::string_view kViewRecordKey = "view";

// Types 6..9.
constexpr bool IsSurveyView(int displayType) {
    return displayType >= kDisplaySnrMargin && displayType < kDisplayTypeCount;
}

// "snr", "secondary", "cochannel", "strongest"; empty for other types.
std::string_view SurveyViewName(int displayType);
std::optional<int> SurveyViewFromName(std::string_view name);

// The display type as the workspace field holds it: 0..5, 0 for a survey
// view.
std::int32_t StoredDisplayType(const CTarvoAnalyzerDoc& doc);

// The study record a workspace stores: doc.spareText2 naming the survey view
// shown, or without a view when none is.
std::string StudyRecordToSave(const CTarvoAnalyzerDoc& doc);

// After a workspace was read: a display type of 0 becomes the survey view
// that the study record names, if any.
void RestoreSurveyView(CTarvoAnalyzerDoc& doc);

} // namespace tarvo
