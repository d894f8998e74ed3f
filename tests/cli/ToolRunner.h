#pragma once
// Runs the `tarvo` tool in-process and captures its output; a small survey
// walk for the commands to work on.

#include "cli/Commands.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo::test {

struct CToolRun {
    int status;
    std::string out;
    std::string err;
};

inline bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline CToolRun RunTarvo(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CCommandIo io{out, err};
    int status = RunTool(args, io);
    return {status, out.str(), err.str()};
}

// A 7 x 7 GPS grid about 11 m apart: AP ...:01 (channel 6, SSID `ssid`)
// falls off with distance from near the middle; AP ...:02 (channel 200) is
// heard on two rows only. One marked AP and one interference source.
inline std::string WriteGridWalk(const CTempDir& dir, const std::string& ssid = "net") {
    CSsdBuilder walk;
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j) {
            const double d = std::hypot((i - 3.2) * 11.0, (j - 2.7) * 11.0);
            CSampleSpec near;
            near.mac[5] = 1;
            near.ssid = ssid;
            near.rssi16 = static_cast<std::int16_t>(
                std::lround((-30 - 25 * std::log10(std::max(d, 1.0))) * 16));
            std::vector<CSampleSpec> heard{near};
            if (i < 2) {
                CSampleSpec edge;
                edge.mac[5] = 2;
                edge.channel = 200;
                edge.rssi16 = static_cast<std::int16_t>((-70 - j) * 16);
                heard.push_back(edge);
            }
            walk.Gps(1.0 + i * 0.0001, 2.0 + j * 0.0001, heard);
        }
    walk.MarkedAp(3600000, 7200000, 6, "net", "desk")
        .Interference(3600360, 7200360, 48740, 400, "oven");
    return dir.Write("walk.ssd", walk.Bytes());
}

} // namespace tarvo::test
