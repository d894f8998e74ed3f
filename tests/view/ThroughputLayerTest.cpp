// The throughput view's cells where the grid fixes their colours, its
// measured points and its legend labels.

#include "view/ThroughputLayer.h"
#include "support/FakeUi.h"
#include "support/ThroughputPoints.h"
#include "view/Overlays.h"
#include "view/RenderLayers.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::ThroughputAt;

// One pixel per metre: site (x, y) is pixel (x, 100 - y) of a 101 x 101
// picture; the coverage fully opaque, so cells show their colours exactly.
CTarvoAnalyzerDoc ThroughputDoc() {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.ViewWindow = {0.0, 0.0, 100.0, 100.0};
    doc.coverageOpacity = 255;
    doc.coverageDisplayType = kDisplayThroughput;
    doc.Resolution = 10.0;
    // 20 Mbit/s at (10, 10), 95 at (90, 10), 60 at (50, 60): top 100.
    doc.throughput = {ThroughputAt(10, 10, 20e6), ThroughputAt(90, 10, 95e6),
                      ThroughputAt(50, 60, 60e6)};
    return doc;
}

QColor Palette(const CTarvoAnalyzerDoc& doc, int index) {
    const ColourRef c = doc.CoveragePalette[static_cast<std::size_t>(index)];
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

TEST(ThroughputLayer, CellsOfMeasuredPointsShowTheirBands) {
    CTarvoAnalyzerDoc doc = ThroughputDoc();
    test::CFakeUi ui;
    const QImage picture = RenderLayers(doc, 101, 101, ui);
    // The grid runs from x 10 to 90 and y 10 to 60 every 10 m; a cell
    // reaches 5 m around its point. 5 m beside the rings: the point's band.
    EXPECT_EQ(picture.pixelColor(10 + 4, 100 - 10 - 4), Palette(doc, 9 - 2)) << "20 Mbit/s";
    EXPECT_EQ(picture.pixelColor(90 - 4, 100 - 10 - 4), Palette(doc, 9 - 9)) << "95 Mbit/s";
    EXPECT_EQ(picture.pixelColor(50 + 4, 100 - 60 + 4), Palette(doc, 9 - 6)) << "60 Mbit/s";
    // The measured points are rings of white in black.
    EXPECT_EQ(picture.pixelColor(10, 90), QColor(Qt::white));
    // Outside the box, half a cell beyond it: the plain background.
    EXPECT_EQ(picture.pixelColor(2, 50), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(50, 100 - 70), QColor(Qt::white));

    // Without measurements, or before processing, nothing is drawn.
    doc.throughput.clear();
    EXPECT_EQ(RenderLayers(doc, 101, 101, ui).pixelColor(14, 86), QColor(Qt::white));
    CTarvoAnalyzerDoc unprocessed = ThroughputDoc();
    unprocessed.processed = false;
    EXPECT_EQ(RenderLayers(unprocessed, 101, 101, ui).pixelColor(14, 86), QColor(Qt::white));
}

TEST(ThroughputLayer, LegendLabelsInMegabits) {
    CTarvoAnalyzerDoc doc = ThroughputDoc();
    EXPECT_EQ(LegendBandLabel(doc, kDisplayThroughput, 0), " 90:100");
    EXPECT_EQ(LegendBandLabel(doc, kDisplayThroughput, 9), " 0:10");
    EXPECT_EQ(ThroughputBandLabel(2e6, 0), " 1.8:2.0");
    EXPECT_EQ(ThroughputBandLabel(500e3, 9), " 0.00:0.05");
    EXPECT_EQ(ThroughputBandLabel(100e6, 10), "");
    doc.legendShown = true;
    const QImage legend = DrawLegend(doc, kDisplayThroughput);
    ASSERT_FALSE(legend.isNull());
    EXPECT_GE(legend.width(), 80);
}

} // namespace
} // namespace tarvo
