#pragma once
// The APs' uncertainty radii (CAPInfo::uncertaintyM) in the study record
// (StudyRecord.h), so that a workspace keeps them without a change of its
// AP block: under the key "uncertainty", one value per AP in array order,
// joined by ',', each in metres with two decimals, or empty for an AP
// without a radius. A study where no AP has one writes no key.

#include "model/ApRecords.h"
#include "model/Array.h"

#include <string>
#include <string_view>

namespace tarvo {

inline constexpr std::string_view kUncertaintyRecordKey = "uncertainty";

// record with the key set from the APs' radii (or removed when none has one).
std::string WithUncertaintyRecord(std::string_view record, const CArray<CAPInfo>& aps);

// Sets each AP's radius from the record and returns the record without the
// key. A record whose value count differs from the AP count, or with a
// value that is not a finite number of at least 0, sets no radius at all
// (every AP keeps 0): the radii belong to the APs they were written with.
std::string TakeUncertaintyRecord(std::string_view record, CArray<CAPInfo>& aps);

} // namespace tarvo
