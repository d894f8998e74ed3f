#include "record/ScanAverage.h"

#include <map>
#include <set>

namespace tarvo {

std::vector<CHeardBss> AverageScans(const std::vector<CScan>& scans) {
    std::vector<CHeardBss> heard;
    std::vector<double> sums;
    std::map<MacAddress, std::size_t> index;
    for (const CScan& scan : scans) {
        std::set<MacAddress> seen;
        for (const CIwBss& bss : scan.heard) {
            if (!seen.insert(bss.bssid).second)
                continue;
            auto [it, added] = index.emplace(bss.bssid, heard.size());
            if (added) {
                CHeardBss entry;
                entry.bssid = bss.bssid;
                entry.ssid = bss.ssid;
                entry.frequencyMhz = bss.frequencyMhz;
                heard.push_back(entry);
                sums.push_back(0.0);
            }
            CHeardBss& entry = heard[it->second];
            if (entry.channel == 0)
                entry.channel = bss.channel;
            sums[it->second] += bss.signalDbm;
            ++entry.heard;
        }
    }
    for (std::size_t i = 0; i < heard.size(); ++i)
        heard[i].meanDbm = sums[i] / heard[i].heard;
    return heard;
}

} // namespace tarvo
