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

} // namespace
} // namespace tarvo
