#include "analysis/SampleSets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace tarvo {
namespace {

TEST(SampleSetsTest, ChannelPlan) {
    // 5 GHz: every channel number 32..177 at 5000 + 5 n MHz, the DFS
    // channels 52..144 and 165 included.
    const std::pair<int, int> plan[] = {{1, 2412},   {13, 2472},  {14, 2484},  {32, 5160},
                                        {36, 5180},  {38, 5190},  {100, 5500}, {144, 5720},
                                        {149, 5745}, {161, 5805}, {165, 5825}, {177, 5885}};
    for (auto [channel, mhz] : plan)
        EXPECT_EQ(FrequencyForChannel(channel), mhz) << channel;
    for (int outside : {0, -6, 15, 31, 178, 200, 2412})
        EXPECT_EQ(FrequencyForChannel(outside), -1) << outside;
}

TEST(SampleSetsTest, ColourSeedAndHueWheel) {
    // 122 -> 174: sector 4, f 6: up = (256 - 192) * 176 / 256 = 44.
    EXPECT_EQ(NextColourSeed(122), 174);
    EXPECT_EQ(HueWheelColour(174), MakeRgb(44, 22, 176));
    // 174 -> 226: sector 5, f 16: down = (256 - 85) * 176 / 256 = 117.
    EXPECT_EQ(NextColourSeed(174), 226);
    EXPECT_EQ(HueWheelColour(226), MakeRgb(176, 22, 117));
    // 226 -> 26: sector 0, f 26: up = (256 - 85) * 176 / 256 = 117 (the
    // negative quotient truncates toward zero: -3584 / 42 = -85).
    EXPECT_EQ(NextColourSeed(226), 26);
    EXPECT_EQ(HueWheelColour(26), MakeRgb(176, 117, 22));
    // 0 and everything outside 0..251: (176, 22, 22).
    EXPECT_EQ(HueWheelColour(0), MakeRgb(176, 22, 22));
    EXPECT_EQ(HueWheelColour(252), MakeRgb(176, 22, 22));
    EXPECT_EQ(HueWheelColour(-5), MakeRgb(176, 22, 22));
    EXPECT_EQ(HueWheelColour(100), MakeRgb(22, 176, 81)); // sector 2, f 16: up 81
    CTarvoAnalyzerDoc doc;
    EXPECT_EQ(NextColour(doc), MakeRgb(44, 22, 176));
    EXPECT_EQ(doc.colourSeed, 174);
}

TEST(SampleSetsTest, ThinningAveragesRunsAndMergesNearPoints) {
    // Along X at 2437 MHz (window 1.231 m): 0, 0.5, 1.0 form a run that the
    // sample at 1.5 ends; it averages to x = (0 + 1.5) / 2 at -50 dBm with
    // level2 -7 / 3 = -2 (toward zero). The run 1.5, 2.0 ends with the list
    // at x = 1.75, -75 dBm, level2 -6. Pass 2 merges the two points 1.0 m
    // apart: at the first, -62.5 dBm, level2 (-2 - 6) / 2 = -4.
    const std::vector<CData> walk{{0, 0.0, -40, -1},
                                  {0, 0.5, -50, -2},
                                  {0, 1.0, -60, -4},
                                  {0, 1.5, -70, -5},
                                  {0, 2.0, -80, -7}};
    const std::vector<CData> out = ThinSampleList(walk, 2437);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], (CData{0, 0.75, -62.5, -4}));

    // With points 2 m apart nothing merges in pass 2.
    const std::vector<CData> far{{0, 0, -40, 0}, {0, 2, -50, 0}, {0, 4, -60, 0}};
    EXPECT_EQ(ThinSampleList(far, 2437), far);
}

TEST(SampleSetsTest, ThinningEdges) {
    // dl = 0 is not above the minimum: the second sample is dropped, so the
    // group keeps one sample and its RSSI is not averaged.
    const std::vector<CData> same{{3, 4, -50, 1}, {3, 4, -70, 9}};
    EXPECT_EQ(ThinSampleList(same, 2437), (std::vector<CData>{{3, 4, -50, 1}}));
    EXPECT_TRUE(ThinSampleList({}, 2437).empty());
    // Frequency -1 read unsigned: both distances are below a micrometre, so
    // 1 mm apart is two points where 2437 MHz would merge them.
    const std::vector<CData> walk{{0, 0, -40, 0}, {0, 0.001, -50, 0}, {0, 0.001, -60, 0}};
    EXPECT_EQ(ThinSampleList(walk, -1), (std::vector<CData>{{0, 0, -40, 0}, {0, 0.001, -50, 0}}));
    EXPECT_EQ(ThinSampleList(walk, 2437).size(), 1u);
}

