#include "samples/SampleStudy.h"

#include "analysis/Coordinates.h"
#include "analysis/ProjectionOpen.h"
#include "formats/SsdReader.h"
#include "model/Text.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace tarvo {
namespace {

// A study written to a folder and read back through the program's readers.
struct CLoaded {
    test::CTempDir dir;
    CTarvoAnalyzerDoc doc;
    test::CFakeUi ui;

    explicit CLoaded(const CSampleStudy& study) {
        std::string error;
        EXPECT_TRUE(WriteSampleStudy(study, dir.Path().string(), error)) << error;
        EXPECT_TRUE(OpenProjectionFile(doc, dir.File(study.projectionFileName), ui));
        for (const CSimulatedWalk& w : study.walks) {
            EXPECT_EQ(test::ReadBytes(dir.File(w.fileName)), w.bytes);
            CDataFile file;
            file.title = w.fileName;
            file.path = dir.File(w.fileName);
            const int index = doc.files.Add(file);
            EXPECT_TRUE(OpenAndReadSurveyFile(doc, index, ui)) << w.fileName;
            EXPECT_EQ(doc.files[index].pointCount, w.locations);
        }
        EXPECT_TRUE(ui.messages.empty());
    }
};

TEST(SampleStudy, OfficeIsALinearPlanWhoseApsAreHeardOnBothWalks) {
    const auto study = GenerateSampleStudy("office", 7);
    ASSERT_TRUE(study);
    CLoaded l(*study);
    const auto truth = test::ReadBytes(l.dir.File("truth.json"));
    EXPECT_EQ(std::string(truth.begin(), truth.end()), study->TruthJson());
    const CTarvoAnalyzerDoc& doc = l.doc;
    EXPECT_EQ(doc.projectionKind, kProjectionLinear);
    EXPECT_DOUBLE_EQ(doc.MapExtentWidth, 60.0);
    EXPECT_DOUBLE_EQ(doc.MapExtentHeight, 40.0);
    EXPECT_EQ(doc.mapBytes, study->bitmap);
    EXPECT_EQ(doc.points.GetSize(), 900);

    ASSERT_EQ(study->aps.size(), 8u);
    std::map<MacAddress, std::array<int, 2>> heard;
    for (int i = 0; i < doc.points.GetSize(); ++i)
        for (const CDataSsd& s : doc.points[i].samples)
            ++heard[s.bssid][i < doc.files[0].pointCount ? 0 : 1];
    for (const CSimulatedAp& ap : study->aps) {
        EXPECT_GT(heard[ap.mac][0], 20) << MacText(ap.mac);
        EXPECT_GT(heard[ap.mac][1], 20) << MacText(ap.mac);
    }
    // Marked APs, converted as a linear survey's markers are (row from the
    // top), land where the truth puts them.
    ASSERT_EQ(doc.markers.GetSize(), static_cast<int>(study->markedAps.size()));
    for (int i = 0; i < doc.markers.GetSize(); ++i) {
        const auto& truthMarker = study->markedAps[static_cast<std::size_t>(i)];
        EXPECT_NEAR((doc.ImageHeight - doc.markers[i].y) * doc.SiteScaleY, truthMarker.y, 0.05);
        EXPECT_NEAR(doc.markers[i].x * doc.SiteScaleX, truthMarker.x, 0.05);
    }
    EXPECT_EQ(doc.sources.GetSize(), 2);
}

// Near an AP (where the sensitivity cut-off does not bite) the residuals
// from intercept + slope * log10(d) have mean about 0 and spread about sigma.
TEST(SampleStudy, SamplesFollowTheLogDistanceModel) {
    const auto study = GenerateSampleStudy("office", 3);
    ASSERT_TRUE(study);
    CTarvoAnalyzerDoc doc;
    doc.files.Add(CDataFile{});
    test::CFakeUi ui;
    ASSERT_TRUE(ReadSurveyFile(doc, study->walks[0].bytes, 0, ui));
    int checked = 0;
    for (const CSimulatedAp& ap : study->aps) {
        double sum = 0, sumSq = 0;
        int n = 0;
        for (const CDataPoint& p : doc.points) {
            const double x = p.pixelX * study->scaleX;
            const double y = (study->heightPx - p.pixelY) * study->scaleY;
            const double d = std::hypot(y - ap.y, x - ap.x);
            for (const CDataSsd& s : p.samples)
                if (s.bssid == ap.mac && d >= 2.0 && d <= 12.0) {
                    const double r = s.RssiDbm() - (ap.interceptDbm + ap.slope * std::log10(d));
                    sum += r;
                    sumSq += r * r;
                    ++n;
                }
        }
        if (n < 30)
            continue; // an AP the first walk passes only far away
        ++checked;
        const double mean = sum / n;
        EXPECT_NEAR(mean, 0.0, 1.5) << MacText(ap.mac);
        EXPECT_NEAR(std::sqrt(sumSq / n - mean * mean), ap.sigmaDb, 0.4 * ap.sigmaDb + 0.5);
    }
    EXPECT_GE(checked, 3);
}

TEST(SampleStudy, CampusIsAGeoReferencedSiteInSiteMetres) {
    const auto study = GenerateSampleStudy("campus", 1);
    ASSERT_TRUE(study);
    CLoaded l(*study);
    CTarvoAnalyzerDoc& doc = l.doc;
    EXPECT_EQ(doc.projectionKind, kProjectionGps);
    EXPECT_NEAR(doc.MapExtentWidth, 300.0, 0.01);
    EXPECT_DOUBLE_EQ(doc.SiteScaleX, study->scaleX);
    int fixes[3] = {0, 0, 0}; // none, 2D, 3D: all present
    for (const CDataPoint& p : doc.points) {
        ++fixes[std::min<int>(p.fix, 2)];
        double y = 0, x = 0; // every position on the site, GPS noise aside
        TransformPoint(doc, true, p.northing / 3600000.0, p.easting / 3600000.0, y, x, l.ui);
        EXPECT_TRUE(y > -20.0 && y < 220.0 && x > -20.0 && x < 320.0) << y << ", " << x;
    }
    EXPECT_TRUE(fixes[0] > 20 && fixes[1] > 50 && fixes[2] > 1500);
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

TEST(SampleStudy, SeedsScenariosAndSize) {
    const auto a = GenerateSampleStudy("office", 5), b = GenerateSampleStudy("office", 5);
    const auto c = GenerateSampleStudy("office", 6);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->walks[0].bytes, b->walks[0].bytes);
    EXPECT_EQ(a->TruthJson(), b->TruthJson());
    EXPECT_NE(a->walks[0].bytes, c->walks[0].bytes);
    EXPECT_FALSE(GenerateSampleStudy("mall", 1));
    const auto large = GenerateSampleStudy("large", 1);
    ASSERT_TRUE(large);
    EXPECT_GE(large->aps.size(), 100u);
    EXPECT_GE(large->walks[0].locations + large->walks[1].locations, 20000);
}

} // namespace
} // namespace tarvo
