// The pointer arithmetic of the map view on a hand-made document whose view
// maps one site metre to one pixel: a 201 x 101 client area over
// x 0..200, y 0..100, so pixel (px, py) is site (px, 100 - py).

#include "view/PointerTexts.h"
#include "model/Text.h"
#include "view/HitTest.h"
#include "view/InfoText.h"
#include "view/ResourceTexts.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

constexpr int kWc = 201;
constexpr int kHc = 101;

struct PointerTextsTest : ::testing::Test {
    PointerTextsTest() {
        doc.processed = true;
        doc.UseFeet = false;
        doc.ViewWindow = {0.0, 0.0, 100.0, 200.0};
    }
    CStatusTexts Status(int px, int py) { return MoveStatusTexts(doc, {px, py}, kWc, kHc, ui); }
    std::string Info(int px, int py) { return InfoWindowText(doc, {px, py}, kWc, kHc, ui); }

    CTarvoAnalyzerDoc doc;
    CSilentUi ui;
};

CAPInfo ApAt(double y, double x) {
    CAPInfo ap;
    ap.valid = 1;
    ap.selected = 1;
    ap.position = {y, x};
    ap.bssid = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    ap.ssid = SsidFromText("net");
    ap.frequency = 2437;
    return ap;
}

TEST_F(PointerTextsTest, HitTestPrefersApsThenMarkedApsThenSourcesFirstInList) {
    CAPMarker m1, m2;
    m1.y = 51;
    m1.x = 101; // pixel (101, 49)
    m2.y = 50;
    m2.x = 102;
    CISMarker s;
    s.y = 50;
    s.x = 100;
    doc.aps.Add(ApAt(50, 100)); // pixel (100, 50)
    doc.markers.Add(m1);
    doc.markers.Add(m2);
    doc.sources.Add(s);
    auto hit = [&](int px, int py) { return HitTestResource(doc, {px, py}, kWc, kHc); };

    EXPECT_EQ(hit(101, 50).kind, kHitAp);
    EXPECT_EQ(hit(103, 52).index, 0) << "3 pixels away still hits";
    doc.aps[0].valid = 0;
    EXPECT_EQ(hit(101, 50).kind, kHitMarker);
    EXPECT_EQ(hit(101, 50).index, 0) << "the first marked AP in the list";
    EXPECT_EQ(hit(105, 50).index, 1);
    doc.markers.RemoveAll();
    EXPECT_EQ(hit(97, 50).kind, kHitSource);
    EXPECT_FALSE(hit(96, 50).Found()) << "4 pixels away is a miss";
}

TEST_F(PointerTextsTest, StatusReadoutsByDisplayType) {
    doc.processed = false;
    EXPECT_EQ(Status(10, 20)[0], "(X = 10, Y =  20)");
    EXPECT_EQ(Status(-1, 20)[0], "");
    doc.processed = true;
    EXPECT_EQ(Status(-1, 20), (CStatusTexts{"", "", ""}));
    EXPECT_EQ(Status(100, 60), (CStatusTexts{"(X = 100.000, Y = 40.000)", "", std::nullopt}))
        << "the last distance stays in pane 3";
    doc.UseFeet = true;
    EXPECT_EQ(Status(100, 50)[0], "(X = 328.084, Y = 164.042)");
    doc.UseFeet = false;

    // An 11 x 5 grid over x 50..150, y 20..60: pixels 50..150 by 40..80.
    doc.coveragePresent = true;
    doc.AnalysisBox = {20.0, 50.0, 40.0, 100.0};
    doc.CoverageRows = 11;
    doc.CoverageCols = 5;
    for (int cell = 0; cell < 55; ++cell) {
        doc.StrengthMatrix.Add(-100.0 + cell);
        doc.ApCountMatrix.Add(cell % 7);
    }
    doc.MarginMatrix = doc.StrengthMatrix;
    // (100, 60): X index 5, Y index 2, cell 2 + 5 * 5 = 27.
    doc.coverageDisplayType = kDisplayStrengthBands;
    EXPECT_EQ(Status(100, 60)[1], "Power = -73.0 dBm");
    doc.coverageDisplayType = kDisplayApCountBands;
    EXPECT_EQ(Status(100, 60)[1], "# of AP(s) =  6");
    for (int type : {kDisplayReliability, kDisplayApBands}) {
        doc.coverageDisplayType = type;
        EXPECT_EQ(Status(100, 60), (CStatusTexts{"(X = 100.000, Y = 40.000)", "", std::nullopt}));
    }
    EXPECT_EQ(Status(30, 60)[0], "No coverage! (X = 30.000, Y = 40.000)");
    EXPECT_EQ(Status(100, 90)[0], "No coverage! (X = 100.000, Y = 10.000)");

    EXPECT_EQ(
        RulerStatusTexts(doc, {0, 100}, {30, 60}, kWc, kHc, ui),
        (CStatusTexts{"(X1 = 0.000, Y1 = 0.000)", "(X2 = 30.000, Y2 = 40.000)", "d = 50.00 m"}));
}

