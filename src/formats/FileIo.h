#pragma once
// Whole-file reads and safe whole-file writes.

#include "formats/OutputFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarvo {

// Largest file read whole (surveys and projections). No real one comes near
// it: a survey of 1 GiB would hold over 20 million sample records (days of a
// receiver hearing a hundred APs every second), a projection that large a
// map of more than 18,000 x 18,000 pixels. A larger file is refused before
// anything is allocated.
constexpr std::uint64_t kMaxReadableFileBytes = std::uint64_t{1} << 30;

// Largest workspace opened (read field by field, never whole) and written;
// a study whose workspace would be larger is refused before anything is
// written, so that every workspace written can be opened again. A workspace
// holds each survey sample about three times (the location's 46-byte
// sample, the AP's 28-byte sample and at most as many thinned ones), so one
// survey at kMaxReadableFileBytes makes about 2.3 GiB; the rest leaves room
// for the AP matrices, the map and further surveys.
constexpr std::uint64_t kMaxWorkspaceFileBytes = std::uint64_t{4} << 30;

// Reads a whole regular file of at most kMaxReadableFileBytes, or nothing:
// when it cannot be opened, is not a regular file (a folder, a named pipe, a
// device), is larger, or cannot be read. Never waits for a pipe's writer and
// never allocates more than the file holds.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// The first `count` bytes of a regular file of any size (all of it when
// shorter), or nothing when it cannot be opened or is no regular file.
std::optional<std::vector<std::uint8_t>> ReadFileHead(const std::string& path, std::size_t count);

// Writes a file so that it is either complete or not replaced at all: the
// bytes go to a temporary file beside it, renamed over the target only when
// fully written. Returns false (and leaves the target as it was) on failure,
// with the reason in *failure when one is given.
bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         CWriteFailure* failure = nullptr);

} // namespace tarvo
