#include "analysis/Coverage.h"

#include "analysis/Coordinates.h"
#include "analysis/CoverageFixture.h"
#include "reference/PlainCoverage.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace tarvo {
namespace {

using test::CFakeUi;
using test::FlatAp;
using test::MakeAp;
using test::ProcessedDoc;

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

CTarvoAnalyzerDoc BoxDoc(double extentX, double extentY, double resolution) {
    CTarvoAnalyzerDoc doc;
    doc.AnalysisBox = {5.0, -3.0, extentY, extentX};
    doc.Resolution = resolution;
    doc.UseFeet = false;
    return doc;
}

TEST(Grid, CountsAndAxesAtTheirEdges) {
    EXPECT_EQ(GridCount(10.0, 0.3), 33);
    EXPECT_EQ(GridCount(10.0, 20.0), 1);
    EXPECT_EQ(GridCount(0.0, 1.0), 1);
    EXPECT_EQ(GridCount(std::nan(""), 1.0), 1);
    EXPECT_EQ(GridCount(10.0, std::nan("")), 1);
    EXPECT_EQ(GridCount(10.0, 0.0), kMaxGridPointsPerAxis);
    EXPECT_EQ(GridAxis(2.0, 6.0, 4), (std::vector<double>{2.0, 4.0, 6.0, 8.0}));
    EXPECT_EQ(GridAxis(2.0, 6.0, 1), (std::vector<double>{5.0}));
    EXPECT_TRUE(GridAxis(2.0, 6.0, 0).empty());
}

TEST(CoverageGridSize, ResolutionClampedBetweenFineAndCoarse) {
    CTarvoAnalyzerDoc doc = BoxDoc(100, 50, 1.0); // fine 0.5, coarse 2.5
    CCoverageGridSize s = SizeCoverageGrid(doc);
    EXPECT_TRUE(s.usable);
    EXPECT_EQ(s.low, 0.5);
    EXPECT_EQ(s.high, 2.5);
    EXPECT_EQ(doc.CoverageRows, 100);
    EXPECT_EQ(doc.CoverageCols, 50);
    doc.Resolution = 0.1; // below fine: 200 points along the longer side
    SizeCoverageGrid(doc);
    EXPECT_EQ(doc.CoverageRows, 200);
    doc.Resolution = std::nan("");
    doc.UseFeet = true;
    s = SizeCoverageGrid(doc);
    EXPECT_EQ(doc.Resolution, 2.5);
    EXPECT_STREQ(s.unit, "Ft");
    EXPECT_NEAR(s.displayValue, 2.5 / 0.3048, 1e-12);

    CTarvoAnalyzerDoc elongated = BoxDoc(400, 20, 7.0); // fine 2 >= coarse 1
    s = SizeCoverageGrid(elongated);
    EXPECT_EQ(elongated.Resolution, 1.0);
    EXPECT_EQ(s.high, 2.0);
    EXPECT_EQ(elongated.CoverageRows, 400);
}

TEST(CoverageGridSize, DegenerateBoxesStayBounded) {
    // A straight walk: the grid is held to its cap instead of 20 million
    // points along X.
    CTarvoAnalyzerDoc thin = BoxDoc(1000, 0.001, 0.0);
    SizeCoverageGrid(thin);
    EXPECT_EQ(thin.CoverageRows, kMaxGridPointsPerAxis);
    EXPECT_EQ(thin.CoverageCols, 1);
    EXPECT_EQ(thin.Resolution, 0.5);
    // Zero extent on one axis: one grid point there, the other axis alone
    // sets the range.
    CTarvoAnalyzerDoc line = BoxDoc(0, 100, 0.0);
    EXPECT_EQ(SizeCoverageGrid(line).high, 5.0);
    EXPECT_EQ(line.CoverageRows, 1);
    EXPECT_EQ(line.CoverageCols, 200);
    // Nothing to cover: refused, Resolution untouched.
    for (double e : {0.0, std::nan(""), -0.0}) {
        CTarvoAnalyzerDoc point = BoxDoc(e, e, 3.0);
        EXPECT_FALSE(SizeCoverageGrid(point).usable);
        EXPECT_EQ(point.CoverageRows, 0);
        EXPECT_EQ(point.Resolution, 3.0);
    }
}

TEST(CoverageGrid, TwoApsAboveAndBelowTheThreshold) {
    // APs predicting -70 and -95 over the same box; PowerLow -90: one AP
    // reaches the threshold, so the count is 1.01 and the strength -70.
    CTarvoAnalyzerDoc doc =
        ProcessedDoc({FlatAp(1, 0, 0, 10, -70.0, -80), FlatAp(2, 0, 0, 10, -95.0, -99)});
    CFakeUi ui;
    ASSERT_EQ(ProcessCoverage(doc, ui), CoverageOutcome::Computed);
    ASSERT_EQ(doc.StrengthMatrix.size(),
              static_cast<std::size_t>(doc.CoverageRows) * doc.CoverageCols);
    for (int k = 0; k < doc.StrengthMatrix.GetSize(); ++k) {
        EXPECT_NEAR(doc.StrengthMatrix[k], -70.0, 1e-9);
        EXPECT_NEAR(doc.ApCountMatrix[k], 1.01, 1e-12);
        // margins -70 - (-80) = 10 and -95 - (-99) = 4: the larger one
        EXPECT_NEAR(doc.MarginMatrix[k], 10.0, 1e-9);
    }
    EXPECT_EQ(doc.coverageDisplayType, kDisplayStrengthBands);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.progress.Positions().back(), 100);
    EXPECT_FALSE(ui.progress.Visible());
    // Scale ends: both start from the first thinned RSSI of the last AP
    // used (-95); nothing on the grid is weaker, -70 is stronger.
    EXPECT_EQ(doc.strengthScaleLow, -95.0);
    EXPECT_NEAR(doc.strengthScaleHigh, -70.0, 1e-9);

