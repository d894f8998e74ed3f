#include "analysis/Coordinates.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvo {
namespace {

using test::CFakeUi;

CDataPoint GpsPoint(double lat, double lon) {
    CDataPoint p;
    p.kind = 0;
    p.northing = static_cast<std::int32_t>(std::lround(lat * 3600000.0));
    p.easting = static_cast<std::int32_t>(std::lround(lon * 3600000.0));
    return p;
}

// The transforms themselves: typed coordinates through a projection
// (PointerTextsTest) and the opened projections (ProjectionOpenTest).
TEST(CoordinatesTest, SingularMatrixIsReportedAndLeavesResults) {
    CTarvoAnalyzerDoc doc;
    auto& m = doc.ProjectionMatrix;
    m[0][0] = 2.0;
    m[0][1] = 4.0;
    m[1][0] = 1.0;
    m[1][1] = 2.0; // a*e == b*d
    CFakeUi ui;
    double lat = 7.0, lon = 8.0;
    TransformPoint(doc, false, 10.0, 20.0, lat, lon, ui);
    EXPECT_EQ(lat, 7.0);
    EXPECT_EQ(lon, 8.0);
    ASSERT_EQ(ui.Said(), "Error: Invalid Transformation Matrix");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
}

TEST(CoordinatesTest, SyntheticProjectionWidensASingleLatitude) {
    CTarvoAnalyzerDoc doc;
    doc.gpsPointsPresent = true;
    doc.points.Add(GpsPoint(45.0, 7.0));
    doc.points.Add(GpsPoint(45.0, 7.01));
    CGeoBox box;
    ASSERT_TRUE(GpsPointBox(doc, box));
    EXPECT_NEAR(box.latMin, 45.0 - 5e-05, 1e-12);
    EXPECT_NEAR(box.latMax - box.latMin, 0.0001, 1e-12);

    ApplySyntheticProjection(doc);
    const double dEW = GreatCircleDistance(box.latMin, 7.0, box.latMin, 7.01);
    const double dNS = GreatCircleDistance(box.latMin, 7.0, box.latMax, 7.0);
    EXPECT_EQ(doc.ImageWidth, static_cast<int>(dEW));
    EXPECT_EQ(doc.ImageHeight, static_cast<int>(dNS));
    EXPECT_EQ(doc.SiteScaleX, 1.0);

    CFakeUi ui;
    ConvertLoadedPositions(doc, ui);
    // X is metres east of the western point; Y is H minus metres north.
    EXPECT_EQ(doc.points[0].easting, 0);
    EXPECT_NEAR(doc.points[1].easting / 100.0, dEW, 0.011);
    EXPECT_NEAR(doc.points[0].northing / 100.0, doc.ImageHeight - dNS / 2.0, 0.02);
    // The data box is spanned by the widened corners: Y runs downwards here.
    EXPECT_NEAR(doc.DataExtent.minY, doc.ImageHeight, 1e-6);
    EXPECT_NEAR(doc.DataExtent.extentY, -dNS, 1e-6);
    EXPECT_NEAR(doc.DataExtent.extentX, dEW, 1e-6);
    EXPECT_EQ(doc.AnalysisBox, doc.DataExtent);
}

TEST(CoordinatesTest, LinearPositionsRunUpFromTheMapsBottomInCentimetres) {
    CTarvoAnalyzerDoc doc;
    doc.linearPointsPresent = true;
    doc.ImageHeight = 400;
    doc.SiteScaleX = 0.0233;
    doc.SiteScaleY = 0.05;
    CDataPoint p;
    p.kind = 2;
    doc.points.Add(p); // the top-left pixel: the top of the site
    p.pixelX = 3;      // 0.0699 m: 6 cm, not 7
    p.pixelY = 400;
    doc.points.Add(p);
    CISMarker source;
    source.y = 20.0; // row from the top
    source.x = 10.0;
    source.inSiteUnits = false;
    doc.sources.Add(source);
    CFakeUi ui;
    ConvertLoadedPositions(doc, ui);
    EXPECT_EQ(doc.points[0].easting, 0);
    EXPECT_EQ(doc.points[0].northing, 2000); // Y = H * sy = 20 m
    EXPECT_EQ(doc.points[1].easting, 6);
    EXPECT_EQ(doc.points[1].northing, 0);
    // The data box is taken before truncation.
    EXPECT_EQ(doc.DataExtent, (CBox{0.0, 0.0, 20.0, 3 * 0.0233}));
    EXPECT_DOUBLE_EQ(doc.sources[0].x, 10.0 * 0.0233);
    EXPECT_DOUBLE_EQ(doc.sources[0].y, 20.0 - 1.0);
}

class ViewExtentTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.processed = true;
        for (auto [y, x] : {std::pair{1000, 2000}, std::pair{3000, 6000}}) {
            CDataPoint p;
            p.northing = y;
            p.easting = x;
            doc.points.Add(p);
        }
    }
    CTarvoAnalyzerDoc doc;
};

