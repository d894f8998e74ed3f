#include "model/PointSamples.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

namespace tarvo {
namespace {

CDataSsd Sample(std::uint8_t mac, std::int16_t rssi, std::int16_t level2 = 0,
                std::int32_t channel = 6, std::uint8_t ssidByte = 'n') {
    CDataSsd s;
    s.channel = channel;
    s.rssi = rssi;
    s.level2 = level2;
    s.bssid = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, mac};
    s.ssid.fill(ssidByte); // all 32 bytes, no terminator
    return s;
}

std::vector<CDataSsd> Values(const CPointSamples& list) {
    return std::vector<CDataSsd>(list.begin(), list.end());
}

TEST(PointSamples, SamplesReadBackWholeAndIdentitiesAreHeldOnce) {
    const auto table = std::make_shared<CSampleIdentities>();
    CPointSamples first(table), second(table);
    const std::vector<CDataSsd> a{Sample(1, -960, 3), Sample(2, -800, -95), Sample(1, -961, 4)};
    const std::vector<CDataSsd> b{Sample(2, -16), Sample(1, 0, -1),
                                  Sample(1, -5, 0, 11),      // another channel
                                  Sample(1, -5, 0, 6, 'm')}; // another SSID
    for (const CDataSsd& s : a)
        first.Add(s);
    for (const CDataSsd& s : b)
        second.Add(s);
    EXPECT_EQ(Values(first), a);
    EXPECT_EQ(Values(second), b);
    EXPECT_EQ(second[3], b[3]);
    // MAC 1 and 2 on channel 6 with SSID "nnn...", then the two variants.
    EXPECT_EQ(table->Size(), 4u);
    EXPECT_EQ(first.IdentityAt(0), second.IdentityAt(1));
    EXPECT_EQ(first.RssiAt(2), -961);
    EXPECT_EQ(first.Level2At(1), -95);

    EXPECT_THROW(first[3], std::invalid_argument);
    EXPECT_THROW(first.At(-1), std::invalid_argument);
    EXPECT_EQ(CPointSamples().begin(), CPointSamples().end());
    EXPECT_EQ(CPointSamples().Identities(), nullptr);
}

TEST(PointSamples, AWrongHintChangesNothing) {
    const auto table = std::make_shared<CSampleIdentities>();
    CPointSamples list(table);
    list.Add(Sample(1, -1));
    list.Add(Sample(2, -2), 0);    // hints at MAC 1
    list.Add(Sample(3, -3), 1000); // past the table
    list.Add(Sample(1, -4), 0);    // right
    list.Add(Sample(2, -5), CPointSamples::kNoIdentity);
    EXPECT_EQ(Values(list), (std::vector<CDataSsd>{Sample(1, -1), Sample(2, -2), Sample(3, -3),
                                                   Sample(1, -4), Sample(2, -5)}));
    EXPECT_EQ(table->Size(), 3u);
}

TEST(PointSamples, CopiesAreIndependentAndCompareByValue) {
    CPointSamples original{Sample(1, -10), Sample(2, -20)};
    CPointSamples copy = original;
    copy.Add(Sample(3, -30));
    EXPECT_EQ(original.GetSize(), 2);
    EXPECT_EQ(copy.GetSize(), 3);
    EXPECT_FALSE(copy == original);
    copy.RemoveAll();
    EXPECT_TRUE(copy.IsEmpty());

    // Lists of different tables: equal when their samples are, although
    // the same samples sit at other places of the other table.
    const auto table = std::make_shared<CSampleIdentities>();
    table->Intern(Sample(9, 0));
    CPointSamples same(table);
    same.Add(Sample(1, -10));
    same.Add(Sample(2, -20));
    ASSERT_NE(same.IdentityAt(0), original.IdentityAt(0));
    EXPECT_TRUE(same == original);
    EXPECT_FALSE((CPointSamples{Sample(1, -10), Sample(2, -21)}) == original);
    EXPECT_FALSE((CPointSamples{Sample(1, -10), Sample(3, -20)}) == original);
    EXPECT_FALSE((CPointSamples{Sample(1, -10)}) == original);
}

// Past the first segments of the table: each identity stays where it was
// put while later ones are added.
TEST(PointSamples, ManyIdentitiesKeepTheirPlaces) {
    CSampleIdentities table;
    std::vector<const CDataSsd*> places;
    for (int i = 0; i < 5000; ++i) {
        CDataSsd s = Sample(static_cast<std::uint8_t>(i), 0, 0, i / 256);
        ASSERT_EQ(table.Intern(s), static_cast<std::uint32_t>(i));
        places.push_back(&table.At(static_cast<std::uint32_t>(i)));
    }
    for (int i = 0; i < 5000; ++i) {
        EXPECT_EQ(&table.At(static_cast<std::uint32_t>(i)), places[static_cast<std::size_t>(i)]);
        EXPECT_EQ(table.At(static_cast<std::uint32_t>(i)).channel, i / 256);
        EXPECT_EQ(table.Intern(Sample(static_cast<std::uint8_t>(i), 7, 7, i / 256)),
                  static_cast<std::uint32_t>(i));
    }
}

// Lists that share a table may be filled on several threads at once while
// another reads what was there before.
TEST(PointSamples, ThreadsShareATable) {
    const auto table = std::make_shared<CSampleIdentities>();
    CPointSamples before(table);
    for (int i = 0; i < 100; ++i)
        before.Add(Sample(static_cast<std::uint8_t>(i), static_cast<std::int16_t>(i)));
    const std::vector<CDataSsd> expected = Values(before);

    std::vector<CPointSamples> lists(3, CPointSamples(table));
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 3000; ++i)
                lists[static_cast<std::size_t>(t)].Add(Sample(
                    static_cast<std::uint8_t>(i % 200), static_cast<std::int16_t>(t), 0, i / 200));
        });
    bool readsRight = true;
    for (int round = 0; round < 50; ++round)
        readsRight = readsRight && Values(before) == expected;
    for (std::thread& t : threads)
        t.join();
    EXPECT_TRUE(readsRight);
    for (int t = 0; t < 3; ++t)
        for (int i = 0; i < 3000; ++i)
            ASSERT_EQ(lists[static_cast<std::size_t>(t)][i],
                      Sample(static_cast<std::uint8_t>(i % 200), static_cast<std::int16_t>(t), 0,
                             i / 200));
    // 100 from before, and 15 channels x 200 MACs, of which the first 100
    // on channel 0 were there already.
    EXPECT_EQ(table->Size(), 100u + 15u * 200u - 100u);
}

} // namespace
} // namespace tarvo
