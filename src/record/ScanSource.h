#pragma once
// Where the scans of a recorded walk come from: one call, one scan of the
// air, giving every BSS heard with its SSID, frequency, channel and signal
// in dBm, and the time of the scan. Implementations: the `iw` runner of a
// wireless interface (IwScanSource.h) and the replay of saved scan texts
// (ReplayScanSource.h).

#include "import/IwScan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

struct CScan {
    std::vector<CIwBss> heard;    // in the order the scan lists them
    std::int64_t timeSeconds = 0; // when the scan ended, seconds since 1970 UTC
    // The results may not be fresh (cached results of an earlier scan).
    bool stale = false;
    // What the user should know about this scan, empty when nothing: why
    // its results are stale (said once per source), entries of the text
    // that were left out.
    std::string note;
};

struct CScanOutcome {
    std::optional<CScan> scan;
    std::string error; // the reason when there is no scan

    static CScanOutcome Failed(std::string reason) {
        CScanOutcome outcome;
        outcome.error = std::move(reason);
        return outcome;
    }
};

// Thread: Scan may block for seconds; call it from one thread at a time
// (a worker thread is fine). It cannot be cancelled: a program it runs is
// killed when it takes longer than its time allowed.
class IScanSource {
public:
    virtual ~IScanSource() = default;
    virtual CScanOutcome Scan() = 0;
    // What is scanned, for messages: "wlan0", "replay of /data/scans".
    virtual std::string Name() const = 0;
};

} // namespace tarvo
