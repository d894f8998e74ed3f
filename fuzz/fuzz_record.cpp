// libFuzzer harness for the texts a recorded walk reads from other
// programs and files: iperf3's JSON report, the throughput side file and
// the interface list of `iw dev`. Any text must be read or refused without
// a fault; what is read must hang together: rates and jitter are finite and
// not negative, side-file points have finite positions and write back to
// the same points, interface names are single words.

#include "record/IperfRunner.h"
#include "record/ThroughputCsv.h"
#include "record/WirelessInterfaces.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

namespace {

using namespace tarvo;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool NotNegative(const std::optional<double>& value) {
    return !value || (std::isfinite(*value) && *value >= 0.0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const CIperfReading reading = ReadIperfReport(text);
    Check(NotNegative(reading.bitsPerSecond) && NotNegative(reading.jitterMs));
    Check(reading.bitsPerSecond.has_value() == reading.error.empty());

    const CThroughputRead read = ReadThroughputCsv(text, "fuzz.csv");
    for (const CThroughputPoint& point : read.points) {
        Check(std::isfinite(point.x) && std::isfinite(point.y));
        for (double value : {point.downBps, point.upBps, point.jitterMs})
            Check(std::isnan(value) || value >= 0.0);
    }
    if (read.fatal.empty()) {
        // Written back (rounded to the side file's decimals) and read again:
        // as many points, none refused.
        const CThroughputRead again = ReadThroughputCsv(ThroughputCsvText(read.points), "again");
        Check(again.fatal.empty() && again.refused.empty());
        Check(again.points.size() == read.points.size());
    }

    for (const std::string& name : ParseIwDevInterfaces(text))
        Check(!name.empty() && name.find_first_of(" \t/") == std::string::npos);
    return 0;
}
