#include "analysis/Reliability.h"

#include "analysis/CoverageFixture.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvo {
namespace {

using test::CFakeUi;

TEST(InverseErf, InvertsTheErrorFunctionToTheStepWidth) {
    EXPECT_EQ(InverseErf(0.0), 0.0);
    EXPECT_EQ(InverseErf(1.001), 0.0); // beyond the last running sum
    // An independent route: erf of the result gives back v to within the
    // table's resolution (steps of 5/9999 in t, and pi taken as 3.1416).
    for (double v : {-0.95, -0.6, -0.2, 0.05, 0.4, 0.7, 0.99}) {
        const double t = InverseErf(v);
        EXPECT_NEAR(std::erf(t), v, 1e-3) << v;
        EXPECT_EQ(std::signbit(t), v < 0) << v;
    }
}

TEST(ReliabilityRadii, NormalSpreadAroundTheFittedLine) {
    CAPInfo ap;
    ap.slope = -30.0;
    ap.intercept = -40.0;
    ap.sigma = 5.0;
    ComputeReliabilityRadii(ap, -90);
    // 10 %: z = 0.90534 * 1.414 = 1.28015; 10^((-90 - 6.4007 + 40) / -30).
    EXPECT_NEAR(ap.levels[0], 75.862, 1e-3);
    // 50 %: z = 0, the distance where the line itself reaches -90 dBm.
    EXPECT_NEAR(ap.levels[4], std::pow(10.0, 50.0 / 30.0), 1e-9);
    // 90 %: z = -1.28015.
    EXPECT_NEAR(ap.levels[8], 28.399, 1e-3);
    for (int k = 1; k < kReliabilityLevels; ++k)
        EXPECT_LT(ap.levels[k], ap.levels[k - 1]); // likelier means nearer
}

TEST(ReliabilityAnalysis, ListsSelectedApsWithoutAModel) {
    CAPInfo good = test::FlatAp(1, 0, 0, 10, -50);
    good.valid = 1;
    good.slope = -25.0;
    CAPInfo flat = test::FlatAp(2, 0, 0, 10, -50);
    flat.valid = 1;
    flat.slope = -10.0; // not below -10.0
    flat.name = "Lobby";
    CTarvoAnalyzerDoc doc = test::ProcessedDoc({good, flat});
    CFakeUi ui;
    EXPECT_EQ(RunReliabilityAnalysis(doc, ui), 1);
    EXPECT_EQ(ui.Said(),
              "Invalid AP: No enough points for the following AP: \n 00-11-22-33-44-02\n \n");
    EXPECT_GT(doc.aps[0].levels[0], 0.0);
    EXPECT_EQ(doc.aps[1].levels[0], 0.0);

    // Without merging the AP's name follows its MAC; with no AP qualifying
    // "No Valid AP" follows.
    doc.MergeApsAcrossFiles = false;
    doc.aps[0].selected = 0;
    CFakeUi none;
    EXPECT_EQ(RunReliabilityAnalysis(doc, none), 0);
    EXPECT_EQ(none.Said(),
              "Invalid AP: No enough points for the following AP: \n "
              "00-11-22-33-44-02 Lobby \n \n\nNo Valid AP: No seleted AP has enough point!");
}

} // namespace
} // namespace tarvo
