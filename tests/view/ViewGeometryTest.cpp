#include "view/ViewGeometry.h"

#include "analysis/Coordinates.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvo {
namespace {

using test::CFakeUi;

CTarvoAnalyzerDoc DocWithWindow(double minX, double minY, double extentX, double extentY) {
    CTarvoAnalyzerDoc doc;
    doc.ViewWindow = {minY, minX, extentY, extentX};
    return doc;
}

void ExpectWindow(const CMapViewState& v, double left, double right, double bottom, double top) {
    EXPECT_NEAR(v.zoomLeft, left, 1e-12);
    EXPECT_NEAR(v.zoomRight, right, 1e-12);
    EXPECT_NEAR(v.zoomBottom, bottom, 1e-12);
    EXPECT_NEAR(v.zoomTop, top, 1e-12);
}

TEST(ViewGeometry, SiteToClientMapsCornersAndZoomedWindow) {
    CTarvoAnalyzerDoc doc = DocWithWindow(10.0, 20.0, 100.0, 50.0);
    CVisibleRect r = VisibleRect(doc);
    // 101 x 51 pixels: one pixel per metre across, two metres per row down.
    CClientPoint p = SiteToClient(r, 10.0, 20.0, 101, 51);
    EXPECT_DOUBLE_EQ(p.px, 0.0);
    EXPECT_DOUBLE_EQ(p.py, 50.0);
    p = SiteToClient(r, 110.0, 70.0, 101, 51);
    EXPECT_DOUBLE_EQ(p.px, 100.0);
    EXPECT_DOUBLE_EQ(p.py, 0.0);
    double x = 0, y = 0;
    ClientToSite(r, 25.5, 25.0, 101, 51, x, y);
    EXPECT_DOUBLE_EQ(x, 35.5);
    EXPECT_DOUBLE_EQ(y, 45.0);

    // The middle half of the window in both directions.
    doc.view.zoomLeft = 0.25;
    doc.view.zoomRight = 0.75;
    doc.view.zoomBottom = 0.5;
    doc.view.zoomTop = 1.0;
    r = VisibleRect(doc);
    p = SiteToClient(r, 85.0, 45.0, 101, 51);
    EXPECT_DOUBLE_EQ(p.px, 100.0);
    EXPECT_DOUBLE_EQ(p.py, 50.0);
    // Radii scale per axis.
    EXPECT_DOUBLE_EQ(RadiusToClientX(r, 5.0, 101), 10.0);
    EXPECT_DOUBLE_EQ(RadiusToClientY(r, 5.0, 51), 10.0);
}

TEST(ViewGeometry, RoundUpPast04AndTruncation) {
    EXPECT_EQ(RoundUpPast04(2.4), 2);
    EXPECT_EQ(RoundUpPast04(2.41), 3);
    EXPECT_EQ(RoundUpPast04(-0.5), 0);  // floor -1, fraction 0.5
    EXPECT_EQ(RoundUpPast04(-1.7), -2); // floor -2, fraction 0.3
    EXPECT_EQ(PixelTrunc(-2.7), -2);
    EXPECT_EQ(PixelTrunc(std::nan("")), 0);
    EXPECT_EQ(PixelTrunc(-1e300), -(1 << 28));
}

// A click in the middle and the out-of-view refusal are tested through the
// desktop program's zoom commands.
TEST(ViewGeometry, ZoomKeepsTheEdgeItWouldPassAndResetsPastItsLimits) {
    CFakeUi ui;
    // Near the right edge the right edge stays and the window shrinks from
    // the left; near the top (row 1) the top edge stays.
    CMapViewState edge;
    ZoomInAt(edge, 99, 1, 100, 100, ui);
    ExpectWindow(edge, 0.2, 1.0, 0.2, 1.0);

    // 0.8^11 = 0.086 is the first side below 0.1: the next click restores
    // the whole picture.
    CMapViewState view;
    for (int i = 0; i < 11; ++i)
        ASSERT_EQ(ZoomInAt(view, 50, 50, 100, 100, ui), ZoomClick::Zoomed);
    EXPECT_EQ(ZoomInAt(view, 50, 50, 100, 100, ui), ZoomClick::Reset);
    ExpectWindow(view, 0.0, 1.0, 0.0, 1.0);

    // Zooming out at a corner: the window stays inside the bounds and, once
    // a side has reached 5.8, the next click restores the picture. 1.25^8 =
    // 5.96 passes the bounds' width and is held at it; the ninth click resets.
    int clicks = 0;
    ZoomClick result = ZoomClick::Zoomed;
    while (result == ZoomClick::Zoomed && clicks < 50) {
        result = ZoomOutAt(view, 99, 0, 100, 100, ui);
        ++clicks;
        ASSERT_TRUE(view.zoomLeft >= kZoomOutLow - 1e-12 && view.zoomTop <= kZoomOutHigh + 1e-12);
    }
    EXPECT_EQ(clicks, 9);
    ExpectWindow(view, 0.0, 1.0, 0.0, 1.0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ViewGeometry, ScrollStepsMoveTheZoomWindow) {
    CMapViewState view;
    view.zoomRight = 0.5;
    view.zoomBottom = 0.5;
    // Client 100 px at half zoom: virtual 200, extra 100. Line step for an
    // "X" 7 px wide: 1000 * 7 / 100 = 70; page step 1000.
    ScrollView(view, true, ScrollCode::LineDown, 0, 100, 7);
    EXPECT_EQ(view.horizontalScroll, 70);
    ExpectWindow(view, 0.035, 0.535, 0.5, 1.0);
    ScrollView(view, true, ScrollCode::PageDown, 0, 100, 7);
    EXPECT_NEAR(view.zoomLeft, 0.5, 1e-12);
    // Vertical position 0 shows the top of the picture, 1000 the bottom.
    ScrollView(view, false, ScrollCode::ThumbPosition, 250, 100, 7);
    EXPECT_NEAR(view.zoomBottom, 0.375, 1e-12);
    // After a zoom the thumbs stand where scrolling would have put the window.
    UpdateScrollPositions(view);
    EXPECT_EQ(view.verticalScroll, 250);
}

TEST(ViewGeometry, FitInWindowWithMapLeavesTenthMargins) {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.view.showMap = true;
    doc.DataExtent = {10.0, 20.0, 30.0, 40.0};
    doc.aps.Add(CAPInfo{});
    doc.aps[0].selected = 1;
    doc.view.zoomLeft = 0.3;
    // 48 x 36 m after the margins: a 480 x 360 client keeps the aspect.
    FitInWindow(doc, 480, 360);
    EXPECT_EQ(doc.AnalysisBox, doc.DataExtent);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.minX, 16.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.minY, 7.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentX, 48.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentY, 36.0);
    ExpectWindow(doc.view, 0.0, 1.0, 0.0, 1.0);

    // Without the map the data box is the window.
    doc.view.showMap = false;
    FitInWindow(doc, 480, 360);
    EXPECT_EQ(doc.ViewWindow, doc.DataExtent);
}

TEST(ViewGeometry, FitExtentToMapContainsMapAndAspectFits) {
    CTarvoAnalyzerDoc doc;
    doc.view.showMap = true;
    doc.mapLoaded = true;
    doc.MapExtentWidth = 100.0;
    doc.MapExtentHeight = 50.0;
    doc.processed = true;
    doc.DataExtent = {10.0, 10.0, 20.0, 20.0};
    // Box [0,100] x [0,50] -> margins -> 120 x 60 from (-10, -5).
    FitExtentToMap(doc, 240, 120);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.minX, -10.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.minY, -5.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentX, 120.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentY, 60.0);
}

