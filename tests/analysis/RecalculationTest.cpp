#include "analysis/Recalculation.h"

#include "analysis/CoverageFixture.h"
#include "analysis/Numerics.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvo {
namespace {

using test::CFakeUi;

// 24 samples on rings around (0, 0) following RSSI = -30 - 20 log10(d).
CAPInfo ModelAp() {
    std::vector<test::CApSample> samples;
    for (int k = 0; k < 24; ++k) {
        const double d = 1.0 + (k % 6) * 1.5;
        const double angle = k * 0.9;
        samples.push_back(
            {d * std::sin(angle), d * std::cos(angle), -30.0 - 20.0 * std::log10(d), -97});
    }
    CAPInfo ap = test::MakeAp(7, samples);
    ap.rows = 5;
    ap.columns = 4;
    ap.matrix.SetSize(20);
    ap.colour = MakeRgb(10, 20, 30);
    ap.slope = -11.0;
    ap.intercept = -44.0;
    ap.sigma = 3.0;
    ap.valid = 0;
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
    EXPECT_EQ(ui.progress.Positions(), (std::vector<int>{0, 10, 20, 20, 35, 50, 65, 80, 100}));
    EXPECT_FALSE(ui.progress.Visible());

    // Grid point (r 4, c 0): the box's X maximum and Y minimum; model mixed
    // in since the slope is below -10.
    const double gx = ap.origin[1] + 4 * (ap.extent[1] / 4), gy = ap.origin[0];
    std::vector<double> d, v;
    for (const CData& s : ap.filteredSamples) {
        d.push_back(std::sqrt((s.x - gx) * (s.x - gx) + (s.y - gy) * (s.y - gy)));
        v.push_back(s.rssi);
    }
    const double model = -20.0 * std::log10(std::sqrt(gx * gx + gy * gy)) - 30.0;
    ASSERT_EQ(ap.matrix.GetSize(), 20);
    EXPECT_NEAR(ap.matrix[4 * 4 + 0], 0.6 * model + 0.4 * InterpolateNearest3(d, v), 1e-9);
    double lo = ap.matrix[0], hi = ap.matrix[0];
    for (double m : ap.matrix) {
        lo = std::min(lo, m);
        hi = std::max(hi, m);
    }
    EXPECT_EQ(ap.minValue, std::min(lo, Mean(v)));
    EXPECT_EQ(ap.maxValue, std::max(hi, Mean(v)));
    // Contours drawn from the AP's own colour (colour mode 0).
    EXPECT_EQ(ap.table3[5], static_cast<std::int32_t>(MakeRgb(10, 20, 30)));
    EXPECT_FALSE(ap.areas.IsEmpty());
}

TEST(RecalculateAp, RisingFitIsRefusedAndThePositionRestored) {
    // A walk away from an AP at x = 0 along the X axis.
    std::vector<test::CApSample> walk;
    for (int k = 1; k <= 24; ++k)
        walk.push_back({0.0, 1.0 * k, -30.0 - 20.0 * std::log10(k)});
    CAPInfo line = test::MakeAp(3, walk);
    line.slope = -11.0;
    CTarvoAnalyzerDoc doc = DocWith(line);
    const CAPInfo before = doc.aps[0];
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Beyond the far end of the walk the strong samples are the far ones.
        doc.aps[0].position = {0.0, 50.0 + attempt};
        CFakeUi ui;
        EXPECT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Refused);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "This AP position results in wrong progation parameters.");
        EXPECT_EQ(ui.messages[0].title, "Invalid Position");
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
        EXPECT_EQ(ui.messages[0].buttons, MsgButtons::OkCancel);
        EXPECT_FALSE(ui.progress.Visible());
        // Back where it was accepted before the first move; nothing else
        // changed.
        EXPECT_EQ(doc.aps[0].position, (std::array<double, 2>{2.0, -1.0}));
        CAPInfo expected = before;
        expected.position = {2.0, -1.0};
        EXPECT_EQ(doc.aps[0], expected);
        EXPECT_EQ(doc.lastApPosition, (std::array<double, 2>{2.0, -1.0}));
    }

    // On a sample the distance is 0 and no finite fit exists: refused too.
    const CData& s = doc.aps[0].filteredSamples[3];
    doc.aps[0].position = {s.y, s.x};
    CFakeUi ui;
    EXPECT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Refused);
    EXPECT_EQ(doc.aps[0].slope, -11.0);
}

TEST(RecalculateAp, TooFewSamplesKeepThePositionWithoutRefit) {
    CAPInfo ap = ModelAp();
    ap.filteredSamples.SetSize(19);
    CTarvoAnalyzerDoc doc = DocWith(ap);
    ASSERT_EQ(doc.MinPointsForEstimate, 20);
    doc.aps[0].position = {30.0, 30.0};
    CAPInfo expected = doc.aps[0];
    CFakeUi ui;
    EXPECT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Kept);
    EXPECT_EQ(doc.aps[0], expected);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.progress.Positions(), (std::vector<int>{0, 100}));
    EXPECT_EQ(doc.lastApPosition, (std::array<double, 2>{2.0, -1.0}));
}

TEST(RecalculateAp, SlopeOfExactlyMinusTenIsAcceptedWithoutMixing) {
    // Distances 1, 10, 100 (log10 0, 1, 2) at -30, -40, -50 dBm: slope -10.
    CAPInfo ap = test::MakeAp(1, {{0, 1, -30.0}, {0, 10, -40.0}, {0, 100, -50.0}});
    ap.rows = 4;
    ap.columns = 2;
    CTarvoAnalyzerDoc doc = DocWith(ap);
    doc.MinPointsForEstimate = 3;
    doc.aps[0].position = {0.0, 0.0};
    CFakeUi ui;
    ASSERT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Refitted);
    const CAPInfo& a = doc.aps[0];
    EXPECT_EQ(a.slope, -10.0);
    EXPECT_EQ(a.intercept, -30.0);
    const std::vector<double> v = {-30.0, -40.0, -50.0};
    for (int r = 0; r < 4; ++r) {
        const double gx = 1.0 + r * (99.0 / 3);
        const std::vector<double> d = {std::fabs(gx - 1), std::fabs(gx - 10), std::fabs(gx - 100)};
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(a.matrix[r * 2 + c], InterpolateNearest3(d, v)) << r;
    }
}

TEST(RecalculateAp, ContourColourFollowsTheColourMode) {
    CTarvoAnalyzerDoc doc = DocWith(ModelAp());
    doc.aps[0].position = {0.0, 0.0};
    doc.coverageMode = 1; // groups; the AP is in none
    CFakeUi ui;
    ASSERT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Refitted);
    EXPECT_EQ(doc.aps[0].table3[5], 0);        // black
    EXPECT_EQ(doc.aps[0].table3[0], 0xFFFFFF); // levels still fade from white
    EXPECT_EQ(ApContourColour(doc, 0), 0u);

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
    doc.coverageMode = 0;
    EXPECT_EQ(ApContourColour(doc, 0), MakeRgb(10, 20, 30));
}

} // namespace
} // namespace tarvo
