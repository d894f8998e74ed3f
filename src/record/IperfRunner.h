#pragma once
// Throughput at one point of a walk, measured with iperf3 against a server
// the surveyor runs (`iperf3 -s`): `iperf3 -c SERVER -J -t 3 -R` for the
// download (the server sends) and the same without -R for the upload, each
// read from iperf3's JSON report. iperf3 is optional: without it the walk
// is recorded as usual and the throughput is left out, with a clear message.
//
// Thread: any thread; each measurement blocks for the test time and a little
// more, and cannot be cancelled (iperf3 is killed when it takes too long).

#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

constexpr int kIperfSeconds = 3;

struct CIperfOptions {
    // "host" or "host:port" (a port after the only ':'); anything else is
    // handed to iperf3 -c as it stands.
    std::string server;
    int seconds = kIperfSeconds;
    std::string program = "iperf3";
};

// One direction's result: bits per second (the receiver's count), the
// jitter of a UDP test, or why there is none.
struct CIperfReading {
    std::optional<double> bitsPerSecond;
    std::optional<double> jitterMs;
    std::string error;
};

// Both directions at one point.
struct CThroughputResult {
    CIperfReading down;
    CIperfReading up;

    bool AnyMeasured() const { return down.bitsPerSecond || up.bitsPerSecond; }
    // "download: ...; upload: ..." for the directions that failed.
    std::string ErrorText() const;
};

// "iperf3 is not installed ..." when the program is not on PATH.
std::string IperfMissingText(const std::string& program);

// Empty when the program can be run (`iperf3 --version`), else the message.
std::string CheckIperf(const std::string& program = "iperf3");

// Reads iperf3's JSON report: the "error" member when it has one; else
// end.sum_received.bits_per_second (TCP), or end.sum.bits_per_second and
// end.sum.jitter_ms (UDP).
CIperfReading ReadIperfReport(std::string_view text);

CThroughputResult MeasureThroughput(const CIperfOptions& options);

} // namespace tarvo