    // Scale ends are limited to -100 .. -30.
    doc = ProcessedDoc({FlatAp(1, 0, 0, 10, -20.0), FlatAp(2, 0, 20, 10, -120.0)});
    ASSERT_EQ(ProcessCoverage(doc, ui), CoverageOutcome::Computed);
    EXPECT_EQ(doc.strengthScaleHigh, -30.0);
    EXPECT_EQ(doc.strengthScaleLow, -100.0);
}

TEST(CoverageGrid, PointsOutsideEveryBoxAndOnBoxEdges) {
    // Boxes [0,10] and [20,30] in X; X grid 0, 5, ..., 30: x = 15 lies in
    // neither, x = 10 and x = 20 lie on an edge and count as inside.
    CTarvoAnalyzerDoc doc = ProcessedDoc({FlatAp(1, 0, 0, 10, -60.0), FlatAp(2, 0, 20, 10, -80.0)});
    doc.AnalysisBox = {0.0, 0.0, 10.0, 30.0};
    doc.CoverageRows = 7;
    doc.CoverageCols = 3;
    CNullProgress progress;
    const CCoverageGridValues g = ComputeCoverageGrid(doc, progress);
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(g.strength[3 * 3 + j], -100.0);
        EXPECT_EQ(g.margin[3 * 3 + j], -100.0);
        EXPECT_EQ(g.apCount[3 * 3 + j], 0.01);
        EXPECT_NEAR(g.strength[2 * 3 + j], -60.0, 1e-9); // x = 10
        EXPECT_NEAR(g.strength[4 * 3 + j], -80.0, 1e-9); // x = 20
    }
    EXPECT_NEAR(g.scaleLow, -80.0, 1e-9); // only points with an AP count
}

TEST(CoverageGrid, ValidApMixesItsModelEvenAtSlopeMinusTen) {
    CAPInfo ap = FlatAp(1, 0, 0, 10, -50.0);
    ap.valid = 1;
    ap.slope = -10.0;
    ap.intercept = -30.0;
    ap.position = {0.0, 0.0};
    CTarvoAnalyzerDoc doc = ProcessedDoc({ap});
    doc.AnalysisBox = {0.0, 0.0, 10.0, 10.0};
    doc.CoverageRows = 2;
    doc.CoverageCols = 2;
    CNullProgress progress;
    const CCoverageGridValues g = ComputeCoverageGrid(doc, progress);
    // (x 10, y 0): distance 10, model -40; 0.6 * -40 + 0.4 * -50 = -44.
    EXPECT_NEAR(g.strength[1 * 2 + 0], -44.0, 1e-9);
    // (x 0, y 0) is the AP itself: no model value there, the interpolation
    // alone (not +infinity).
    EXPECT_NEAR(g.strength[0], -50.0, 1e-9);
}

// A study with many APs, overlapping boxes, samples on shared positions
// (equal distances everywhere) and a valid model: the program's path must
// equal the plain one to the last bit for any thread count. With many
// samples per AP the program looks them up by cells; two APs have all
// samples on one line or one spot, and one AP's box reaches beyond its
// thinned samples (as the no-signal samples can make it).
CTarvoAnalyzerDoc RandomStudy(unsigned seed, int samplesPerAp) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> coord(0, 12), rssi(-95, -35), level(-100, -85);
    std::vector<CAPInfo> aps;
    for (int a = 0; a < 8; ++a) {
        std::vector<test::CApSample> samples;
        const double y0 = coord(rng) * 2.0, x0 = coord(rng) * 3.0;
        for (int s = 0; s < samplesPerAp; ++s) {
            const double dy = a == 6 ? 0.0 : coord(rng) * 0.5, dx = a == 7 ? 0.0 : coord(rng);
            samples.push_back(
                {y0 + (a == 7 ? 0.0 : dy), x0 + dx, rssi(rng) + 0.25 * (s % 4), level(rng)});
        }
        CAPInfo ap = MakeAp(static_cast<std::uint8_t>(a + 1), samples);
        ap.valid = a % 2;
        ap.slope = -22.5;
        ap.intercept = -31.0;
        aps.push_back(ap);
    }
    aps[3].selected = 0;
    aps[5].origin = {-6.0, -9.0};
    aps[5].extent = {40.0, 60.0};
    return ProcessedDoc(aps);
}

