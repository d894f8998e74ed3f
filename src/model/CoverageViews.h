#pragma once
// The views beyond the first five display types: the survey views (the
// signal-to-noise margin, the second-strongest AP's level, co-channel overlap
// and the strongest AP) and the throughput of recorded walks. A workspace
// keeps its display-type field to the first five, so that every reader of
// the layout meets a type it knows: while one of these views is shown the
// field holds 0 (none) and the study record (StudyRecord.h) names the view
// under "view". A study showing one of the first five types saves exactly as
// before.

#include "model/Document.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

inline constexpr std::string_view kViewRecordKey = "view";

// Types 6..9.
constexpr bool IsSurveyView(int displayType) {
    return displayType >= kDisplaySnrMargin && displayType <= kDisplayStrongestAp;
}

// Types 6..10: the views a workspace names in its study record.
constexpr bool IsRecordedView(int displayType) {
    return displayType >= kDisplaySnrMargin && displayType < kDisplayTypeCount;
}

// "snr", "secondary", "cochannel", "strongest", "throughput"; empty for
// other types.
std::string_view RecordedViewName(int displayType);
std::optional<int> RecordedViewFromName(std::string_view name);

// The display type as the workspace field holds it: 0..5, 0 for a view the
// study record names.
std::int32_t StoredDisplayType(const CTarvoAnalyzerDoc& doc);

// The study record a workspace stores: doc.spareText2 naming the view shown,
// or without a view when none is. A view this program does not know (one a
// later version wrote) stays.
std::string StudyRecordToSave(const CTarvoAnalyzerDoc& doc);

// After a workspace was read: a display type of 0 becomes the view that the
// study record names, if any.
void RestoreRecordedView(CTarvoAnalyzerDoc& doc);

} // namespace tarvo
