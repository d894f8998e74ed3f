#pragma once
// Whole-file reads and safe whole-file writes.

#include "formats/OutputFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarvo {

// Reads a whole file, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// Writes a file so that it is either complete or not replaced at all: the
// bytes go to a temporary file beside it, renamed over the target only when
// fully written. Returns false (and leaves the target as it was) on failure,
// with the reason in *failure when one is given.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         CWriteFailure* failure = nullptr);

} // namespace tarvo
