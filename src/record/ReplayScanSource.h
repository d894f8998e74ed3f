#pragma once
// Scans replayed from a folder of saved `iw dev IF scan` texts, one file per
// scan, taken in the natural order of their names (scan-2 before scan-10);
// hidden files and sub-folders are skipped. For tests, demonstrations and
// surveys scanned on another machine.

#include "record/ScanSource.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

// Largest scan text read; iw prints a few kilobytes per BSS.
constexpr std::size_t kMostScanTextBytes = 16u << 20;

// True when name a sorts before name b in natural order: runs of digits
// compare by their value (fewer leading zeros first on a tie), other
// characters by their byte value.
bool NaturalLess(const std::string& a, const std::string& b);

class CReplayScanSource : public IScanSource {
public:
    using Clock = std::function<std::int64_t()>;

    // Lists the folder now; Error() tells why it cannot be replayed.
    explicit CReplayScanSource(std::string folder, Clock clock = {});

    // Empty when the folder holds scans to replay.
    const std::string& Error() const { return error_; }
    const std::vector<std::string>& Files() const { return files_; }
    std::size_t Used() const { return next_; }

    // The next file's scan; an error when none is left, a file cannot be
    // read or is not the text of an iw scan (it is used up all the same).
    CScanOutcome Scan() override;
    std::string Name() const override { return "replay of " + folder_; }

private:
    std::string folder_;
    Clock clock_;
    std::vector<std::string> files_; // full paths in replay order
    std::size_t next_ = 0;
    std::string error_;
};

} // namespace tarvo