TEST(CoverageGrid, FastPathEqualsThePlainOneBitForBit) {
    for (const auto& [seed, samples] :
         {std::pair{11u, 25}, std::pair{12u, 25}, std::pair{13u, 160}, std::pair{14u, 90}}) {
        CTarvoAnalyzerDoc doc = RandomStudy(seed, samples);
        ComputeViewExtent(doc, 0, 0);
        doc.Resolution = 0.0;
        SizeCoverageGrid(doc);
        CNullProgress progress;
        const test::CPlainCoverage ref = test::PlainCoverage(doc);
        for (unsigned threads : {1u, 2u, 3u, 0u}) {
            const CCoverageGridValues got = ComputeCoverageGrid(doc, progress, threads);
            EXPECT_TRUE(SameBits(got.strength, ref.strength)) << threads;
            EXPECT_TRUE(SameBits(got.margin, ref.margin)) << threads;
            EXPECT_TRUE(SameBits(got.apCount, ref.apCount)) << threads;
            EXPECT_EQ(got.scaleLow, ref.scaleLow);
            EXPECT_EQ(got.scaleHigh, ref.scaleHigh);
        }
    }
}

TEST(ProcessCoverage, RefusalsKeepTheMatrices) {
    CTarvoAnalyzerDoc doc = ProcessedDoc({MakeAp(2, {{0, 0, -50}, {1, 1, -60}})});
    doc.StrengthMatrix = {1.0, 2.0};
    doc.coveragePresent = true;
    CFakeUi ui;
    EXPECT_EQ(ProcessCoverage(doc, ui), CoverageOutcome::NoValidAp);
    EXPECT_EQ(ui.Said(), "No Valid AP: Please Select Valid AP!");
    EXPECT_FALSE(doc.coveragePresent);
    EXPECT_EQ(doc.StrengthMatrix, (CArray<double>{1.0, 2.0}));
    EXPECT_FALSE(ui.progress.Visible());

    // Before processing the analysis box is not recomputed; a box without
    // extent must not reach the grid.
    doc = ProcessedDoc({FlatAp(1, 0, 0, 10, -60.0)});
    doc.processed = false;
    doc.AnalysisBox = {3.0, 4.0, 0.0, 0.0};
    EXPECT_EQ(ProcessCoverage(doc, ui), CoverageOutcome::EmptyArea);
    EXPECT_EQ(ui.messages.back().title, "Invalid Area");
}

TEST(ProcessCoverage, ApsWithTooFewSamplesAreQuestioned) {
    CAPInfo good = FlatAp(1, 0, 0, 10, -60.0);
    CAPInfo few = MakeAp(2, {{0, 0, -50}, {1, 1, -40}});
    CAPInfo none = MakeAp(3, {{2, 2, -30}});
    none.filteredSamples.RemoveAll();
    CTarvoAnalyzerDoc doc = ProcessedDoc({good, few});
    CFakeUi ui;
    ui.QueueAnswer(MsgAnswer::Yes);
    ASSERT_EQ(ProcessCoverage(doc, ui), CoverageOutcome::Computed);
    EXPECT_EQ(ui.Said(), "Invalid AP: No enough points for the following AP: \n "
                         "00-11-22-33-44-02, Net2 \n \n Remove it in the processing?");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(doc.aps[1].selected, 0);

    doc = ProcessedDoc({few, good, none});
    CFakeUi no;
    no.QueueAnswer(MsgAnswer::No);
    ASSERT_EQ(ProcessCoverage(doc, no), CoverageOutcome::Computed);
    EXPECT_EQ(no.messages[0].text, "No enough points for the following APs: \n "
                                   "00-11-22-33-44-02, Net2 \n00-11-22-33-44-03, Net3 \n \n "
                                   "Remove them in the processing?");
    // Kept selected, but skipped: the strong short AP does not count.
    EXPECT_EQ(doc.aps[0].selected, 1);
    for (double v : doc.StrengthMatrix)
        EXPECT_LE(v, -59.0);
}

