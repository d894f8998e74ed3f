#include "analysis/SampleSets.h"
#include "analysis/Coordinates.h"
#include "model/Text.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The no-signal samples written out plainly: every one appended to a copy
// of the AP's samples, each place checked against the whole list.
std::vector<CData> PlainNoSignalThinning(const std::vector<CDataPoint>& points, const CAPInfo& ap) {
    std::vector<CData> all(ap.samples.begin(), ap.samples.end());
    for (const CDataPoint& p : points) {
        const double y = p.northing / 100.0, x = p.easting / 100.0;
        if (!(y - ap.origin[0] >= 0 && y - ap.origin[0] <= ap.extent[0] && x - ap.origin[1] >= 0 &&
              x - ap.origin[1] <= ap.extent[1]))
            continue;
        bool near = false;
        for (const CData& s : all)
            near = near || std::fabs(s.y - y) + std::fabs(s.x - x) < 0.1;
        if (!near)
            all.push_back({y, x, -100.0, 0});
    }
    return PlainThinning(all, ap.frequency);
}

// APs heard at a few places of a large walk, so that places that did not
// hear them are most of what is thinned; the walk revisits places, some
// within the spacing of a sample and some exactly on one.
TEST(SampleSetsTest, NoSignalSamplesMatchThePlainListOnLargeWalks) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> cm(-3000, 3000), jitter(-12, 12), pick(0, 1999);
    std::uniform_int_distribution<int> rssi(-95, -35);
    std::vector<CDataPoint> points;
    for (int i = 0; i < 2000; ++i) {
        const CDataPoint& back = points.empty() ? CDataPoint{} : points.back();
        points.push_back(PointAtCm(i % 10 == 0 ? cm(random) : back.northing + 40 + jitter(random),
                                   i % 10 == 0 ? cm(random) : back.easting + jitter(random)));
    }
    std::size_t thinned = 0, silent = 0;
    for (int round = 0; round < 30; ++round) {
        CAPInfo ap;
        ap.frequency = round % 3 == 0 ? -1 : round % 3 == 1 ? 2437 : 5180;
        for (int k = 0; k < 3 + round; ++k) {
            const CDataPoint& p = points[static_cast<std::size_t>(pick(random))];
            const double dy = k % 4 == 1 ? 0.05 : 0.0; // beside a place, not on it
            ap.samples.Add({p.northing / 100.0 + dy, p.easting / 100.0, double(rssi(random)), k});
        }
        double minY = ap.samples[0].y, maxY = minY, minX = ap.samples[0].x, maxX = minX;
        for (const CData& d : ap.samples) {
            minY = std::min(minY, d.y);
            maxY = std::max(maxY, d.y);
            minX = std::min(minX, d.x);
            maxX = std::max(maxX, d.x);
        }
        ap.origin = {minY, minX};
        ap.extent = {maxY - minY, maxX - minX};
        const std::vector<CData> expected = PlainNoSignalThinning(points, ap);
        thinned += expected.size();
        silent += static_cast<std::size_t>(std::count_if(
            expected.begin(), expected.end(), [](const CData& d) { return d.rssi == -100.0; }));
        AddNoSignalSamples(points, ap);
        ASSERT_EQ(ap.filteredSamples.Vector(), expected) << "round " << round;
        EXPECT_EQ(ap.filteredSamples.Vector().capacity(), expected.size());
    }
    EXPECT_GT(silent, thinned * 3 / 4); // the places without signal are the bulk
}