TEST_F(ViewExtentTest, PointBoxWithoutMapAndNothingBeforeProcessing) {
    doc.view.zoomLeft = 0.3;
    ComputeViewExtent(doc, 100, 100);
    EXPECT_EQ(doc.AnalysisBox, (CBox{10, 20, 20, 40}));
    EXPECT_EQ(doc.ViewWindow, (CBox{10, 20, 20, 40}));
    EXPECT_EQ(doc.view.zoomLeft, 0.0);

    doc.processed = false;
    doc.ViewWindow = {1, 2, 3, 4};
    ComputeViewExtent(doc, 100, 100);
    EXPECT_EQ(doc.ViewWindow, (CBox{1, 2, 3, 4}));
}

TEST_F(ViewExtentTest, ShowMapWidensToTheMapAddsAMarginAndFitsTheAspect) {
    doc.mapLoaded = true;
    doc.view.showMap = true;
    doc.MapExtentWidth = 50;
    doc.MapExtentHeight = 25;
    ComputeViewExtent(doc, 200, 100);
    EXPECT_EQ(doc.AnalysisBox, (CBox{10, 20, 20, 40}));
    // Working box [0,60] x [0,30]; margin: min -6/-3, extent 72 x 36.
    // kx = 72/200 = 0.36, ky = 36/100 = 0.36: kx <= ky, the X axis is refitted
    // to the same size.
    EXPECT_DOUBLE_EQ(doc.ViewWindow.minY, -3.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentY, 36.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.minX, -6.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentX, 72.0);

    ComputeViewExtent(doc, 100, 100); // kx = 0.72 > ky = 0.36: Y grows
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentY, 72.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.minY, -3.0 - (0.72 / 0.36 - 1.0) * 36.0 * 0.5);
}

TEST_F(ViewExtentTest, SelectedApBoxesAreUnited) {
    CAPInfo a, b, c;
    a.selected = b.selected = 1;
    a.origin = {0.0, 5.0};
    a.extent = {10.0, 10.0};
    b.origin = {-5.0, 20.0};
    b.extent = {8.0, 2.0};
    c.origin = {-100.0, -100.0}; // not selected
    c.extent = {1.0, 1.0};
    doc.aps.Add(a);
    doc.aps.Add(b);
    doc.aps.Add(c);
    ComputeViewExtent(doc, 100, 100);
    EXPECT_EQ(doc.AnalysisBox, (CBox{-5.0, 5.0, 15.0, 17.0}));

    // A single location still gives a usable window.
    doc.aps.RemoveAll();
    doc.points.SetSize(1);
    doc.DataExtent = {10, 20, 0, 0};
    ComputeViewExtent(doc, 100, 100);
    EXPECT_GT(doc.ViewWindow.extentX, 0.0);
    EXPECT_GT(doc.ViewWindow.extentY, 0.0);
}

TEST(UnitTextTest, DistancesAndPositions) {
    EXPECT_EQ(FormatDistance(30.48, true), "d = 100.00 Ft");
    EXPECT_EQ(FormatDistance(3218.688, true), "d =  2.00 Miles");
    EXPECT_EQ(FormatDistance(1000.0, false), "d = 1000.00 m");
    EXPECT_EQ(FormatDistance(1500.0, false), "d =  1.50 KM");
    EXPECT_EQ(FormatSitePosition(3.048, 0.0, true), "X(Ft) = 10.000, Y(Ft) = 0.000 \n");
    EXPECT_EQ(FormatSitePosition(1.5, 2.25, false), "X(m) = 1.500, Y(m) = 2.250 \n");
    EXPECT_EQ(FormatDegrees(-122.5), "-122.500000");
}

} // namespace
} // namespace tarvo