TEST(ProcessCoverage, CancelKeepsThePreviousResults) {
    CTarvoAnalyzerDoc doc = ProcessedDoc({FlatAp(1, 0, 0, 10, -70.0), FlatAp(2, 0, 0, 10, -95.0)});
    CFakeUi first;
    ASSERT_EQ(ProcessCoverage(doc, first), CoverageOutcome::Computed);
    const CTarvoAnalyzerDoc before = doc;

    // A different study, whose grid has another number of points across.
    doc.aps[0] = test::MakeAp(1, {{0, 0, -50}, {40, 0, -50}, {0, 10, -50}, {40, 10, -50}});
    CFakeUi ui;
    ui.progress.CancelAtText("Calculating Coverage...");
    EXPECT_EQ(ProcessCoverage(doc, ui), CoverageOutcome::Cancelled);
    EXPECT_FALSE(doc.coveragePresent);
    EXPECT_EQ(doc.StrengthMatrix, before.StrengthMatrix);
    EXPECT_EQ(doc.ApCountMatrix, before.ApCountMatrix);
    EXPECT_EQ(doc.coverageDrawings, before.coverageDrawings);
    EXPECT_EQ(doc.CoverageRows, before.CoverageRows);
    EXPECT_EQ(doc.CoverageCols, before.CoverageCols);
    EXPECT_FALSE(ui.progress.Visible());
    EXPECT_TRUE(ui.messages.empty());
}

TEST(CoverageContours, LevelsAndPerLevelCounts) {
    CTarvoAnalyzerDoc doc = ProcessedDoc({FlatAp(1, 0, 0, 10, -70.0), FlatAp(2, 0, 0, 10, -95.0)});
    CFakeUi ui;
    ASSERT_EQ(ProcessCoverage(doc, ui), CoverageOutcome::Computed);
    const int cellRows = doc.CoverageCols - 1; // rows of cells along Y
    // Strength levels -90, -84, -78, -72 lie below -70 everywhere: one
    // merged rectangle per row of cells; -66 and above: nothing.
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(doc.coverageTables[0][k], 0) << k;
        EXPECT_EQ(doc.coverageTables[1][k], k <= 3 ? cellRows : 0) << k;
    }
    EXPECT_EQ(doc.coverageDrawings[0].areas.GetSize(), 4 * cellRows);
    // AP count 1.01: only level 1.0 is reached.
    EXPECT_EQ(doc.coverageTables[5][0], cellRows);
    EXPECT_EQ(doc.coverageTables[5][1], 0);
    // No margin contours; working arrays left empty.
    EXPECT_TRUE(doc.coverageDrawings[1].areas.IsEmpty());
    EXPECT_TRUE(doc.workAreas.IsEmpty());

    doc.StrengthMatrix.SetSize(3); // not the grid's size: no contours
    ComputeCoverageContours(doc);
    EXPECT_TRUE(doc.coverageDrawings[0].areas.IsEmpty());
}

TEST(ApContours, LevelColoursAndTheApMatrixPerLevel) {
    const auto c = ApLevelColours(MakeRgb(200, 100, 0));
    EXPECT_EQ(c[0], MakeRgb(255, 255, 255));
    EXPECT_EQ(c[2], MakeRgb(232, 192, 153)); // s 0.6: 80 + 153, 40 + 153, 0 + 153 (truncated)
    EXPECT_EQ(c[5], MakeRgb(200, 100, 0));
    EXPECT_EQ(c[9], MakeRgb(104, 52, 0)); // 52 %

    CAPInfo ap = FlatAp(1, 0, 0, 9, -60.0);
    // A ramp from -90 at X index 0 to -30 at X index 3, 4 x 3 points.
    ap.rows = 4;
    ap.columns = 3;
    ap.matrix = {-90, -90, -90, -70, -70, -70, -50, -50, -50, -30, -30, -30};
    CTarvoAnalyzerDoc doc = ProcessedDoc({ap});
    ComputeApContours(doc, 0, MakeRgb(0, 0, 255));
    const CAPInfo& a = doc.aps[0];
    int lines = 0;
    for (int k = 0; k < 10; ++k) {
        lines += a.table1[k];
        EXPECT_GT(a.table2[k], 0) << k; // every level up to -36 is reached somewhere
    }
    EXPECT_EQ(lines, a.lines.GetSize());
    EXPECT_EQ(a.table3[5], static_cast<std::int32_t>(MakeRgb(0, 0, 255)));
    // Lines at -84 (k = 1) lie at x = 0.3 * 3 = 0.9 (grid x step 3).
    for (int s = a.table1[0]; s < a.table1[0] + a.table1[1]; ++s)
        EXPECT_NEAR(a.lines[s].v[0], 0.9, 1e-12);

    doc.aps[0].matrix.SetSize(5); // not rows x columns
    ComputeApContours(doc, 0, 0);
    EXPECT_TRUE(doc.aps[0].areas.IsEmpty());
    EXPECT_THROW(ComputeApContours(doc, 1, 0), std::invalid_argument);
}

} // namespace
} // namespace tarvo
