#pragma once
// A measured throughput point for the tests: where, and the download rate.

#include "model/ThroughputRecords.h"

namespace tarvo::test {

inline CThroughputPoint ThroughputAt(double x, double y, double downBps) {
    CThroughputPoint p;
    p.x = x;
    p.y = y;
    p.downBps = downBps;
    return p;
}

} // namespace tarvo::test