TEST_F(PointerTextsTest, RulerDistanceTurnsToKilometresAndMilesPastOne) {
    EXPECT_EQ(RulerDistanceText(1000.0, false), "1000.000 m");
    EXPECT_EQ(RulerDistanceText(1000.1, false), "1.000 KM");
    EXPECT_EQ(RulerDistanceText(1609.344, true), "5280.000 Ft");
    EXPECT_EQ(RulerDistanceText(3218.688, true), "2.000 Miles");
}

TEST(ResourceTexts, MacTextIsReadCharacterByCharacter) {
    EXPECT_EQ(ParseMacText("00-1A-2b-3C-4D-5E"), (MacAddress{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    EXPECT_EQ(ParseMacText("12:34"), (MacAddress{0x12, 0x34, 0, 0, 0, 0}));
    EXPECT_EQ(ParseMacText("G1-FF-xx-10-0A-9"), (MacAddress{0x01, 0xFF, 0, 0x10, 0x0A, 0x90}));
    EXPECT_EQ(NotesForRecord("one\r\ntwo\nthree"), "one<br>two<br>three");
    EXPECT_EQ(NotesForDialog("one<br>two"), "one\r\ntwo");
    EXPECT_EQ(ParseChannel("11"), 11);
    EXPECT_FALSE(ParseChannel("0"));
    EXPECT_FALSE(ParseChannel("x"));
}

TEST_F(PointerTextsTest, TypedCoordinatesByUnitsOrThroughTheProjection) {
    doc.UseFeet = true;
    const CSitePoint site{50.0, 100.0};
    CCoordinateTexts texts = CoordinateTexts(doc, site, "%3.6f", ui);
    EXPECT_EQ(texts.first + " " + texts.second, "164.041995 328.083990");
    auto typed = TypedPosition(doc, texts.first, texts.second, ui);
    ASSERT_TRUE(typed);
    EXPECT_NEAR(typed->site.y, 50.0, 1e-6);
    EXPECT_TRUE(typed->valid);
    EXPECT_FALSE(TypedPosition(doc, "1000000", "0", ui)->valid);
    EXPECT_FALSE(TypedPosition(doc, "%N/A", "0", ui)) << "no number, no position";

    // Latitude and longitude through a north-aligned projection: 100,000
    // pixels per degree, 0.5 m per pixel, (50 N, 10 E) at the bottom left.
    doc.linearCoordinates = false;
    doc.ProjectionMatrix[0][1] = 100000.0;
    doc.ProjectionMatrix[0][3] = -1000000.0;
    doc.ProjectionMatrix[1][0] = -100000.0;
    doc.ProjectionMatrix[1][3] = 5001000.0;
    doc.ImageHeight = 1000;
    doc.SiteScaleX = doc.SiteScaleY = 0.5;
    texts = CoordinateTexts(doc, site, "%3.6f", ui);
    EXPECT_EQ(texts.first + " " + texts.second, "50.001000 10.002000");
    typed = TypedPosition(doc, texts.first, texts.second, ui);
    ASSERT_TRUE(typed);
    EXPECT_NEAR(typed->site.y, 50.0, 1e-6);
    EXPECT_NEAR(typed->site.x, 100.0, 1e-6);
    EXPECT_TRUE(typed->valid);
    EXPECT_FALSE(TypedPosition(doc, "180.0", "10", ui)->valid);
    EXPECT_EQ(CoordinateLabels(doc).first, "Latitude");
}

TEST_F(PointerTextsTest, InformationTextForAnApIconASampleAndTheApMatrix) {
    CAPInfo ap = ApAt(50, 100);
    ap.samples.Add({50.0, 130.0, -61.6, 0}); // pixel (130, 50)
    for (int i = 0; i < 3; ++i)
        ap.filteredSamples.Add({5.0, 5.0 + i, -80.0, 0});
    // Sample box x 90..150, y 40..60 with a 7 x 3 grid valued -50 - index.
    ap.origin = {40.0, 90.0};
    ap.extent = {20.0, 60.0};
    ap.rows = 7;
    ap.columns = 3;
    for (int i = 0; i < 21; ++i)
        ap.matrix.Add(-50.0 - i);
    doc.aps.Add(ap);
    const std::string header = "\n  MAC                         RSSI    CH(MHz)    SSID";

    EXPECT_EQ(Info(101, 51), "X(m) = 101.000, Y(m) = 49.000 \n" + header +
                                 "\n 00-1A-2B-3C-4D-5E    (AP)           2437         net"
                                 "\n \n No selected AP cover this point\n");
    EXPECT_NE(Info(130, 50).find("\n 00-1A-2B-3C-4D-5E    -62 dBm      2437         net\n \n No"),
              std::string::npos);
    // Site (120, 50): grid X index 3, Y index 1, value -50 - (3 * 3 + 1).
    EXPECT_NE(Info(120, 50).find("    -60 dBm      2437         net\n \n 1 selected AP covers "
                                 "this point \n"),
              std::string::npos);
    EXPECT_NE(Info(80, 50).find(header + "\n \n No selected"), std::string::npos)
        << "outside the sample box";

    // The robust estimator's radius: one more line under the AP's own line,
    // in the study's unit.
    doc.aps[0].uncertaintyM = 1.2192;
    const std::string apLine = "\n 00-1A-2B-3C-4D-5E    (AP)           2437         net";
    EXPECT_EQ(Info(101, 51), "X(m) = 101.000, Y(m) = 49.000 \n" + header + apLine +
                                 "\n Position uncertainty 1.22 m (68 %)"
                                 "\n \n No selected AP cover this point\n");
    doc.UseFeet = true;
    EXPECT_NE(Info(101, 51).find(apLine + "\n Position uncertainty 4.00 Ft (68 %)\n"),
              std::string::npos);
    doc.UseFeet = false;
    doc.aps[0].uncertaintyM = 0.0;

    doc.aps.Add(doc.aps[0]);
    EXPECT_NE(Info(120, 50).find("\n \n 2 selected APs cover this point \n"), std::string::npos);

    CDataPoint walk;
    walk.northing = 2000; // y 20 m, pixel row 80
    walk.easting = 3000;
    walk.altitude = 100 * 256;
    walk.speed = 50 << 8;
    walk.hour = 12;
    walk.minute = 5;
    walk.second = 9;
    walk.date1 = 3;
    walk.date2 = 4;
    walk.year = 25;
    doc.points.Add(walk);
    doc.pathShown = true;
    CAPMarker marked;
    marked.name = "Roof";
    marked.y = 20;
    marked.x = 31;
    doc.markers.Add(marked);
    doc.markedApIconsShown = true;
    EXPECT_EQ(Info(33, 80).rfind("X(m) = 33.000, Y(m) = 20.000 \n"
                                 "Altitude =   100 m, Velocity =  50.0 KPH\n"
                                 "12: 5: 9,  3/ 4/2005Marked AP: Roof \n" +
                                     header,
                                 0),
              0u);
}

TEST(InfoText, BalloonGoesWhereItFits) {
    const QSize client(600, 400), text(100, 50);
    CBalloonGeometry g = PlaceBalloon(text, {10, 10}, client);
    EXPECT_EQ(g.corner, BalloonCorner::TopLeft);
    EXPECT_EQ(g.window.topLeft(), QPoint(10, 10));
    EXPECT_EQ(g.body.size(), QSize(120, 70));
    g = PlaceBalloon(text, {590, 390}, client);
    EXPECT_EQ(g.corner, BalloonCorner::BottomRight);
    EXPECT_EQ(g.window.bottomRight(), QPoint(590, 390));
    EXPECT_TRUE(QRect(QPoint(0, 0), client).contains(g.window));
}

} // namespace
} // namespace tarvo
