// Drawing a study whose counts are hostile: the loops stay short and draw
// what the arrays hold.

#include "support/FakeUi.h"
#include "view/LayerDrawing.h"
#include "view/Overlays.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <climits>

namespace tarvo {
namespace {

constexpr int kSide = 101;

// One pixel per metre: site (x, y) lands on pixel (x, 100 - y).
CTarvoAnalyzerDoc StudyDoc() {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.ViewWindow = {0.0, 0.0, 100.0, 100.0};
    return doc;
}

QImage White() {
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

int CountIn(const QImage& image, const QRect& area, const QColor& colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

TEST(BoundedDrawing, AHugeGridLineCountDrawsAtMostTenLines) {
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.gridLineCount = 100000;
    QImage image = White();
    test::CFakeUi ui;
    {
        QPainter painter(&image);
        DrawCoordinateScale(CLayerContext(doc, kSide, kSide), painter, false, true, ui);
    }
    // Ten lines each way, at every tenth pixel: the column between the
    // fifth and sixth vertical line meets only the horizontal ones.
    EXPECT_LE(CountIn(image, QRect(55, 0, 1, kSide), QColor(255, 255, 0)), 10);
    EXPECT_GT(CountIn(image, QRect(50, 0, 1, kSide), QColor(255, 255, 0)), 20);
}

CDataArea Square(double x0, double y0, double x1, double y1) {
    CDataArea area;
    area.x = {x0, x1, x1, x0};
    area.y = {y0, y0, y1, y1};
    area.vertexCount = 4;
    return area;
}

CDataPoint PointAt(double x, double y) {
    CDataPoint p;
    p.kind = 2;
    p.easting = static_cast<std::int32_t>(x * 100);
    p.northing = static_cast<std::int32_t>(y * 100);
    return p;
}

// Counts near the int limit after a first run: the second band and the
// second file still draw what their arrays hold.
TEST(BoundedDrawing, CountsNearTheIntLimitDrawWhatTheArraysHold) {
    CTarvoAnalyzerDoc doc = StudyDoc();
    doc.coveragePresent = true;
    doc.coverageDrawings[0].areas.Add(Square(10, 10, 30, 30));
    doc.coverageDrawings[0].areas.Add(Square(60, 60, 80, 80));
    doc.coverageTables[1][0] = 1;       // polygons of the first band
    doc.coverageTables[1][1] = INT_MAX; // then "all the rest"
    QImage bands = White();
    DrawSiteBands(CLayerContext(doc, kSide, kSide), kDisplayStrengthBands, bands);
    const ColourRef second = doc.CoveragePalette[8];
    EXPECT_EQ(bands.pixelColor(70, 30), QColor(RedOf(second), GreenOf(second), BlueOf(second)));

    doc.points.Add(PointAt(20, 20));
    doc.points.Add(PointAt(70, 70));
    CDataFile first, rest;
    first.pointCount = 1;
    rest.pointCount = INT_MAX;
    rest.colour = MakeRgb(255, 0, 0);
    doc.files.Add(first);
    doc.files.Add(rest);
    doc.pointStatus = false;
    QImage path = White();
    DrawWalkPath(CLayerContext(doc, kSide, kSide), path);
    EXPECT_GT(CountIn(path, QRect(66, 26, 9, 9), QColor(255, 0, 0)), 0);
}

} // namespace
} // namespace tarvo
