#include "analysis/Recalculation.h"

#include "analysis/CoverageFixture.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tarvo {
namespace {

using test::CFakeUi;

// 24 samples on rings around (0, 0) following RSSI = -30 - 20 log10(d).
CAPInfo ModelAp() {
    std::vector<test::CApSample> samples;
    for (int k = 0; k < 24; ++k) {
        const double d = 1.0 + (k % 6) * 1.5;
        samples.push_back(
            {d * std::sin(k * 0.9), d * std::cos(k * 0.9), -30.0 - 20.0 * std::log10(d), -97});
    }
    CAPInfo ap = test::MakeAp(7, samples);
    ap.rows = 5;
    ap.columns = 4;
    ap.colour = MakeRgb(10, 20, 30);
    ap.slope = -11.0;
    return ap;
}

CTarvoAnalyzerDoc DocWith(const CAPInfo& ap) {
    CTarvoAnalyzerDoc doc = test::ProcessedDoc({ap});
    doc.lastApPosition = {2.0, -1.0};
    return doc;
}

TEST(RecalculateAp, RefitsAtTheNewPosition) {
    CTarvoAnalyzerDoc doc = DocWith(ModelAp());
    doc.aps[0].position = {0.0, 0.0};
    CFakeUi ui;
    EXPECT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Refitted);
    const CAPInfo& ap = doc.aps[0];
    EXPECT_NEAR(ap.slope, -20.0, 1e-9);
    EXPECT_NEAR(ap.intercept, -30.0, 1e-9);
    EXPECT_NEAR(ap.sigma, 0.0, 1e-9);
    EXPECT_EQ(ap.valid, 0); // not changed here
    EXPECT_EQ(doc.lastApPosition, (std::array<double, 2>{0.0, 0.0}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.progress.Texts(), std::vector<std::string>{"Re-Calculating..."});
    EXPECT_FALSE(ui.progress.Visible());
    ASSERT_EQ(ap.matrix.GetSize(), 20);
    EXPECT_LE(ap.minValue, *std::min_element(ap.matrix.begin(), ap.matrix.end()));
    EXPECT_GE(ap.maxValue, *std::max_element(ap.matrix.begin(), ap.matrix.end()));
    // Contours drawn from the AP's own colour (colour mode 0).
    EXPECT_EQ(ap.table3[5], static_cast<std::int32_t>(MakeRgb(10, 20, 30)));
    EXPECT_FALSE(ap.areas.IsEmpty());
}

// Samples at x = 1, 10, 100 m from an AP at the origin (log10 0, 1, 2);
// grid points at x = 1, 34, 67, 100 (the first on a sample, where the
// interpolation is that sample's RSSI).
TEST(RecalculateAp, TheModelIsMixedInOnlyBelowMinusTen) {
    for (auto [far, slope, first] : {std::tuple{-50.0, -10.0, -30.0}, // pure interpolation
                                     std::tuple{-51.0, -10.5, -29.9}}) {
        // -30, -40, -51: slope -21 / 2 = -10.5, intercept -40.333 + 10.5 =
        // -29.833; at x = 1 the model gives the intercept, so
        // 0.6 * -29.833 + 0.4 * -30 = -29.9.
        CAPInfo ap = test::MakeAp(1, {{0, 1, -30.0}, {0, 10, -40.0}, {0, 100, far}});
        ap.rows = 4;
        ap.columns = 2;
        CTarvoAnalyzerDoc doc = DocWith(ap);
        doc.MinPointsForEstimate = 3;
        doc.aps[0].position = {0.0, 0.0};
        CFakeUi ui;
        ASSERT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Refitted);
        EXPECT_NEAR(doc.aps[0].slope, slope, 1e-12);
        EXPECT_NEAR(doc.aps[0].matrix[0], first, 1e-9) << far;
        EXPECT_EQ(doc.aps[0].matrix[1], doc.aps[0].matrix[0]); // both Y points on y = 0
    }
}

TEST(RecalculateAp, RisingFitIsRefusedAndThePositionRestored) {
    // A walk away from an AP at x = 0 along the X axis.
    std::vector<test::CApSample> walk;
    for (int k = 1; k <= 24; ++k)
        walk.push_back({0.0, 1.0 * k, -30.0 - 20.0 * std::log10(k)});
    CAPInfo line = test::MakeAp(3, walk);
    line.slope = -11.0;
    CTarvoAnalyzerDoc doc = DocWith(line);
    CAPInfo expected = doc.aps[0];
    expected.position = {2.0, -1.0};
    // Beyond the far end of the walk the strong samples are the far ones;
    // on a sample the distance is 0 and no finite fit exists.
    for (std::array<double, 2> at : {std::array{0.0, 50.0}, std::array{0.0, 4.0}}) {
        doc.aps[0].position = at;
        CFakeUi ui;
        EXPECT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Refused);
        ASSERT_EQ(ui.Said(),
                  "Invalid Position: This AP position results in wrong progation parameters.");
        EXPECT_EQ(ui.messages[0].buttons, MsgButtons::OkCancel);
        EXPECT_FALSE(ui.progress.Visible());
        EXPECT_EQ(doc.aps[0], expected); // back where it was accepted; nothing else changed
    }

    // Too few thinned samples: moved, without a refit.
    doc.MinPointsForEstimate = 25;
    doc.aps[0].position = {30.0, 30.0};
    expected.position = {30.0, 30.0};
    CFakeUi ui;
    EXPECT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Kept);
    EXPECT_EQ(doc.aps[0], expected);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(RecalculateAp, ContourColourFollowsTheColourMode) {
    CTarvoAnalyzerDoc doc = DocWith(ModelAp());
    doc.aps[0].position = {0.0, 0.0};
    doc.coverageMode = 1; // groups; the AP is in none
    CFakeUi ui;
    ASSERT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Refitted);
    EXPECT_EQ(doc.aps[0].table3[5], 0);        // black
    EXPECT_EQ(doc.aps[0].table3[0], 0xFFFFFF); // levels still fade from white

    // In two groups: the last one in the list wins.
    CGroupInfo first, second, other;
    first.colour = MakeRgb(1, 2, 3);
    first.AddItem(doc.aps[0].bssid, 0);
    second.colour = MakeRgb(4, 5, 6);
    second.AddItem(doc.aps[0].bssid, 0);
    other.colour = MakeRgb(7, 8, 9);
    other.AddItem(MacAddress{9, 9, 9, 9, 9, 9}, 1);
    doc.activeGroups.groups = {first, second, other};
    EXPECT_EQ(ApContourColour(doc, 0), MakeRgb(4, 5, 6));
    doc.coverageMode = 2;
    doc.commonColour = MakeRgb(0, 128, 0);
    EXPECT_EQ(ApContourColour(doc, 0), MakeRgb(0, 128, 0));
}

} // namespace
} // namespace tarvo