TEST(ViewGeometry, ReversedAxisOfGpsDataWithoutMapIsKept) {
    // GPS data without a map have Y reversed: DataExtent runs from 66 m
    // down by 66 m. The fit keeps that direction instead of treating the
    // axis as empty, and north is drawn up: 66 m lands on the bottom row.
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.DataExtent = {66.0, 0.0, -66.0, 50.0};
    FitExtentToMap(doc, 800, 600);
    EXPECT_EQ(doc.ViewWindow, doc.DataExtent);
    const CVisibleRect r = VisibleRect(doc);
    EXPECT_DOUBLE_EQ(SiteToClient(r, 0.0, 66.0, 101, 101).py, 100.0);
}

// A GPS projection of 1000 map pixels per degree, one metre per pixel, on a
// 1000-pixel-high image: site Y = 1000 * latitude, X = 1000 * longitude
// (+ `skew` metres per degree of latitude, which makes it oblique).
CTarvoAnalyzerDoc GpsDoc(double skew) {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.mapLoaded = true;
    doc.gpsPointsPresent = true;
    doc.projectionKind = kProjectionGps;
    doc.ImageWidth = 1000;
    doc.ImageHeight = 1000;
    doc.SiteScaleX = 1.0;
    doc.SiteScaleY = 1.0;
    doc.MapExtentWidth = 1000.0;
    doc.MapExtentHeight = 1000.0;
    doc.ProjectionMatrix[0][0] = skew;
    doc.ProjectionMatrix[0][1] = 1000.0;
    doc.ProjectionMatrix[1][0] = -1000.0;
    doc.ProjectionMatrix[1][3] = 1000.0;
    doc.ViewWindow = {0.0, 0.0, 1000.0, 1000.0};
    return doc;
}

TEST(ViewGeometry, ShowMapRefusesObliqueProjection) {
    // 300 m of X per degree of latitude: the bottom edge's grid point moves
    // 120 of 400 pixels when carried to the top latitude.
    CFakeUi ui;
    CTarvoAnalyzerDoc north = GpsDoc(0.0);
    EXPECT_TRUE(ToggleShowMap(north, 400, 400, ui));
    EXPECT_TRUE(north.view.showMap);
    CTarvoAnalyzerDoc doc = GpsDoc(300.0);
    EXPECT_FALSE(ToggleShowMap(doc, 400, 400, ui));
    EXPECT_FALSE(doc.view.showMap);
    EXPECT_EQ(ui.Said(),
              "Oblique Projection: Please input and process the collection files again to see "
              "the data without the map, because the projection file is not aligned to the north.");

    // With one grid division there is nothing to compare: the test passes.
    doc.gridLineCount = 1;
    EXPECT_TRUE(MapAlignedToNorth(doc, 400, 400, ui));
}

TEST(ViewGeometry, ShowMapActsOnlyOnGpsData) {
    CFakeUi ui;
    CTarvoAnalyzerDoc floorPlan = GpsDoc(0.0);
    floorPlan.gpsPointsPresent = false;
    floorPlan.linearPointsPresent = true;
    floorPlan.projectionKind = kProjectionLinear;
    floorPlan.view.showMap = true;
    const CBox window = floorPlan.ViewWindow;
    EXPECT_FALSE(ToggleShowMap(floorPlan, 400, 400, ui));
    EXPECT_TRUE(floorPlan.view.showMap);
    EXPECT_EQ(floorPlan.ViewWindow, window);

    CTarvoAnalyzerDoc mapOnly = GpsDoc(0.0);
    mapOnly.processed = mapOnly.gpsPointsPresent = false;
    mapOnly.view.showMap = true;
    EXPECT_FALSE(ToggleShowMap(mapOnly, 400, 400, ui));
    EXPECT_TRUE(mapOnly.view.showMap);
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace tarvo
