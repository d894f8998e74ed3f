#include "view/RenderLayers.h"

#include "formats/BitmapFile.h"
#include "support/FakeUi.h"
#include "view/Fonts.h"
#include "view/Icons.h"
#include "view/LayerDrawing.h"
#include "view/Overlays.h"
#include "view/PictureDrawing.h"
#include "view/ViewBitmap.h"

#include <QFontMetrics>
#include <QPainter>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>

namespace tarvo {
namespace {

using test::CFakeUi;

constexpr int kSide = 101;
const QColor kWhite(Qt::white), kRed(255, 0, 0), kBlue(0, 0, 255);

// A bitmap file of w x h whose pixel (x, y), row 0 at the top, is colour(x, y).
std::vector<std::uint8_t> BitmapOf(int w, int h, const std::function<QColor(int, int)>& colour) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QColor c = colour(x, y);
            rgb.insert(rgb.end(),
                       {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                        static_cast<std::uint8_t>(c.blue())});
        }
    return EncodeBitmapFile(w, h, rgb);
}

// A study drawn at one pixel per metre: a 101 x 101 target over a window of
// 100 x 100 m, so site (x, y) lands on pixel (x, 100 - y).
CTarvoAnalyzerDoc StudyDoc() {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.ViewWindow = {0.0, 0.0, 100.0, 100.0};
    doc.coverageOpacity = 255;
    return doc;
}

void AddMap(CTarvoAnalyzerDoc& doc, const std::function<QColor(int, int)>& colour) {
    doc.mapBytes = BitmapOf(100, 100, colour);
    ASSERT_TRUE(doc.mapPicture.Load(doc.mapBytes));
    doc.mapLoaded = true;
    doc.view.showMap = true;
    doc.MapExtentWidth = 100.0;
    doc.MapExtentHeight = 100.0;
}

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

// Pixels inside `area` of `image` whose colour satisfies `match`.
int CountIn(const QImage& image, const QRect& area,
            const std::function<bool(const QColor&)>& match) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += match(image.pixelColor(x, y));
    return n;
}

bool Inked(const QColor& c) {
    return c != kWhite;
}

QImage Draw(CTarvoAnalyzerDoc& doc) {
    CFakeUi ui;
    return RenderLayers(doc, kSide, kSide, ui);
}

