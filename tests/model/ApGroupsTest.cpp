#include "model/ApGroups.h"
#include "model/ColourWheel.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tarvo {
namespace {

CAPInfo MakeAp(const char* ssid, int channel, bool selected, std::uint8_t macTail) {
    CAPInfo ap;
    std::memcpy(ap.ssid.data(), ssid, std::strlen(ssid));
    ap.channel = channel;
    ap.selected = selected ? 1 : 0;
    ap.bssid[5] = macTail;
    return ap;
}

CTarvoAnalyzerDoc ThreeNetworks() {
    CTarvoAnalyzerDoc doc;
    doc.aps.Add(MakeAp("Office", 6, true, 1));
    doc.aps.Add(MakeAp("lab", 1, false, 2));
    doc.aps.Add(MakeAp("Office", 11, false, 3));
    doc.aps.Add(MakeAp("Guest", 6, false, 4));
    return doc;
}

TEST(ApGroups, BySsidOrdersIgnoringCaseAndColoursInCreationOrder) {
    CTarvoAnalyzerDoc doc = ThreeNetworks();
    BuildApGroups(doc);
    const auto& g = doc.activeGroups.groups;
    ASSERT_EQ(g.GetSize(), 3);
    EXPECT_EQ(g[0].name, "SSID: \"Guest\"");
    EXPECT_EQ(g[1].name, "SSID: \"lab\"");
    EXPECT_EQ(g[2].name, "SSID: \"Office\"");
    // Office was created first, lab second, Guest third.
    EXPECT_EQ(g[2].colour, HueWheelColour(0));
    EXPECT_EQ(g[1].colour, HueWheelColour(52));
    EXPECT_EQ(g[0].colour, HueWheelColour(104));
    ASSERT_EQ(g[2].items.GetSize(), 2);
    EXPECT_EQ(g[2].items[0].apIndex, 0);
    EXPECT_EQ(g[2].items[1].apIndex, 2);
    EXPECT_EQ(g[2].anySelected, 1);
    EXPECT_EQ(g[1].anySelected, 0);
    EXPECT_EQ(doc.groupsBySsid, doc.activeGroups);
}

TEST(ApGroups, ByChannel) {
    CTarvoAnalyzerDoc doc = ThreeNetworks();
    doc.sortBySsid = false;
    BuildApGroups(doc);
    const auto& g = doc.activeGroups.groups;
    ASSERT_EQ(g.GetSize(), 3);
    EXPECT_EQ(g[0].name, "Channel 1, 2412 MHz");
    EXPECT_EQ(g[1].name, "Channel 6, 2437 MHz");
    EXPECT_EQ(g[2].name, "Channel 11, 2462 MHz");
    EXPECT_EQ(g[1].items.GetSize(), 2);
    EXPECT_EQ(doc.groupsByChannel, doc.activeGroups);
}

TEST(ApGroups, RebuiltGroupsKeepTheirColoursNewOnesTakeTheWheel) {
    CTarvoAnalyzerDoc doc = ThreeNetworks();
    BuildApGroups(doc);
    doc.activeGroups.groups[1].colour = 0x123456; // "lab", picked by the user
    doc.groupsBySsid.groups[1].colour = 0x123456;
    // The first AP is deleted: "Office" is now created after "lab", and the
    // new network "Annex" comes last.
    doc.aps.RemoveAt(0);
    doc.aps.Add(MakeAp("Annex", 3, false, 5));
    RebuildApGroups(doc);
    const auto& g = doc.activeGroups.groups;
    ASSERT_EQ(g.GetSize(), 4);
    EXPECT_EQ(g[0].name, "SSID: \"Annex\"");
    EXPECT_EQ(g[0].colour, HueWheelColour(156)) << "fourth new group of the run";
    EXPECT_EQ(g[2].name, "SSID: \"lab\"");
    EXPECT_EQ(g[2].colour, 0x123456u);
    EXPECT_EQ(g[3].name, "SSID: \"Office\"");
    EXPECT_EQ(g[3].colour, HueWheelColour(0)) << "its colour before the delete";
    ASSERT_EQ(g[3].items.GetSize(), 1);
    EXPECT_EQ(g[3].items[0].apIndex, 1);
    EXPECT_EQ(doc.groupsBySsid, doc.activeGroups);
}

} // namespace
} // namespace tarvo
