#pragma once
// Scans of a wireless interface through the `iw` program: `iw dev IF scan`
// (a fresh scan, which needs the CAP_NET_ADMIN capability), and where that
// is not permitted `iw dev IF scan dump` (the adapter's cached results,
// which need no privilege but may be stale). The text is read by the same
// reader as imported scans (IwScan.h).

#include "record/ScanSource.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarvo {

// Seconds allowed for one run of iw: a scan of every band takes a few.
constexpr int kIwTimeoutMs = 30000;

// Where iw is looked for when it is not on the PATH: Debian puts it in
// /usr/sbin, which an ordinary user's PATH leaves out, although reading the
// cached results needs no privilege.
std::vector<std::string> IwFallbackPaths();

// The iw to run: `program` when it holds a '/' or is on the PATH, else the
// first of `fallbacks` that can be run, else `program` (whose run then says
// that it is missing).
std::string FindIw(const std::string& program, const std::vector<std::string>& fallbacks);

// The messages of the runner, for the documentation and the tests.
// "iw is not installed ..." when the program is not on PATH.
std::string IwMissingText(const std::string& program);
// The note given once when a fresh scan is not permitted and the cached
// results are used instead; names the interface and how to grant the
// permission.
std::string IwStaleNote(const std::string& interface);
// The error when neither a scan nor the cached results can be read
// because the permission is missing.
std::string IwPermissionText(const std::string& interface);

class CIwScanSource : public IScanSource {
public:
    using Clock = std::function<std::int64_t()>;

    // program: the iw to run, looked up on PATH unless it holds a '/', then
    // among `fallbacks`. clock: the time of a scan (default: the system's).
    explicit CIwScanSource(std::string interface, std::string program = "iw", Clock clock = {},
                           std::vector<std::string> fallbacks = IwFallbackPaths());

    CScanOutcome Scan() override;
    std::string Name() const override { return interface_; }

    // True once a fresh scan was refused: every later scan reads the cache.
    bool DumpOnly() const { return dumpOnly_; }

private:
    CScanOutcome Read(bool dump);

    std::string interface_;
    std::string program_;
    Clock clock_;
    std::vector<std::string> fallbacks_;
    bool dumpOnly_ = false;
    bool staleNoted_ = false;
};

} // namespace tarvo