QColor Palette(const CTarvoAnalyzerDoc& doc, int i) {
    const ColourRef c = doc.CoveragePalette[i];
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// Expected colour of `top` blended with alpha over `under`.
QColor Blend(const QColor& top, const QColor& under, int alpha) {
    auto mix = [&](int a, int b) {
        return static_cast<int>((a * alpha + b * (255 - alpha)) / 255.0 + 0.5);
    };
    return QColor(mix(top.red(), under.red()), mix(top.green(), under.green()),
                  mix(top.blue(), under.blue()));
}

void ExpectNear(const QColor& actual, const QColor& expected, int tolerance) {
    EXPECT_TRUE(std::abs(actual.red() - expected.red()) <= tolerance &&
                std::abs(actual.green() - expected.green()) <= tolerance &&
                std::abs(actual.blue() - expected.blue()) <= tolerance)
        << "actual " << actual.name().toStdString() << ", expected "
        << expected.name().toStdString();
}

CData Sample(double x, double y, double rssi) {
    return CData{y, x, rssi};
}

CDataArea Square(double x0, double y0, double x1, double y1) {
    CDataArea area;
    area.x = {x0, x1, x1, x0};
    area.y = {y0, y0, y1, y1};
    area.vertexCount = 4;
    return area;
}

TEST(RenderLayers, SampleColoursFollowThePowerRange) {
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.coverageDisplayType = kDisplayApSamples;
    CAPInfo ap;
    ap.selected = 1;
    ap.samples.Add(Sample(20, 50, -30.0));  // PowerHigh: strongest band
    ap.samples.Add(Sample(80, 50, -90.0));  // PowerLow: weakest band
    ap.samples.Add(Sample(50, 80, -100.0)); // below PowerLow: weakest too
    ap.samples.Add(Sample(50, 20, -20.0));  // above PowerHigh: strongest
    // Two samples on one pixel are merged: mean -60, band 4 of 10, colour 5.
    ap.samples.Add(Sample(70, 30, -30.0));
    ap.samples.Add(Sample(70.4, 30, -90.0));
    doc.aps.Add(ap);
    const QImage image = Draw(doc);
    EXPECT_EQ(At(image, 20, 50), kRed);
    EXPECT_EQ(At(image, 80, 50), kBlue);
    EXPECT_EQ(At(image, 50, 20), kBlue);
    EXPECT_EQ(At(image, 50, 80), kRed);
    EXPECT_EQ(At(image, 70, 70), Palette(doc, 5));
    // The circle reaches path width + 2 = 3 pixels from its centre.
    EXPECT_EQ(At(image, 23, 50), kRed);
    EXPECT_EQ(At(image, 25, 50), kWhite);
    // An unselected AP draws nothing.
    doc.aps[0].selected = 0;
    EXPECT_EQ(At(Draw(doc), 20, 50), kWhite);
    // At the band edges: 10 * 6 / 60.001 = 0.99998 is band 0, the weakest.
    EXPECT_EQ(SampleBandColourIndex(-84.0, -90, -30), 9);
    EXPECT_EQ(SampleBandColourIndex(-83.99, -90, -30), 8);
    EXPECT_EQ(SampleBandColourIndex(-70.0, -70, -70), 9); // empty range
    EXPECT_EQ(SampleBandColourIndex(std::nan(""), -90, -30), 9);
}

// One square polygon from (10, 10) to (90, 90) m in the strongest band of
// the strength drawing.
void AddStrongestSquare(CTarvoAnalyzerDoc& doc) {
    doc.coverageDrawings[0].areas.Add(Square(10, 10, 90, 90));
    doc.coverageTables[SiteBandSource(kDisplayStrengthBands).areaCounts][9] = 1;
    doc.coveragePresent = true;
    doc.coverageDisplayType = kDisplayStrengthBands;
}

TEST(RenderLayers, CoverageOpacityBlendsOverTheMap) {
    const QColor map(0, 128, 0);
    CTarvoAnalyzerDoc doc = StudyDoc();
    AddMap(doc, [&](int, int) { return map; });
    AddStrongestSquare(doc);
    for (int opacity : {0, 128, 255}) {
        SCOPED_TRACE(opacity);
        doc.coverageOpacity = opacity;
        const QImage image = Draw(doc);
        ExpectNear(At(image, 50, 50), Blend(kRed, map, opacity), opacity == 128 ? 2 : 0);
        EXPECT_EQ(At(image, 5, 5), map); // no coverage there: the map unchanged
    }
    // Area counts beyond the arrays are bounded.
    doc.coverageTables[SiteBandSource(kDisplayStrengthBands).areaCounts][9] = 1000000;
    doc.coverageTables[SiteBandSource(kDisplayStrengthBands).lineCounts][0] = 7;
    EXPECT_EQ(At(Draw(doc), 50, 50), kRed);
}

TEST(RenderLayers, MapLayerAloneAndClippedWhenZoomedIn) {
    // Left half red, right half blue.
    CTarvoAnalyzerDoc doc = StudyDoc();
    AddMap(doc, [](int x, int) { return x < 50 ? kRed : kBlue; });
    AddStrongestSquare(doc);
    doc.processed = false; // without data only the map is painted
    for (int type = 0; type <= 5; ++type) {
        doc.coverageDisplayType = type;
        EXPECT_EQ(At(Draw(doc), 60, 50), kBlue) << "type " << type;
    }
    // The view shows x 40..90 m only: site x = 45 m is pixel 10, x = 60 m is pixel 40.
    doc.view.zoomLeft = 0.4;
    doc.view.zoomRight = 0.9;
    const QImage image = Draw(doc);
    EXPECT_EQ(At(image, 10, 50), kRed);
    EXPECT_EQ(At(image, 40, 50), kBlue);
    EXPECT_EQ(At(image, 99, 50), kBlue);
    doc.view.showMap = false; // then there is only white
    EXPECT_EQ(At(Draw(doc), 10, 50), kWhite);
}

CDataPoint PointAt(double x, double y, std::uint8_t kind = 2, std::uint8_t fix = 2) {
    CDataPoint p;
    p.kind = kind;
    p.fix = fix;
    p.easting = static_cast<std::int32_t>(x * 100.0);
    p.northing = static_cast<std::int32_t>(y * 100.0);
    return p;
}

CDataFile FileOf(int selected, int points, const QColor& colour) {
    CDataFile f;
    f.selected = selected;
    f.pointCount = points;
    f.colour = MakeRgb(colour.red(), colour.green(), colour.blue());
    return f;
}

TEST(RenderLayers, UnselectedFileDrawsNothingAndDoesNotShiftTheNext) {
    const QColor skipped(0, 200, 0), shown(200, 0, 200);
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.pathShown = true;
    // The point list holds the points of the files selected at load time;
    // the second file's walk is the first two points.
    for (double x : {10, 30, 60, 90})
        doc.points.Add(PointAt(x, 50));
    doc.files.Add(FileOf(0, 2, skipped));
    doc.files.Add(FileOf(1, 2, shown));
    const QImage image = Draw(doc);
    EXPECT_EQ(At(image, 20, 50), shown); // on the line from 10 to 30 m
    EXPECT_EQ(At(image, 75, 50), kWhite);
    EXPECT_EQ(At(image, 90, 50), kWhite);
    EXPECT_EQ(CountIn(image, image.rect(), [&](const QColor& c) { return c == skipped; }), 0);
    // Path circles are outlined and filled white; the last one is drawn
    // over the line that reaches it.
    EXPECT_EQ(At(image, 30, 50), kWhite);
    EXPECT_EQ(At(image, 32, 50), shown);
    EXPECT_EQ(At(image, 8, 50), shown);
}

// Counts near the int limit after a first run: the second band and the
// second file still draw what their arrays hold.
TEST(RenderLayers, CountsNearTheIntLimitDrawWhatTheArraysHold) {
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.coveragePresent = true;
    doc.coverageDisplayType = kDisplayStrengthBands;
    doc.coverageDrawings[0].areas = {Square(10, 10, 30, 30), Square(60, 60, 80, 80)};
    doc.coverageTables[1][0] = 1;       // polygons of the first band
    doc.coverageTables[1][1] = INT_MAX; // then "all the rest"
    doc.pathShown = true;
    doc.pointStatus = false;
    doc.points = {PointAt(20, 20), PointAt(70, 70)};
    doc.files = {FileOf(1, 1, kBlue), FileOf(1, INT_MAX, kRed)};
    const QImage image = Draw(doc);
    EXPECT_EQ(At(image, 76, 24), Palette(doc, 8));
    EXPECT_GT(CountIn(image, QRect(66, 26, 9, 9), [](const QColor& c) { return c == kRed; }), 0);
}

TEST(RenderLayers, StatusRingsAreWhiteDiscsOverThePath) {
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.pathShown = true;
    doc.points = {PointAt(10, 50, 0, 0), PointAt(30, 50, 0, 0)}; // GPS, no fix
    doc.files.Add(FileOf(1, 2, kRed));
    const QImage image = Draw(doc);
    EXPECT_EQ(At(image, 20, 50), kRed);
    EXPECT_EQ(At(image, 12, 50), kWhite); // the line inside the ring is covered
    EXPECT_EQ(At(image, 14, 50), QColor(Qt::black));
}

TEST(RenderLayers, ReliabilityRingsNeedSlopeBelowMinusTen) {
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.coverageDisplayType = kDisplayReliability;
    CAPInfo ap;
    ap.selected = ap.valid = 1;
    ap.slope = -20.0;
    ap.position = {50.0, 50.0}; // Y, X
    for (int j = 0; j < kReliabilityLevels; ++j)
        ap.levels[j] = 30.0 - 3.0 * j; // 30 m for 10 % down to 6 m for 90 %
    doc.aps.Add(ap);
    CAPInfo flat = ap;
    flat.slope = -10.0;
    flat.position = {85.0, 15.0};
    doc.aps.Add(flat);
    const QImage image = Draw(doc);
    // Innermost ring (90 %) in palette colour 0, blended with alpha 200 on white.
    ExpectNear(At(image, 50, 50), Blend(Palette(doc, 0), kWhite, 200), 2);
    // 20 m out lies inside the 21 m ring (j = 3), palette colour 5.
    ExpectNear(At(image, 70, 50), Blend(Palette(doc, 5), kWhite, 200), 2);
    EXPECT_EQ(At(image, 95, 95), kWhite);
    EXPECT_EQ(At(image, 15, 15), kWhite); // the flat AP's centre
}

TEST(RenderLayers, ApBandsUseLevelColoursInsideTheSampleBox) {
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.coverageDisplayType = kDisplayApBands;
    CAPInfo ap;
    ap.selected = 1;
    for (int i = 0; i < 3; ++i)
        ap.filteredSamples.Add(Sample(50, 50, -50));
    ap.origin = {20.0, 20.0}; // Y, X
    ap.extent = {60.0, 60.0};
    ap.areas.Add(Square(20, 20, 80, 80));
    ap.table2[3] = 1;
    ap.table3[3] = static_cast<std::int32_t>(MakeRgb(0, 100, 250));
    doc.aps.Add(ap);
    // A second AP whose box covers the first one's middle but whose own
    // band lies in its corner, 70..90 m.
    CAPInfo other = ap;
    other.origin = {40.0, 40.0};
    other.extent = {50.0, 50.0};
    other.areas.RemoveAll();
    other.areas.Add(Square(70, 70, 90, 90));
    other.table3[3] = static_cast<std::int32_t>(MakeRgb(250, 0, 0));
    doc.aps.Add(other);
    const QImage image = Draw(doc);
    // The first AP's band is blended once, also under the second AP's box.
    const QColor first = Blend(QColor(0, 100, 250), kWhite, 200);
    ExpectNear(At(image, 30, 70), first, 2);
    ExpectNear(At(image, 50, 50), first, 2);
    // Where both draw, the second is blended over the first.
    ExpectNear(At(image, 75, 25), Blend(QColor(250, 0, 0), first, 200), 3);
    ExpectNear(At(image, 85, 15), Blend(QColor(250, 0, 0), kWhite, 200), 2);
    EXPECT_EQ(At(image, 10, 10), kWhite);
}

TEST(RenderLayers, KeepsTheLastViewAndOffscreenFitsTheWindow) {
    CTarvoAnalyzerDoc doc = StudyDoc();
    AddMap(doc, [](int, int) { return QColor(30, 60, 90); });
    CFakeUi ui;
    const QImage image = RenderLayers(doc, 64, 48, ui);
    ASSERT_EQ(doc.lastViewBitmap.width, 64);
    ASSERT_EQ(doc.lastViewBitmap.height, 48);
    EXPECT_EQ(FromViewBitmap(doc.lastViewBitmap), image.convertToFormat(QImage::Format_RGB32));

    doc.DataExtent = {40.0, 40.0, 20.0, 20.0};
    const CViewBitmap kept = doc.lastViewBitmap;
    QImage offscreen;
    RenderOffscreen(offscreen, doc, kDisplayNone, true, false, false, false, ui);
    EXPECT_EQ(offscreen.size(), QSize(800, 600));
    EXPECT_EQ(doc.lastViewBitmap, kept);
    // "Fit in the map" for 800 x 600: the map with margins (120 m), widened
    // to 160 m across around its centre.
    EXPECT_NEAR(doc.ViewWindow.extentY, 120.0, 1e-9);
    EXPECT_NEAR(doc.ViewWindow.extentX, 160.0, 1e-9);
}

TEST(RenderLayers, IconsAreCentredOnTheirPositionAndClipped) {
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.apIconsShown = doc.interferenceIconsShown = true;
    CAPInfo ap;
    ap.selected = ap.valid = 1;
    ap.position = {50.0, 50.0};
    doc.aps.Add(ap);
    CISMarker source;
    source.x = 100.0; // at the right edge: half of it is off the target
    source.y = 50.0;
    doc.sources.Add(source);
    const QImage image = Draw(doc);
    EXPECT_GT(CountIn(image, QRect(34, 34, 32, 32), Inked), 40);
    EXPECT_EQ(CountIn(image, QRect(0, 0, 30, 30), Inked), 0);
    EXPECT_GT(CountIn(image, QRect(84, 34, 17, 32), Inked), 20);
    doc.aps[0].selected = 0; // a valid but unselected AP has no icon
    EXPECT_EQ(At(Draw(doc), 50, 50), kWhite);
}

TEST(Legend, BandLabelsSizeAndSwatches) {
    CTarvoAnalyzerDoc doc;
    EXPECT_EQ(LegendBandLabel(doc, kDisplayStrengthBands, 9), " -90:-84");
    EXPECT_EQ(LegendBandLabel(doc, kDisplayReliability, 9), ""); // 0:10 has no row
    EXPECT_EQ(LegendBandLabel(doc, kDisplayApCountBands, 0), " >= 10");
    doc.processed = true;
    // No path, no matrix, type 3: nothing to explain.
    EXPECT_TRUE(DrawLegend(doc, kDisplayApBands).isNull());

    doc.coveragePresent = true;
    doc.coverageOpacity = 255;
    const int h = QFontMetrics(OverlayFont()).height(), r = h + 2;
    const QImage legend = DrawLegend(doc, kDisplayStrengthBands);
    ASSERT_EQ(legend.size(), QSize(80, r + 10 * r + 10));
    // Row i's swatch lies at x 10..29, one row step below the title.
    EXPECT_EQ(legend.pixelColor(20, r * 1 + h / 2), kRed);
    EXPECT_EQ(legend.pixelColor(20, r * 10 + h / 2), kBlue);
    // A selected file with the path flag adds its rows; an unselected one not.
    doc.pathShown = true;
    CDataFile off;
    off.selected = 0;
    doc.files = {CDataFile{}, off};
    EXPECT_EQ(LegendSize(doc, kDisplayStrengthBands).height(), r * 2 + 5 + r + 10 * r + 10);
    // Before coverage exists the title still fills its reserved row.
    doc.coveragePresent = false;
    const QImage titleOnly = DrawLegend(doc, kDisplayApCountBands);
    ASSERT_EQ(titleOnly.height(), r * 2 + 5 + r);
    EXPECT_GT(CountIn(titleOnly, QRect(5, r * 2 + 5, 20, h), Inked), 5);
}

// GPS projection with one metre per pixel on a 1000-pixel-high image:
// Y = 1000 * latitude, X = 1000 * longitude (north up).
CTarvoAnalyzerDoc GpsStudy() {
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.linearCoordinates = false;
    doc.gpsPointsPresent = true;
    doc.projectionKind = kProjectionGps;
    doc.ImageHeight = 1000;
    doc.SiteScaleX = doc.SiteScaleY = 1.0;
    auto& m = doc.ProjectionMatrix;
    m[0][1] = 1000.0;
    m[1][0] = -1000.0;
    m[1][3] = 1000.0;
    return doc;
}

// Yellow grid pixels in rows 20..79 of column x.
int YellowInColumn(const QImage& image, int x) {
    return CountIn(image, QRect(x, 20, 1, 60),
                   [](const QColor& c) { return c == QColor(Qt::yellow); });
}

TEST(CoordinateScale, GridLinesStraightUnlessProjectionIsRotated) {
    CFakeUi ui;
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.scaleShown = true;
    // Three divisions of 101 pixels: lines at columns 33 and 67 (and 101,
    // off the image); dotted, so one pixel in three of the 60 looked at.
    QImage image = RenderLayers(doc, kSide, kSide, ui);
    EXPECT_GE(YellowInColumn(image, 33), 15);
    EXPECT_GE(YellowInColumn(image, 67), 15);
    EXPECT_EQ(YellowInColumn(image, 50), 0);
    // A hostile count draws ten lines each way, one every tenth pixel: the
    // column between the fifth and sixth vertical line meets only the
    // horizontal ones.
    doc.gridLineCount = 100000;
    image = RenderLayers(doc, kSide, kSide, ui);
    EXPECT_GE(YellowInColumn(image, 50), 15);
    EXPECT_LE(YellowInColumn(image, 55), 6);

    // A GPS projection aligned to the north draws the same straight lines.
    CTarvoAnalyzerDoc gps = GpsStudy();
    gps.scaleShown = true;
    image = RenderLayers(gps, kSide, kSide, ui);
    EXPECT_GE(YellowInColumn(image, 67), 15);
    EXPECT_GE(YellowInColumn(image, 33), 15); // drawn over the latitude labels

    // Rotated by a skew: lines of constant longitude lean, so no column
    // holds a long run of them.
    gps.ProjectionMatrix[0][0] = 300.0;
    image = RenderLayers(gps, kSide, kSide, ui);
    for (int x : {33, 67})
        EXPECT_LT(YellowInColumn(image, x), 8) << x;
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace tarvo
