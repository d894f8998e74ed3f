#pragma once
// APs grouped for the legend and the AP tree (by SSID or by channel).

#include "model/Array.h"
#include "model/Colour.h"
#include "model/SurveyRecords.h"

#include <cstdint>
#include <string>

namespace tarvo {

struct CGroupItem {
    MacAddress bssid{};
    std::int32_t apIndex = 0; // index into the document's AP array

    bool operator==(const CGroupItem&) const = default;
};

struct CGroupInfo {
    ColourRef colour = 0;
    CArray<CGroupItem> items;
    std::string name; // the SSID (or channel) that the group gathers
    std::uint8_t anySelected = 0;

    int AddItem(const MacAddress& bssid, int apIndex) {
        return items.Add(CGroupItem{bssid, apIndex});
    }

    bool operator==(const CGroupInfo&) const = default;
};

struct CGroups {
    CArray<CGroupInfo> groups;
    std::int32_t count = 0;

    bool operator==(const CGroups&) const = default;
};

struct CSSID {
    SsidBytes ssid{};

    bool operator==(const CSSID&) const = default;
};

} // namespace tarvo
