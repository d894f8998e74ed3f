#pragma once
// Throughput measured at the points of a recorded walk: where, and how many
// bits per second went down to the surveyor's machine and up from it. Kept
// beside the walk in a side file (record/ThroughputCsv.h), not in the
// survey file.

#include <cmath>
#include <cstdint>
#include <limits>

namespace tarvo {

struct CThroughputPoint {
    double x = 0.0; // site metres of the measured point
    double y = 0.0;
    // NaN where the direction was not measured (iperf3 failed there).
    double downBps = std::numeric_limits<double>::quiet_NaN();
    double upBps = std::numeric_limits<double>::quiet_NaN();
    double jitterMs = std::numeric_limits<double>::quiet_NaN(); // UDP tests only

    bool HasDown() const { return std::isfinite(downBps); }

    // The same measurement: a direction not measured (NaN) equals itself.
    bool operator==(const CThroughputPoint& o) const {
        const auto same = [](double a, double b) {
            return a == b || (std::isnan(a) && std::isnan(b));
        };
        return same(x, o.x) && same(y, o.y) && same(downBps, o.downBps) && same(upBps, o.upBps) &&
               same(jitterMs, o.jitterMs);
    }
};

} // namespace tarvo