// The grouping written out plainly: each sample's AP found by its MAC among
// the APs so far (this file's only, without merging).
void PlainApSampleSets(CTarvoAnalyzerDoc& doc) {
    doc.aps.RemoveAll();
    int nextPoint = 0, selected = 0;
    for (CDataFile& file : doc.files) {
        if (!file.selected)
            continue;
        ++selected;
        file.colour = NextColour(doc);
        const int firstAp = doc.aps.GetSize();
        const int end = std::min(doc.points.GetSize(), nextPoint + file.pointCount);
        for (int pi = nextPoint; pi < end; ++pi) {
            const CDataPoint& p = doc.points[pi];
            const double y = doc.ImageHeight * doc.SiteScaleY - p.pixelY * doc.SiteScaleY;
            const double x = p.pixelX * doc.SiteScaleX;
            for (const CDataSsd& s : p.samples) {
                int found = -1;
                for (int a = doc.MergeApsAcrossFiles ? 0 : firstAp; a < doc.aps.GetSize(); ++a)
                    if (doc.aps[a].bssid == s.bssid) {
                        found = a;
                        break;
                    }
                if (found < 0) {
                    CAPInfo ap;
                    ap.bssid = s.bssid;
                    ap.ssid = doc.MergeApsAcrossFiles || selected < 2
                                  ? s.ssid
                                  : SsidFromText(SsidText(s.ssid) + ": " + file.title);
                    ap.state = 1;
                    ap.colour = NextColour(doc);
                    ap.channel = s.channel;
                    ap.frequency = FrequencyForChannel(s.channel);
                    found = doc.aps.Add(ap);
                }
                doc.aps[found].samples.Add({y, x, s.rssi * 0.0625, s.level2});
            }
        }
        nextPoint = end;
    }
}

// Linear walks in three files (the second not selected, so not read), whose
// points come from a shared identity table, from tables of their own and,
// in the last file, from copies of the first file's points (the same
// identities, which must still make APs of their own without merging); an
// AP changes its SSID and channel on the way.
TEST(SampleSetsTest, ApSampleSetsMatchThePlainGrouping) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> mac(1, 12), pixel(0, 199), level(-99, -20);
    CTarvoAnalyzerDoc doc;
    doc.projectionKind = kProjectionLinear;
    doc.linearPointsPresent = true;
    doc.ImageHeight = doc.ImageWidth = 200;
    doc.SiteScaleX = doc.SiteScaleY = 0.5;
    const auto shared = std::make_shared<CSampleIdentities>();
    for (int f = 0; f < 3; ++f) {
        CDataFile file;
        file.title = "walk" + std::to_string(f) + ".ssd";
        file.selected = f == 1 ? 0 : 1;
        file.pointCount = 40;
        doc.files.Add(file);
        for (int i = 0; i < 40 && file.selected; ++i) { // a file not selected was not read
            CDataPoint p;
            p.kind = kProjectionLinear;
            p.pixelX = static_cast<std::uint16_t>(pixel(random));
            p.pixelY = static_cast<std::uint16_t>(pixel(random));
            if (f == 0)
                p.samples = CPointSamples(shared);
            for (int k = 0; k < 6; ++k) {
                CDataSsd s;
                s.bssid[5] = static_cast<std::uint8_t>(mac(random));
                s.channel = s.bssid[5] == 3 && i > 20 ? 11 : 1 + s.bssid[5];
                s.ssid = SsidFromText(s.bssid[5] == 3 && i > 30 ? "moved" : "net");
                s.rssi = static_cast<std::int16_t>(level(random) * 16 + k);
                s.level2 = static_cast<std::int16_t>(-k);
                p.samples.Add(s);
            }
            doc.points.Add(f == 2 && i < 20 ? doc.points[i] : p); // copies share tables
        }
    }
    for (bool merge : {true, false}) {
        CTarvoAnalyzerDoc expected = doc;
        expected.MergeApsAcrossFiles = merge;
        PlainApSampleSets(expected);
        test::CFakeUi ui;
        ConvertLoadedPositions(expected, ui);
        CTarvoAnalyzerDoc built = doc;
        built.MergeApsAcrossFiles = merge;
        BuildApSampleSets(built, ui);
        ASSERT_EQ(built.aps.GetSize(), expected.aps.GetSize()) << merge;
        EXPECT_EQ(built.aps.GetSize(), merge ? 12 : 24);
        EXPECT_EQ(built.aps, expected.aps) << merge;
        EXPECT_EQ(built.files, expected.files) << merge;
        EXPECT_EQ(built.colourSeed, expected.colourSeed) << merge;
        for (const CAPInfo& ap : built.aps)
            EXPECT_EQ(ap.samples.Vector().capacity(), ap.samples.Vector().size());
    }
}

} // namespace
} // namespace tarvo
