#pragma once
// How a workspace keeps the throughput view (display type 10) without a
// change of layout: its display-type field holds only the first five types,
// so while the throughput is shown the field holds 0 (none) and the study
// record (StudyRecord.h) names the view: "view=throughput". A study showing
// one of the first five types saves exactly as before.

#include "model/Document.h"

#include <string>
#include <string_view>

namespace tarvo {

inline constexpr std::string_view kShownViewRecordKey = "view";
inline constexpr std::string_view kThroughputViewName = "throughput";

// The display type as the workspace field holds it.
std::int32_t DisplayTypeToStore(const CTarvoAnalyzerDoc& doc);

// doc.spareText2 as a workspace stores it: naming the throughput view while
// it is shown; without the throughput view's entry otherwise.
std::string StudyRecordToStore(const CTarvoAnalyzerDoc& doc);

// After a workspace was read: a display type of 0 becomes the throughput
// view when the study record names it.
void RestoreThroughputView(CTarvoAnalyzerDoc& doc);

} // namespace tarvo
