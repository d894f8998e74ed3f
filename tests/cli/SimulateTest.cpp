#include "cli/SampleStudy.h"

#include "analysis/Coordinates.h"
#include "analysis/ProjectionOpen.h"
#include "cli/ToolRunner.h"
#include "formats/ProjectionReader.h"
#include "formats/SsdReader.h"
#include "model/Text.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace tarvo {
namespace {

using test::RunTarvo;

// Loads a study's files through the program's own readers.
struct CLoaded {
    CTarvoAnalyzerDoc doc;
    test::CFakeUi ui;
};

void Load(CLoaded& l, const std::string& dir, const CSampleStudy& study) {
    ASSERT_TRUE(OpenProjectionFile(l.doc, dir + "/" + study.projectionFileName, l.ui));
    for (const CSimulatedWalk& w : study.walks) {
        CDataFile entry;
        entry.path = dir + "/" + w.fileName;
        entry.title = w.fileName;
        const int index = l.doc.files.Add(entry);
        ASSERT_TRUE(OpenAndReadSurveyFile(l.doc, index, l.ui)) << w.fileName;
        EXPECT_EQ(l.doc.files[index].pointCount, w.locations);
    }
    EXPECT_TRUE(l.ui.messages.empty());
}

TEST(Simulate, OfficeStudyReadsBackThroughTheReaders) {
    test::CTempDir dir;
    const auto r =
        RunTarvo({"simulate", "--scenario", "office", "--out", dir.Path().string(), "--seed", "7"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto study = GenerateSampleStudy("office", 7);
    ASSERT_TRUE(study);
    // The command wrote exactly what the generator makes for that seed.
    EXPECT_EQ(test::ReadBytes(dir.File("office.lpf")), study->projectionBytes);
    EXPECT_EQ(test::ReadBytes(dir.File("walk2.ssd")), study->walks[1].bytes);
    const auto truth = test::ReadBytes(dir.File("truth.json"));
    EXPECT_EQ(std::string(truth.begin(), truth.end()), study->TruthJson());

    CLoaded l;
    Load(l, dir.Path().string(), *study);
    const CTarvoAnalyzerDoc& doc = l.doc;
    EXPECT_EQ(doc.projectionKind, kProjectionLinear);
    EXPECT_EQ(doc.projectionSubtype, 1);
    EXPECT_EQ(doc.ImageWidth, 1200);
    EXPECT_EQ(doc.ImageHeight, 800);
    EXPECT_DOUBLE_EQ(doc.MapExtentWidth, 60.0);
    EXPECT_DOUBLE_EQ(doc.MapExtentHeight, 40.0);
    EXPECT_EQ(doc.mapBytes, study->bitmap);
    EXPECT_EQ(study->walks.size(), 2u);
    EXPECT_EQ(doc.points.GetSize(), 900);
    EXPECT_TRUE(doc.linearPointsPresent);
    EXPECT_FALSE(doc.gpsPointsPresent);

    // 8 APs on channels 1/6/11/36/44, every one heard on both walks.
    ASSERT_EQ(study->aps.size(), 8u);
    std::map<std::string, std::array<int, 2>> heard;
    int firstWalkPoints = doc.files[0].pointCount;
    for (int i = 0; i < doc.points.GetSize(); ++i)
        for (const CDataSsd& s : doc.points[i].samples)
            ++heard[MacText(s.bssid)][i < firstWalkPoints ? 0 : 1];
    for (const CSimulatedAp& ap : study->aps) {
        EXPECT_GT(heard[MacText(ap.mac)][0], 20) << MacText(ap.mac);
        EXPECT_GT(heard[MacText(ap.mac)][1], 20) << MacText(ap.mac);
        EXPECT_TRUE(ap.channel == 1 || ap.channel == 6 || ap.channel == 11 || ap.channel == 36 ||
                    ap.channel == 44);
        EXPECT_GE(ap.y, 0.0);
        EXPECT_LE(ap.y, 40.0);
        EXPECT_LT(ap.slope, 0.0);
    }

    // Marked APs and interference sources, converted as a linear survey's
    // markers are (row from the top), land where the truth puts them.
    ASSERT_EQ(doc.markers.GetSize(), static_cast<int>(study->markedAps.size()));
    ASSERT_EQ(doc.sources.GetSize(), 2);
    for (int i = 0; i < doc.markers.GetSize(); ++i) {
        const double y = doc.ImageHeight * doc.SiteScaleY - doc.markers[i].y * doc.SiteScaleY;
        const double x = doc.markers[i].x * doc.SiteScaleX;
        EXPECT_NEAR(y, study->markedAps[static_cast<std::size_t>(i)].y, 0.05);
        EXPECT_NEAR(x, study->markedAps[static_cast<std::size_t>(i)].x, 0.05);
        EXPECT_EQ(doc.markers[i].bssid, study->markedAps[static_cast<std::size_t>(i)].mac);
    }
    EXPECT_EQ(doc.sources[0].frequency, "2450 MHz");
    EXPECT_EQ(doc.sources[0].bandwidth, "20 MHz");
}

// The samples follow the stated model: near an AP (where the sensitivity
// cut-off does not bite) the residuals from intercept + slope * log10(d)
// have mean about 0 and spread about sigma.
TEST(Simulate, SamplesFollowTheLogDistanceModel) {
    const auto study = GenerateSampleStudy("office", 3);
    ASSERT_TRUE(study);
    CTarvoAnalyzerDoc doc;
    doc.files.Add(CDataFile{});
    test::CFakeUi ui;
    ASSERT_TRUE(ReadSurveyFile(doc, study->walks[0].bytes, 0, ui));
    const double sx = study->scaleX, sy = study->scaleY;
    int checked = 0;
    for (const CSimulatedAp& ap : study->aps) {
        double sum = 0, sumSq = 0;
        int n = 0;
        for (const CDataPoint& p : doc.points) {
            const double x = p.pixelX * sx, y = study->heightPx * sy - p.pixelY * sy;
            const double d = std::hypot(y - ap.y, x - ap.x);
            if (d < 2.0 || d > 12.0)
                continue;
            for (const CDataSsd& s : p.samples) {
                if (s.bssid != ap.mac)
                    continue;
                const double r = s.RssiDbm() - (ap.interceptDbm + ap.slope * std::log10(d));
                sum += r;
                sumSq += r * r;
                ++n;
                EXPECT_LT(s.level2, -90);
                EXPECT_GT(s.level2, -103);
            }
        }
        if (n < 30)
            continue; // an AP the first walk passes only far away
        ++checked;
        const double mean = sum / n;
        const double sd = std::sqrt(sumSq / n - mean * mean);
        EXPECT_NEAR(mean, 0.0, 1.5) << MacText(ap.mac);
        EXPECT_NEAR(sd, ap.sigmaDb, 0.4 * ap.sigmaDb + 0.5) << MacText(ap.mac);
    }
    EXPECT_GE(checked, 3);
}

TEST(Simulate, CampusIsAGeoReferencedSiteInSiteMetres) {
    test::CTempDir dir;
    const auto study = GenerateSampleStudy("campus", 1);
    ASSERT_TRUE(study);
    std::string error;
    ASSERT_TRUE(WriteSampleStudy(*study, dir.Path().string(), error)) << error;
    CLoaded l;
    Load(l, dir.Path().string(), *study);
    CTarvoAnalyzerDoc& doc = l.doc;
    EXPECT_EQ(doc.projectionKind, kProjectionGps);
    EXPECT_NEAR(doc.MapExtentWidth, 300.0, 0.01);
    EXPECT_NEAR(doc.MapExtentHeight, 200.0, 0.01);
    EXPECT_DOUBLE_EQ(doc.SiteScaleX, study->scaleX);
    EXPECT_DOUBLE_EQ(doc.SiteScaleY, study->scaleY);
    ASSERT_EQ(study->aps.size(), 20u);
    int band5 = 0;
    for (const CSimulatedAp& ap : study->aps)
        band5 += ap.channel > 14;
    EXPECT_GT(band5, 0);
    EXPECT_LT(band5, 20);

    // Fixes: mostly 3D, some 2D and some without a fix; altitude, speed,
    // date and time present.
    int fix3 = 0, fix2 = 0, none = 0;
    for (const CDataPoint& p : doc.points) {
        fix3 += p.fix == 2;
        fix2 += p.fix == 1;
        none += p.fix == 0;
        EXPECT_EQ(p.kind, p.fix == 2 ? 0 : 1);
        if (p.fix == 2) {
            EXPECT_NEAR(p.altitude / 256.0, 18.0, 6.0);
            EXPECT_GT(p.speed, 0);
        } else {
            EXPECT_LE(p.altitude, -10000);
        }
        EXPECT_EQ(p.year, 2024 - 1980);
        // Every position lies on the site, GPS noise aside.
        double y = 0, x = 0;
        TransformPoint(doc, true, p.northing / 3600000.0, p.easting / 3600000.0, y, x, l.ui);
        EXPECT_GT(y, -20.0);
        EXPECT_LT(y, 220.0);
        EXPECT_GT(x, -20.0);
        EXPECT_LT(x, 320.0);
    }
    EXPECT_GT(fix3, 1500);
    EXPECT_GT(fix2, 50);
    EXPECT_GT(none, 20);

    // Marked APs: the stored latitude/longitude come back to the truth's
    // site metres through the forward transform.
    ASSERT_EQ(doc.markers.GetSize(), 3);
    for (int i = 0; i < 3; ++i) {
        const auto lat = static_cast<std::int32_t>(static_cast<std::uint32_t>(doc.markers[i].y));
        const auto lon = static_cast<std::int32_t>(static_cast<std::uint32_t>(doc.markers[i].x));
        double y = 0, x = 0;
        TransformPoint(doc, true, lat / 3600000.0, lon / 3600000.0, y, x, l.ui);
        EXPECT_NEAR(y, study->markedAps[static_cast<std::size_t>(i)].y, 0.05);
        EXPECT_NEAR(x, study->markedAps[static_cast<std::size_t>(i)].x, 0.05);
    }
}

TEST(Simulate, SameSeedSameBytesOtherSeedOtherWalks) {
    const auto a = GenerateSampleStudy("office", 5);
    const auto b = GenerateSampleStudy("office", 5);
    const auto c = GenerateSampleStudy("office", 6);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->walks[0].bytes, b->walks[0].bytes);
    EXPECT_EQ(a->TruthJson(), b->TruthJson());
    EXPECT_NE(a->walks[0].bytes, c->walks[0].bytes);
    EXPECT_FALSE(GenerateSampleStudy("mall", 1));
}

TEST(Simulate, LargeScenarioIsBigEnoughForBenchmarks) {
    const auto study = GenerateSampleStudy("large", 1);
    ASSERT_TRUE(study);
    EXPECT_GE(study->aps.size(), 100u);
    int locations = 0;
    for (const CSimulatedWalk& w : study->walks)
        locations += w.locations;
    EXPECT_GE(locations, 20000);
}

TEST(Simulate, UsageErrors) {
    EXPECT_EQ(RunTarvo({"simulate", "--out", "x"}).status, 2);
    EXPECT_EQ(RunTarvo({"simulate", "--scenario", "office"}).status, 2);
    EXPECT_EQ(RunTarvo({"simulate", "--scenario", "mall", "--out", "x"}).status, 2);
    EXPECT_EQ(RunTarvo({"simulate", "--scenario", "office", "--out", "x", "--seed", "z"}).status,
              2);
}

class MapCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto r = RunTarvo({"simulate", "--scenario", "campus", "--out", dir.Path().string()});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    test::CTempDir dir;
};

TEST_F(MapCommandTest, WritesTheDecodedBitmap) {
    const auto r = RunTarvo({"map", dir.File("campus.gpf"), "--out", dir.File("map.bmp")});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto study = GenerateSampleStudy("campus", 1);
    EXPECT_EQ(test::ReadBytes(dir.File("map.bmp")), study->bitmap);
    EXPECT_EQ(RunTarvo({"map", dir.File("campus.gpf")}).status, 2);
}

TEST_F(MapCommandTest, InfoReportsProjectionFiles) {
    auto r = RunTarvo({"info", dir.File("campus.gpf"), dir.File("walk1.ssd")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("projection:     GPS, subtype 0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("image:          600 x 400 pixels"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("200.000 x 300.000 m (height x width)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("linear 0)"), std::string::npos) << r.out; // the survey section

    r = RunTarvo({"info", "--json", dir.File("campus.gpf")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"kind\":\"projection\",\"projection\":\"GPS\",\"subtype\":0"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"width\":600,\"height\":400"), std::string::npos) << r.out;
}

TEST_F(MapCommandTest, DamagedProjectionIsReported) {
    auto bytes = test::ReadBytes(dir.File("campus.gpf"));
    bytes.resize(2000);
    const std::string bad = dir.Write("cut.lpf", bytes);
    auto r = RunTarvo({"info", bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Invalid File: File is not recognized as a projection file.\n");
    r = RunTarvo({"map", bad, "--out", dir.File("cut.bmp")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Invalid File: File is not recognized as a projection file.\n");
}

} // namespace
} // namespace tarvo
