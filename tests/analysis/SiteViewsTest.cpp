#include "analysis/SiteViews.h"

#include "CoverageFixture.h"
#include "analysis/Coverage.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarvo {
namespace {

using test::CFakeUi;
using test::MakeAp;

// An AP whose own matrix is given: a selected AP with three thinned
// samples, a sample box and a rows x columns matrix over it.
CAPInfo MatrixAp(std::uint8_t id, int channel, double width, std::vector<double> matrix,
                 int rows = 2, int columns = 2) {
    CAPInfo ap = MakeAp(id, {{0, 0, -60}, {10, 0, -60}, {0, width, -60}});
    ap.channel = channel;
    ap.origin = {0.0, 0.0};
    ap.extent = {10.0, width};
    ap.rows = rows;
    ap.columns = columns;
    ap.matrix.Vector() = std::move(matrix);
    return ap;
}

TEST(ApMatrixValue, BilinearBetweenGridPointsInsideTheSampleBoxOnly) {
    // Rows along X at 0, 2, 4; columns along Y at 0, 10; value 10 r + c.
    CAPInfo ap = MatrixAp(1, 1, 4.0, {0, 1, 10, 11, 20, 21}, 3, 2);
    EXPECT_DOUBLE_EQ(*ApMatrixValueAt(ap, 5.0, 1.0), 5.5);   // the four corners' mean
    EXPECT_DOUBLE_EQ(*ApMatrixValueAt(ap, 10.0, 3.0), 16.0); // column 1, between rows 1 and 2
    EXPECT_DOUBLE_EQ(*ApMatrixValueAt(ap, 10.0, 4.0), 21.0); // the far corner is inside
    EXPECT_FALSE(ApMatrixValueAt(ap, 5.0, 4.01));
    EXPECT_FALSE(ApMatrixValueAt(ap, -0.01, 1.0));
    ap.matrix.SetSize(5); // not rows x columns
    EXPECT_FALSE(ApMatrixValueAt(ap, 5.0, 1.0));
    // A single grid point along X: the value holds across the box.
    CAPInfo flat = MatrixAp(2, 1, 4.0, {-70, -80}, 1, 2);
    EXPECT_DOUBLE_EQ(*ApMatrixValueAt(flat, 2.5, 3.9), -72.5);
}

// Three selected APs over X 0..10 (A, B) and 0..12 (C), Y 0..10, their
// matrices linear in X so that the bilinear values are exact: A = -50 - 5x
// and B = -100 + 5x share channel 36, C = -95 everywhere is on channel 1.
// An unselected AP and one with two thinned samples would be strongest
// everywhere if they counted. The coverage grid has X = 0, 1, ... 12 and
// Y = 0, 5, 10; its strength is the largest of the three.
CTarvoAnalyzerDoc TwoApsOnOneChannel() {
    CTarvoAnalyzerDoc doc = test::ProcessedDoc(
        {MatrixAp(1, 36, 10.0, {-50, -50, -100, -100}),
         MatrixAp(2, 36, 10.0, {-100, -100, -50, -50}), MatrixAp(3, 1, 12.0, {-95, -95, -95, -95}),
         MatrixAp(4, 36, 12.0, {-30, -30, -30, -30}), MatrixAp(5, 36, 12.0, {-30, -30, -30, -30})});
    doc.aps[3].selected = 0;
    doc.aps[4].filteredSamples.SetSize(2);
    doc.coveragePresent = true;
    doc.AnalysisBox = {0.0, 0.0, 10.0, 12.0};
    doc.CoverageRows = 13;
    doc.CoverageCols = 3;
    for (int x = 0; x <= 12; ++x)
        for (int j = 0; j < 3; ++j) {
            const double a = x <= 10 ? -50.0 - 5 * x : -100.0,
                         b = x <= 10 ? -100.0 + 5 * x : -100.0;
            doc.StrengthMatrix.Add(std::max({a, b, -95.0}));
        }
    return doc;
}

TEST(SiteApLevels, StrongestApSecondLevelAndCoChannelOverlap) {
    CTarvoAnalyzerDoc doc = TwoApsOnOneChannel();
    const CSiteApLevels levels = ComputeSiteApLevels(doc, -85.0);
    ASSERT_EQ(levels.rows, 13);
    // Per X, worked out from the three lines: A is strongest up to the tie
    // at x = 5 (the first AP wins it), B beyond, C alone past x = 10.
    const int strongest[] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2};
    const double second[] = {-95, -95, -90, -85, -80, -75, -80, -85, -90, -95, -95, -100, -100};
    // The other AP of channel 36 at or above -85: B from x = 3, A up to x = 7.
    const int overlap[] = {0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
    for (int x = 0; x <= 12; ++x)
        for (int j = 0; j < 3; ++j) {
            const std::size_t at = static_cast<std::size_t>(3 * x + j);
            EXPECT_EQ(levels.strongestAp[at], strongest[x]) << x;
            EXPECT_NEAR(levels.secondary[at], second[x], 1e-9) << x;
            EXPECT_EQ(levels.coChannel[at], overlap[x]) << x;
            EXPECT_LE(levels.secondary[at], doc.StrengthMatrix[static_cast<int>(at)]);
        }
    // At -100 B counts everywhere A is strongest; C, on channel 1, never.
    EXPECT_EQ(ComputeSiteApLevels(doc, -100.0).coChannel[0], 1);
    // The same on any number of threads.
    const CSiteApLevels one = ComputeSiteApLevels(doc, -85.0, 1),
                        four = ComputeSiteApLevels(doc, -85.0, 4);
    EXPECT_EQ(one.strongestAp, four.strongestAp);
    EXPECT_EQ(one.secondary, four.secondary);
    EXPECT_EQ(one.coChannel, four.coChannel);
}

TEST(SiteApLevels, SecondLevelNeverAboveTheSiteStrengthAndNothingWithoutCoverage) {
    CTarvoAnalyzerDoc doc = TwoApsOnOneChannel();
    doc.StrengthMatrix[3 * 5] = -80.0; // the site-wide prediction is lower here
    EXPECT_EQ(ComputeSiteApLevels(doc, -85.0).secondary[3 * 5], -80.0);
    // Outside every AP's box: nothing heard.
    doc.AnalysisBox = {0.0, 20.0, 10.0, 12.0};
    const CSiteApLevels away = ComputeSiteApLevels(doc, -85.0);
    EXPECT_EQ(away.strongestAp[0], -1);
    EXPECT_EQ(away.coChannel[0], -1);
    EXPECT_EQ(away.secondary[0], -100.0);
    doc.coveragePresent = false;
    EXPECT_TRUE(ComputeSiteApLevels(doc, -85.0).IsEmpty());
    doc.coveragePresent = true;
    doc.StrengthMatrix.SetSize(7); // not the grid's
    EXPECT_TRUE(ComputeSiteApLevels(doc, -85.0).IsEmpty());
}

TEST(SiteApLevels, MarginAtASampleIsItsLevelOverItsNoise) {
    // One AP without a model: at the grid's corners, which are its samples,
    // the margin is the sample's level minus its noise floor.
    CTarvoAnalyzerDoc doc = test::ProcessedDoc(
        {MakeAp(1, {{0, 0, -60, -95}, {10, 0, -70, -90}, {0, 10, -65, -97}, {10, 10, -80, -92}})});
    CFakeUi ui;
    ASSERT_EQ(ProcessCoverage(doc, ui), CoverageOutcome::Computed);
    const int rows = doc.CoverageRows, cols = doc.CoverageCols;
    ASSERT_GE(rows, 2);
    ASSERT_GE(cols, 2);
    EXPECT_NEAR(doc.MarginMatrix[0], 35.0, 1e-6);                            // y 0, x 0
    EXPECT_NEAR(doc.MarginMatrix[cols - 1], 20.0, 1e-6);                     // y 10, x 0
    EXPECT_NEAR(doc.MarginMatrix[(rows - 1) * cols], 32.0, 1e-6);            // y 0, x 10
    EXPECT_NEAR(doc.MarginMatrix[(rows - 1) * cols + cols - 1], 12.0, 1e-6); // y 10, x 10
}

} // namespace
} // namespace tarvo
