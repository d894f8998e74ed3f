#include "view/SurveyViews.h"

#include "analysis/ApModel.h"
#include "model/Text.h"
#include "support/FakeUi.h"
#include "view/Fonts.h"
#include "view/Overlays.h"
#include "view/RenderLayers.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <algorithm>

namespace tarvo {
namespace {

using test::CFakeUi;

QColor Palette(const CTarvoAnalyzerDoc& doc, int i) {
    const ColourRef c = doc.CoveragePalette[static_cast<std::size_t>(i)];
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// A selected AP with three thinned samples whose own 2 x 2 matrix spans
// X 0..width and Y 0..80 (values at x = 0 then x = width, each for y = 0
// and y = 80).
CAPInfo MatrixAp(std::uint8_t id, int channel, double width, double atLeft, double atRight,
                 ColourRef colour) {
    CAPInfo ap;
    ap.selected = 1;
    ap.bssid = {0x02, 0, 0, 0, 0, id};
    ap.channel = channel;
    ap.colour = colour;
    for (int i = 0; i < 3; ++i)
        ap.filteredSamples.Add(CData{0.0, 0.0, -60.0, -95});
    ap.origin = {0.0, 0.0};
    ap.extent = {80.0, width};
    ap.rows = 2;
    ap.columns = 2;
    ap.matrix.Vector() = {atLeft, atLeft, atRight, atRight};
    return ap;
}

// Drawn at one pixel per metre on 101 x 101 (site (x, y) on pixel
// (x, 100 - y)), opacity 255, no map. A = -50 - x / 1.6 and B = -100 +
// x / 1.6 over X 0..80 share channel 36; C = -95 over X 0..96 is on channel
// 1. The coverage grid: X 0, 8, ... 96 and Y 0, 40, 80; its strength the
// largest of the three, its margin 12 dB everywhere.
CTarvoAnalyzerDoc ViewDoc(int type) {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.coveragePresent = true;
    doc.coverageOpacity = 255;
    doc.coverageDisplayType = type;
    doc.ViewWindow = {0.0, 0.0, 100.0, 100.0};
    doc.aps.Add(MatrixAp(1, 36, 80.0, -50.0, -100.0, MakeRgb(200, 0, 0)));
    doc.aps.Add(MatrixAp(2, 36, 80.0, -100.0, -50.0, MakeRgb(0, 160, 0)));
    doc.aps.Add(MatrixAp(3, 1, 96.0, -95.0, -95.0, MakeRgb(0, 0, 220)));
    doc.AnalysisBox = {0.0, 0.0, 80.0, 96.0};
    doc.CoverageRows = 13;
    doc.CoverageCols = 3;
    for (int i = 0; i < 13; ++i)
        for (int j = 0; j < 3; ++j) {
            const double x = 8.0 * i;
            const double a = x <= 80 ? -50.0 - x / 1.6 : -200.0;
            const double b = x <= 80 ? -100.0 + x / 1.6 : -200.0;
            doc.StrengthMatrix.Add(std::max({a, b, -95.0}));
            doc.MarginMatrix.Add(12.0);
        }
    return doc;
}

QImage Draw(CTarvoAnalyzerDoc& doc) {
    CFakeUi ui;
    return RenderLayers(doc, 101, 101, ui);
}

TEST(SurveyViews, StrongestApCellsInEachApsColourWithBorders) {
    CTarvoAnalyzerDoc doc = ViewDoc(kDisplayStrongestAp);
    const QImage image = Draw(doc);
    EXPECT_EQ(image.pixelColor(12, 60), QColor(200, 0, 0)); // x 12: A
    EXPECT_EQ(image.pixelColor(68, 60), QColor(0, 160, 0)); // x 68: B
    EXPECT_EQ(image.pixelColor(92, 60), QColor(0, 0, 220)); // x 92: C alone
    // Between A's last cell (x 40, the tie) and B's first, a dark border at
    // x 44; none inside a run of A's cells.
    EXPECT_EQ(image.pixelColor(44, 60), QColor(40, 40, 40));
    EXPECT_EQ(image.pixelColor(28, 60), QColor(200, 0, 0));
    // In one common colour only the borders tell the cells apart.
    doc.coverageMode = 2;
    doc.commonColour = MakeRgb(10, 20, 30);
    const QImage common = Draw(doc);
    EXPECT_EQ(common.pixelColor(12, 60), QColor(10, 20, 30));
    EXPECT_EQ(common.pixelColor(68, 60), QColor(10, 20, 30));
    EXPECT_EQ(common.pixelColor(44, 60), QColor(40, 40, 40));
}

TEST(SurveyViews, CoChannelSecondaryAndMarginBands) {
    CTarvoAnalyzerDoc doc = ViewDoc(kDisplayCoChannel);
    // At -85 the other channel-36 AP counts from x 24 (B = -85) to x 56
    // (A = -85): one AP there, none at x 8 or x 88.
    QImage image = Draw(doc);
    EXPECT_EQ(image.pixelColor(40, 60), Palette(doc, CoChannelPaletteIndex(1)));
    EXPECT_EQ(image.pixelColor(8, 60), Palette(doc, CoChannelPaletteIndex(0)));
    EXPECT_EQ(image.pixelColor(88, 60), Palette(doc, CoChannelPaletteIndex(0)));

    // The second level at x 40 is -75 dBm: band 2 of -90 .. -30 (-78 .. -72),
    // palette colour 7; at x 8 it is -95, below every band: left white.
    doc.coverageDisplayType = kDisplaySecondary;
    image = Draw(doc);
    EXPECT_EQ(image.pixelColor(40, 60), Palette(doc, 7));
    EXPECT_EQ(image.pixelColor(8, 60), QColor(Qt::white));

    // A margin of 12 dB: band 2 (10 .. 15 dB), palette colour 7.
    doc.coverageDisplayType = kDisplaySnrMargin;
    image = Draw(doc);
    EXPECT_EQ(image.pixelColor(40, 60), Palette(doc, 7));
    // Without coverage nothing is drawn.
    doc.coveragePresent = false;
    EXPECT_EQ(Draw(doc).pixelColor(40, 60), QColor(Qt::white));
}

TEST(SurveyViews, LegendRowsLabelsAndSwatches) {
    CTarvoAnalyzerDoc doc = ViewDoc(kDisplaySnrMargin);
    const int h = QFontMetrics(OverlayFont()).height(), r = h + 2;
    const auto rowLabels = [&](int type) {
        QStringList labels;
        for (const CLegendRow& row : SurveyViewLegend(doc, type, SiteLevelsFor(doc, type)).rows)
            labels << row.label;
        return labels;
    };
    EXPECT_EQ(rowLabels(kDisplaySnrMargin).front(), " 45:50");
    EXPECT_EQ(rowLabels(kDisplaySnrMargin).back(), "  0: 5");
    EXPECT_EQ(rowLabels(kDisplaySecondary).front(), " -36:-30");
    EXPECT_EQ(rowLabels(kDisplayCoChannel), QStringList({" >= 5", " 4", " 3", " 2", " 1", " 0"}));
    EXPECT_EQ(rowLabels(kDisplayStrongestAp),
              QStringList({" 02-00-00-00-00-01", " 02-00-00-00-00-02", " 02-00-00-00-00-03"}));

    // The band views: ten rows under the title, the strongest red on top.
    for (int type : {kDisplaySnrMargin, kDisplaySecondary}) {
        const QImage legend = DrawLegend(doc, type);
        ASSERT_EQ(legend.height(), r + 10 * r + 10) << type;
        EXPECT_EQ(legend.pixelColor(20, r + h / 2), QColor(255, 0, 0));
        EXPECT_EQ(legend.pixelColor(20, 10 * r + h / 2), QColor(0, 0, 255));
    }
    // Co-channel: six rows, 5 or more in red, none in blue.
    QImage legend = DrawLegend(doc, kDisplayCoChannel);
    ASSERT_EQ(legend.height(), r + 6 * r + 10);
    EXPECT_EQ(legend.pixelColor(20, r + h / 2), QColor(255, 0, 0));
    EXPECT_EQ(legend.pixelColor(20, 6 * r + h / 2), QColor(0, 0, 255));
    // Strongest AP: a row per AP in its colour, wide enough for the MAC.
    legend = DrawLegend(doc, kDisplayStrongestAp);
    ASSERT_EQ(legend.height(), r + 3 * r + 10);
    EXPECT_GT(legend.width(), 80);
    EXPECT_EQ(legend.pixelColor(20, 2 * r + h / 2), QColor(0, 160, 0));
    // Before coverage exists there is nothing to explain (no path shown
    // either), as for the strength bands.
    doc.coveragePresent = false;
    EXPECT_TRUE(DrawLegend(doc, kDisplayCoChannel).isNull());
    EXPECT_TRUE(DrawLegend(doc, kDisplayStrengthBands).isNull());
}

TEST(SurveyViews, StrongestApLegendByColourModeAndBounded) {
    CTarvoAnalyzerDoc doc = ViewDoc(kDisplayStrongestAp);
    const CSiteApLevels levels = SiteLevelsFor(doc, kDisplayStrongestAp);
    doc.coverageMode = 2;
    const CSurveyLegend common = SurveyViewLegend(doc, kDisplayStrongestAp, levels);
    ASSERT_EQ(common.rows.size(), 1u);
    EXPECT_EQ(common.rows[0].label, " All selected APs");
    // Groups: A and B in one, C in another; each group once.
    doc.coverageMode = 1;
    CGroupInfo g36, g1;
    g36.name = "Channel 36";
    g36.colour = MakeRgb(1, 2, 3);
    g36.AddItem(doc.aps[0].bssid, 0);
    g36.AddItem(doc.aps[1].bssid, 1);
    g1.name = "Channel 1";
    g1.AddItem(doc.aps[2].bssid, 2);
    doc.activeGroups.groups = {g36, g1};
    const CSurveyLegend groups = SurveyViewLegend(doc, kDisplayStrongestAp, levels);
    ASSERT_EQ(groups.rows.size(), 2u);
    EXPECT_EQ(groups.rows[0].label, " Channel 36");
    EXPECT_EQ(groups.rows[0].colour, MakeRgb(1, 2, 3));
    // At most two entries, then how many more there are, without a swatch.
    doc.coverageMode = 0;
    const CSurveyLegend two = SurveyViewLegend(doc, kDisplayStrongestAp, levels, 2);
    ASSERT_EQ(two.rows.size(), 3u);
    EXPECT_EQ(two.rows[2].label, " ... 1 more");
    EXPECT_FALSE(two.rows[2].swatch);
}

} // namespace
} // namespace tarvo
