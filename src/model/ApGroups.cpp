#include "model/ApGroups.h"

#include "model/ChannelPlan.h"
#include "model/ColourWheel.h"
#include "model/Text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace tarvo {

namespace {

std::string UpperCased(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string ChannelGroupName(int channel) {
    char text[64];
    std::snprintf(text, sizeof text, "Channel %d, %d MHz", channel, FrequencyForChannel(channel));
    return text;
}

// One group under construction with the key it is found and ordered by.
struct CPendingGroup {
    CGroupInfo info;
    SsidBytes ssid{};
    std::string orderKey;
    int channel = 0;
};

} // namespace

void BuildApGroups(CTarvoAnalyzerDoc& doc) {
    const bool bySsid = doc.sortBySsid;
    std::vector<CPendingGroup> groups; // kept in display order
    std::int32_t seed = 0;
    for (int i = 0; i < doc.aps.GetSize(); ++i) {
        const CAPInfo& ap = doc.aps[i];
        if (!doc.onlySelected && !ap.selected)
            continue;
        auto found = std::find_if(groups.begin(), groups.end(), [&](const CPendingGroup& g) {
            return bySsid ? g.ssid == ap.ssid : g.channel == ap.channel;
        });
        if (found == groups.end()) {
            CPendingGroup group;
            group.ssid = ap.ssid;
            group.channel = ap.channel;
            group.orderKey = UpperCased(SsidText(ap.ssid));
            group.info.name =
                bySsid ? "SSID: \"" + SsidText(ap.ssid) + "\"" : ChannelGroupName(ap.channel);
            group.info.colour = HueWheelColour(seed);
            seed = NextColourSeed(seed);
            const auto after = [&](const CPendingGroup& g) {
                return bySsid ? g.orderKey > group.orderKey : g.channel > group.channel;
            };
            found =
                groups.insert(std::find_if(groups.begin(), groups.end(), after), std::move(group));
        }
        found->info.AddItem(ap.bssid, i);
        if (ap.selected)
            found->info.anySelected = 1;
    }

    CGroups built;
    for (CPendingGroup& group : groups)
        built.groups.Add(std::move(group.info));
    (bySsid ? doc.groupsBySsid : doc.groupsByChannel) = built;
    doc.activeGroups = std::move(built);
}

void RebuildApGroups(CTarvoAnalyzerDoc& doc) {
    std::map<std::string, ColourRef> colours;
    for (const CGroupInfo& group : doc.activeGroups.groups)
        colours.emplace(group.name, group.colour);
    BuildApGroups(doc);
    CGroups& kind = doc.sortBySsid ? doc.groupsBySsid : doc.groupsByChannel;
    for (int j = 0; j < doc.activeGroups.groups.GetSize(); ++j) {
        const auto kept = colours.find(doc.activeGroups.groups[j].name);
        if (kept == colours.end())
            continue;
        doc.activeGroups.groups[j].colour = kept->second;
        kind.groups[j].colour = kept->second;
    }
}

} // namespace tarvo
