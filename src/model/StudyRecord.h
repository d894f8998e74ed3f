#pragma once
// The study's analysis choices, kept in the document's second spare text so
// that a workspace records them without a change of layout: "key=value"
// pairs joined by ';', holding only the choices that differ from their
// defaults. An empty text means every default; a pair without '=' and an
// unknown key are ignored, so any older text reads as the defaults.

#include <string>
#include <string_view>

namespace tarvo {

// The value of key in record, or an empty text when it has none.
std::string StudyRecordValue(std::string_view record, std::string_view key);

// record with key set to value, or with key removed when value is empty.
// The other pairs keep their order; a new key goes last. Keys and values
// must not contain ';' or '='.
std::string WithStudyRecordValue(std::string_view record, std::string_view key,
                                 std::string_view value);

} // namespace tarvo
