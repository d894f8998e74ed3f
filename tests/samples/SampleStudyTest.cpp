#include "samples/SampleStudy.h"

#include "analysis/Coordinates.h"
#include "formats/SsdReader.h"
#include "model/Text.h"
#include "samples/SampleStudyOpen.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace tarvo {
namespace {

// A study written to a folder and read back through the program's readers,
// its locations as the survey files hold them.
struct CLoaded {
    test::CTempDir dir;
    CTarvoAnalyzerDoc doc;
    test::CFakeUi ui;

    explicit CLoaded(const CSampleStudy& study) {
        std::string error;
        EXPECT_TRUE(OpenSampleStudy(doc, study, dir.Path().string(), false, ui, error)) << error;
        EXPECT_TRUE(LoadSelectedFiles(doc, ui));
        for (std::size_t i = 0; i < study.walks.size(); ++i) {
            EXPECT_EQ(test::ReadBytes(dir.File(study.walks[i].fileName)), study.walks[i].bytes);
            EXPECT_EQ(doc.files[static_cast<int>(i)].pointCount, study.walks[i].locations);
        }
        EXPECT_TRUE(ui.messages.empty());
    }
};

TEST(SampleStudy, OfficeIsALinearPlanWhoseApsAreHeardOnBothWalks) {
    const auto study = GenerateSampleStudy("office", 7);
    ASSERT_TRUE(study);
    CLoaded l(*study);
    EXPECT_EQ(test::ReadText(l.dir.File("truth.json")), study->TruthJson());
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

TEST(SampleStudy, SeedsAndScenarios) {
    const auto a = GenerateSampleStudy("office", 5), b = GenerateSampleStudy("office", 5);
    const auto c = GenerateSampleStudy("office", 6);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->walks[0].bytes, b->walks[0].bytes);
    EXPECT_EQ(a->TruthJson(), b->TruthJson());
    EXPECT_NE(a->walks[0].bytes, c->walks[0].bytes);
    EXPECT_FALSE(GenerateSampleStudy("mall", 1));
}

} // namespace
} // namespace tarvo