// Both passes written out plainly, each point compared with every later one.
std::vector<CData> PlainThinning(const std::vector<CData>& s, std::int32_t frequency) {
    const double f = static_cast<double>(static_cast<std::uint32_t>(frequency));
    const double win = 3000.0 / f, dmin = 114.0 / f;
    auto dist = [](const CData& a, const CData& b) {
        return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y));
    };
    std::vector<CData> p1;
    CData start = s[0], last = s[0];
    double sum = s[0].rssi;
    long long lsum = s[0].level2, count = 1;
    auto emit = [&](const CData& end) {
        CData o = start;
        if (count > 1) {
            o.y = (start.y + end.y) / 2.0;
            o.x = (start.x + end.x) / 2.0;
        }
        o.rssi = sum / static_cast<double>(count);
        o.level2 = static_cast<int>(lsum / count);
        p1.push_back(o);
    };
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (dist(start, s[i]) >= win) {
            emit(s[i]);
            start = last = s[i];
            sum = s[i].rssi;
            lsum = s[i].level2;
            count = 1;
        } else if (dist(last, s[i]) > dmin) {
            sum += s[i].rssi;
            lsum += s[i].level2;
            ++count;
            last = s[i];
        }
    }
    emit(s.back());
    std::vector<CData> out;
    std::vector<bool> used(p1.size());
    for (std::size_t i = 0; i < p1.size(); ++i) {
        if (used[i])
            continue;
        used[i] = true;
        double rs = p1[i].rssi;
        long long ls = p1[i].level2, n = 1;
        for (std::size_t j = i + 1; j < p1.size(); ++j) {
            if (used[j])
                continue;
            const double d = dist(p1[i], p1[j]);
            if (d < win) {
                used[j] = true;
                if (d > dmin) {
                    rs += p1[j].rssi;
                    ls += p1[j].level2;
                    ++n;
                }
            }
        }
        out.push_back({p1[i].y, p1[i].x, rs / static_cast<double>(n), static_cast<int>(ls / n)});
    }
    return out;
}

TEST(SampleSetsTest, ThinningMatchesThePlainPassesOnRandomWalks) {
    std::mt19937 random(21);
    std::normal_distribution<double> step(0, 0.6);
    std::uniform_int_distribution<int> level(-99, -80), rssi(-95 * 16, -30 * 16);
    for (int round = 0; round < 40; ++round) {
        // A wandering walk that crosses its own path, with repeated places.
        std::vector<CData> walk;
        double y = 0, x = 0;
        for (int i = 0; i < 600; ++i) {
            if (i % 7 != 3) {
                y += step(random);
                x += step(random);
            }
            if (i % 150 == 0)
                y = x = 0;
            walk.push_back({y, x, rssi(random) * 0.0625, level(random)});
        }
        for (std::int32_t frequency : {2412, 2437, 5180, -1}) {
            ASSERT_EQ(ThinSampleList(walk, frequency), PlainThinning(walk, frequency))
                << "round " << round << " at " << frequency;
        }
    }
}

CDataPoint PointAtCm(std::int32_t yCm, std::int32_t xCm) {
    CDataPoint p;
    p.northing = yCm;
    p.easting = xCm;
    return p;
}

TEST(SampleSetsTest, NoSignalSamplesFillGapsInsideTheBoxOnly) {
    CTarvoAnalyzerDoc doc;
    CAPInfo ap;
    ap.frequency = -1; // every distinct position stays a thinned point
    ap.samples.Add({0, 0, -40, 3});
    ap.samples.Add({1, 1, -50, 4});
    ap.origin = {0, 0};
    ap.extent = {1, 1};
    doc.aps.Add(ap);
    doc.points.Add(PointAtCm(5, 0));    // 0.05 m from a sample: nothing
    doc.points.Add(PointAtCm(10, 0));   // 0.1 m: a -100 dBm sample
    doc.points.Add(PointAtCm(50, 50));  // empty place: a sample
    doc.points.Add(PointAtCm(52, 52));  // 0.04 m from the one just added
    doc.points.Add(PointAtCm(100, 50)); // on the box edge: a sample
    doc.points.Add(PointAtCm(101, 50)); // outside the box
    doc.points.Add(PointAtCm(-1, 50));  // outside the box

    AddNoSignalSamples(doc.points.Vector(), doc.aps[0]);
    const CAPInfo& out = doc.aps[0];
    ASSERT_EQ(out.samples.GetSize(), 2);
    EXPECT_EQ(out.samples[1], (CData{1, 1, -50, 4}));
    const std::vector<CData> expected{
        {0, 0, -40, 3}, {1, 1, -50, 4}, {0.1, 0, -100, 0}, {0.5, 0.5, -100, 0}, {1, 0.5, -100, 0}};
    EXPECT_EQ(out.filteredSamples.Vector(), expected);
}

TEST(SampleSetsTest, NoSignalSamplesInfluenceTheThinnedAverage) {
    CTarvoAnalyzerDoc doc;
    CAPInfo ap;
    ap.frequency = 2437;
    ap.samples.Add({0, 0, -40, 0});
    ap.samples.Add({0, 0.5, -60, 0});
    ap.origin = {0, 0};
    ap.extent = {0, 0.5};
    doc.aps.Add(ap);
    doc.points.Add(PointAtCm(0, 25));
    AddNoSignalSamples(doc.points.Vector(), doc.aps[0]);
    // The walk 0 (-40), 0.5 (-60), then the added 0.25 (-100) is one run:
    // -200 / 3 at the midpoint of 0 and 0.25.
    ASSERT_EQ(doc.aps[0].filteredSamples.GetSize(), 1);
    EXPECT_EQ(doc.aps[0].filteredSamples[0], (CData{0, 0.125, -200.0 / 3.0, 0}));
    EXPECT_EQ(doc.aps[0].samples.GetSize(), 2);
}

} // namespace
} // namespace tarvo
