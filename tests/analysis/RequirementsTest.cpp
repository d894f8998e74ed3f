#include "analysis/Requirements.h"

#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvo {
namespace {

using test::CFakeUi;

TEST(Requirement, ParsedFromLevelAndShare) {
    const auto plain = ParseRequirement("-67", false);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->levelDbm, -67.0);
    EXPECT_EQ(plain->areaPercent, 95.0);
    EXPECT_FALSE(plain->secondary);
    const auto both = ParseRequirement("-72.5:90%", true);
    ASSERT_TRUE(both);
    EXPECT_EQ(both->levelDbm, -72.5);
    EXPECT_EQ(both->areaPercent, 90.0);
    EXPECT_TRUE(both->secondary);
    EXPECT_EQ(ParseRequirement("-75:100", false)->areaPercent, 100.0);
    for (const char* bad : {"", "x", "-75:", "-75:101", "-75:-1", "-75:90%%", "-201", "51", "nan",
                            "-75:90:1", " -75"})
        EXPECT_FALSE(ParseRequirement(bad, false)) << bad;
}

// A coverage grid over X 0..10 (11 points) and Y 0..4 (2 points) whose
// strength rises linearly from -100 dBm at x = 0 to 0 dBm at x = 10.
CTarvoAnalyzerDoc RampDoc() {
    CTarvoAnalyzerDoc doc;
    doc.coveragePresent = true;
    doc.UseFeet = false;
    doc.projectionKind = kProjectionLinear;
    doc.linearPointsPresent = true;
    doc.AnalysisBox = {0.0, 0.0, 4.0, 10.0};
    doc.CoverageRows = 11;
    doc.CoverageCols = 2;
    for (int x = 0; x <= 10; ++x)
        for (int j = 0; j < 2; ++j)
            doc.StrengthMatrix.Add(-100.0 + 10.0 * x);
    return doc;
}

TEST(Requirement, ShareIsTheAreaAtOrAboveTheLevel) {
    const CTarvoAnalyzerDoc doc = RampDoc();
    // -40 dBm is reached at x = 6: 4 of the 10 metres, between grid points
    // too (-35 at x = 6.5); every level at or below the weakest covers all.
    EXPECT_NEAR(ShareOfBoxAtOrAbove(doc, doc.StrengthMatrix.Vector(), -40.0), 0.4, 1e-12);
    EXPECT_NEAR(ShareOfBoxAtOrAbove(doc, doc.StrengthMatrix.Vector(), -35.0), 0.35, 1e-12);
    EXPECT_NEAR(ShareOfBoxAtOrAbove(doc, doc.StrengthMatrix.Vector(), -100.0), 1.0, 1e-12);
    EXPECT_EQ(ShareOfBoxAtOrAbove(doc, doc.StrengthMatrix.Vector(), 1.0), 0.0);
    // A grid without cells counts its points.
    CTarvoAnalyzerDoc line = doc;
    line.CoverageCols = 1;
    line.StrengthMatrix.SetSize(11);
    for (int x = 0; x <= 10; ++x)
        line.StrengthMatrix[x] = -100.0 + 10.0 * x;
    EXPECT_NEAR(ShareOfBoxAtOrAbove(line, line.StrengthMatrix.Vector(), -40.0), 5.0 / 11, 1e-12);
}

TEST(Requirement, JudgedWithTheWorstPlaceAndTheVerdict) {
    CTarvoAnalyzerDoc doc = RampDoc();
    CRequirement r;
    r.levelDbm = -40.0;
    r.areaPercent = 40.0;
    const CRequirementResult pass = JudgeRequirement(doc, r, {});
    EXPECT_TRUE(pass.judged);
    EXPECT_NEAR(pass.sharePercent, 40.0, 1e-9);
    EXPECT_TRUE(pass.passed); // exactly the share asked for
    EXPECT_EQ(pass.worstDbm, -100.0);
    EXPECT_EQ(pass.worstX, 0.0);
    EXPECT_EQ(pass.worstY, 0.0);
    r.areaPercent = 40.5;
    EXPECT_FALSE(JudgeRequirement(doc, r, {}).passed);

    CFakeUi ui;
    const CRequirementTexts t = RequirementTexts(doc, pass, ui);
    EXPECT_EQ(RequirementLine(t), "strongest signal at or above -40 dBm on 40.0 % of the box: "
                                  "40.0 %, worst -100.0 dBm at Y 0.00 m, X 0.00 m: PASS");
    // The box moved to Y 0.3048, X 3.048 m: the worst place in feet.
    doc.AnalysisBox.minY = 0.3048;
    doc.AnalysisBox.minX = 3.048;
    doc.UseFeet = true;
    EXPECT_EQ(RequirementTexts(doc, JudgeRequirement(doc, r, {}), ui).worst,
              "-100.0 dBm at Y 1.00 Ft, X 10.00 Ft");

    // A secondary requirement without site levels, or no coverage: not
    // judged, so not met.
    r.secondary = true;
    const CRequirementResult unjudged = JudgeRequirement(doc, r, {});
    EXPECT_FALSE(unjudged.judged);
    EXPECT_FALSE(unjudged.passed);
    EXPECT_EQ(RequirementTexts(doc, unjudged, ui).verdict, "FAIL (no coverage)");
    doc.coveragePresent = false;
    EXPECT_FALSE(AllPassed(JudgeRequirements(doc, {DefaultRequirement(doc)})));
    EXPECT_TRUE(AllPassed({}));
}

TEST(Requirement, SecondaryRequirementUsesTheSecondLevel) {
    CTarvoAnalyzerDoc doc = RampDoc();
    CSiteApLevels levels;
    levels.rows = 11;
    levels.cols = 2;
    for (int x = 0; x <= 10; ++x)
        for (int j = 0; j < 2; ++j)
            levels.secondary.push_back(x < 5 ? -100.0 : -60.0);
    CRequirement r;
    r.secondary = true;
    r.levelDbm = -70.0;
    r.areaPercent = 50.0;
    // The second level steps from -100 to -60 between x = 4 and 5: -70
    // is crossed at 4.75, leaving 5.25 of 10 metres.
    const CRequirementResult result = JudgeRequirement(doc, r, levels);
    EXPECT_NEAR(result.sharePercent, 52.5, 1e-9);
    EXPECT_TRUE(result.passed);
    EXPECT_EQ(result.worstDbm, -100.0);
}

TEST(Requirement, ShareOfTheBoxWithinACircle) {
    const CBox box{0.0, 0.0, 100.0, 100.0};
    // pi * 20^2 / 100^2 = 12.57 %; a quarter of it in a corner.
    EXPECT_NEAR(ShareOfBoxWithin(box, 50.0, 50.0, 20.0), M_PI * 400 / 10000, 0.002);
    EXPECT_NEAR(ShareOfBoxWithin(box, 0.0, 0.0, 20.0), M_PI * 100 / 10000, 0.002);
    EXPECT_EQ(ShareOfBoxWithin(box, 50.0, 50.0, 200.0), 1.0);
    EXPECT_EQ(ShareOfBoxWithin({0.0, 0.0, 0.0, 10.0}, 0.0, 0.0, 5.0), 0.0);
}

} // namespace
} // namespace tarvo
