#include "analysis/Estimation.h"

#include "analysis/Numerics.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace tarvo {
namespace {

// One AP in an otherwise empty document (no measurement points, so no
// no-signal samples are added).
struct CSingleAp {
    CTarvoAnalyzerDoc doc;
    test::CFakeUi ui;

    CSingleAp(const std::vector<CData>& samples, int frequency, int minPoints) {
        CAPInfo ap;
        ap.frequency = frequency;
        ap.samples.Vector() = samples;
        doc.aps.Add(ap);
        doc.MinPointsForEstimate = minPoints;
    }
    const CAPInfo& Run() {
        EstimateAps(doc, ui.progress);
        return doc.aps[0];
    }
};

// A walk over a rectangle around an AP at (apY, apX) with a log-distance
// model and Gaussian noise.
std::vector<CData> Walk(std::mt19937& random, int count, double height, double width, double apY,
                        double apX, double intercept, double slope, double noise) {
    std::uniform_real_distribution<double> uy(0, height), ux(0, width);
    std::normal_distribution<double> n(0, noise);
    std::vector<CData> out;
    for (int i = 0; i < count; ++i) {
        const double y = uy(random), x = ux(random);
        const double d = std::sqrt((y - apY) * (y - apY) + (x - apX) * (x - apX));
        const double rssi = intercept + slope * std::log10(std::max(d, 0.5)) + n(random);
        out.push_back({y, x, std::round(rssi * 16) / 16, static_cast<int>(i % 7) - 90});
    }
    return out;
}

TEST(EstimationTest, GridCountsFollowTheShorterSide) {
    // extentY 5, extentX 50: resolution 0.25, 20 columns (Y), 200 rows (X).
    CSingleAp box({{0, 0, -50, 0}, {5, 50, -60, 0}, {2, 20, -55, 0}}, -1, 20);
    const CAPInfo& ap = box.Run();
    EXPECT_EQ(box.doc.Resolution, 0.25);
    EXPECT_EQ(ap.columns, 20);
    EXPECT_EQ(ap.rows, 200);
    EXPECT_EQ(ap.matrix.GetSize(), 4000);
    EXPECT_EQ(ap.extent, (std::array<double, 2>{5, 50}));

    // A zero extent keeps 20 x 20 and the resolution, with a zero step: every
    // Y index of one X index has the same value.
    CSingleAp line({{3, 0, -50, 0}, {3, 10, -60, 0}, {3, 5, -70, 0}}, -1, 20);
    line.doc.Resolution = 7.0;
    const CAPInfo& flat = line.Run();
    EXPECT_EQ(flat.rows, 20);
    EXPECT_EQ(flat.columns, 20);
    EXPECT_EQ(line.doc.Resolution, 7.0);
    for (int r = 0; r < 20; ++r)
        EXPECT_EQ(flat.matrix[r * 20 + 19], flat.matrix[r * 20]);

    // A very thin box is held to the cap along its long side.
    CSingleAp thin({{0, 0, -50, 0}, {0.001, 100, -60, 0}, {0.0005, 50, -70, 0}}, -1, 20);
    const CAPInfo& capped = thin.Run();
    EXPECT_EQ(capped.rows, kMaxGridPointsPerAxis);
    ASSERT_EQ(capped.matrix.GetSize(), 20 * kMaxGridPointsPerAxis);
    for (double v : capped.matrix)
        ASSERT_TRUE(std::isfinite(v));
}

TEST(EstimationTest, MinimumPointsDecideTheSearchAndThreeTheMatrix) {
    const std::vector<CData> five{
        {0, 0, -40, 0}, {0, 8, -55, 0}, {6, 0, -60, 0}, {6, 8, -70, 0}, {3, 4, -45, 0}};
    CSingleAp exact(five, -1, 5);
    exact.doc.aps[0].position = {-7, -7};
    EXPECT_NE(exact.Run().position, (std::array<double, 2>{-7, -7}));

    CSingleAp fewer(five, -1, 6);
    fewer.doc.aps[0].position = {-7, -7};
    fewer.doc.aps[0].slope = -33;
    const CAPInfo& ap = fewer.Run();
    EXPECT_EQ(ap.position, (std::array<double, 2>{-7, -7}));
    EXPECT_EQ(ap.matrix.GetSize(), ap.rows * ap.columns);
    EXPECT_FALSE(ap.valid);
    EXPECT_EQ(ap.slope, -33); // kept: no valid model this time

    CSingleAp two({{0, 0, -40, 0}, {0, 8, -55, 0}}, -1, 1);
    two.doc.aps[0].matrix.Vector() = {1.0, 2.0};
    two.doc.aps.Add(CAPInfo{}); // an AP without samples is left alone
    const CAPInfo& small = two.Run();
    EXPECT_EQ(small.matrix.Vector(), (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(small.rows, 20);
    EXPECT_EQ(two.ui.progress.Texts(), std::vector<std::string>{"Process 1 out of 2 APs...."});
    EXPECT_EQ(two.doc.aps[1].rows, 0);
}

TEST(EstimationTest, SearchCapsAndCandidateGrid) {
    EXPECT_EQ(SearchHalfWidthCap(-25.0), 3.0);
    EXPECT_EQ(SearchHalfWidthCap(-30.0), 6.0);
    EXPECT_EQ(SearchHalfWidthCap(-59.9), 12.0);
    EXPECT_TRUE(std::isinf(SearchHalfWidthCap(-60.0)));

    // Strongest -25 dBm at (5, 20) on a 10 x 40 m box: the search spans
    // +-2.5 m in Y (a quarter of 10) and +-3.0 m in X (10, capped), so the
    // position lies on a 31 x 31 grid of those half-widths.
    std::mt19937 random(3);
    std::vector<CData> walk = Walk(random, 60, 10, 40, 9, 38, -45, -20, 1);
    walk.insert(walk.end(), {{0, 0, -70, 0}, {10, 40, -70, 0}, {5, 20, -25, 0}});
    CSingleAp one(walk, -1, 20);
    const CAPInfo& ap = one.Run();
    const double i = (ap.position[0] - (5 - 2.5)) / (5.0 / 30);
    EXPECT_NEAR(i, std::round(i), 1e-9);
    EXPECT_TRUE(i > -1e-9 && i < 30 + 1e-9) << i;
    // The true AP is far to the upper right: the search ends on the border.
    EXPECT_DOUBLE_EQ(ap.position[1], 23.0);
}

TEST(EstimationTest, ARisingFitIsNotKept) {
    // RSSI that grows slowly with distance: the best candidates fit with a
    // slope between 0 and 5 and are passed over for the next best.
    std::mt19937 random(5);
    CSingleAp one(Walk(random, 80, 20, 20, 10, 10, -70, 3, 0.5), -1, 20);
    const CAPInfo& ap = one.Run();
    std::vector<double> rssi, logDistance;
    for (const CData& s : ap.filteredSamples) {
        rssi.push_back(s.rssi);
        logDistance.push_back(std::log10(std::hypot(s.y - ap.position[0], s.x - ap.position[1])));
    }
    const double slope = LeastSquaresSlope(rssi, logDistance);
    EXPECT_FALSE(slope > 0.0 && slope < 5.0) << slope;
    EXPECT_FALSE(ap.valid);
}

// Samples on the integer points with odd x + y of a 19 x 19 m box, with an
// exact model around (10, 10) where no sample lies. The strongest sample is
// (9, 10) at -20 dBm, so the search spans +-3 m and candidates at every
// fifth step are whole metres: many sit on samples (non-finite error),
// candidate 0 (6, 7) among them, and the true position is a candidate and a
// grid point of the 20 x 20 matrix.
std::vector<CData> Lattice() {
    std::vector<CData> samples;
    for (int y = 0; y <= 19; ++y)
        for (int x = 0; x <= 19; ++x)
            if ((x + y) % 2 == 1) {
                const double d = std::sqrt((y - 10.0) * (y - 10.0) + (x - 10.0) * (x - 10.0));
                samples.push_back({double(y), double(x), -20.0 - 30.0 * std::log10(d), 0});
            }
    return samples;
}

TEST(EstimationTest, AnExactModelIsFoundAndTheApPointTakesTheInterpolation) {
    // A candidate on a sample is never chosen, candidate 0 included: the
    // search does not stop on that corner of its box.
    CSingleAp one(Lattice(), -1, 20);
    const CAPInfo& ap = one.Run();
    EXPECT_EQ(ap.position, (std::array<double, 2>{10.0, 10.0}));
    EXPECT_TRUE(ap.valid);
    EXPECT_NEAR(ap.slope, -30.0, 1e-6);
    EXPECT_NEAR(ap.intercept, -20.0, 1e-6);
    EXPECT_NEAR(ap.sigma, 0.0, 1e-6);
    for (double v : ap.matrix)
        ASSERT_TRUE(std::isfinite(v));
    // On the AP the model has no value; the interpolation of its four
    // neighbours at 1 m (all -20 dBm) stands there.
    EXPECT_NEAR(ap.matrix[10 * ap.columns + 10], -20.0, 1e-9);
}

// The robust estimator on the lattice made by its own model (the AP 1.5 m
// above the receiver, -35 dBm at 1 m, -30 dB per decade): the fit explains
// it and places the AP where it stands, the model fields are that line,
// and the AP gets a radius, which another estimator's run takes away.
TEST(EstimationTest, TheRobustEstimatorPlacesTheApWithItsLineAndARadius) {
    std::vector<CData> samples = Lattice();
    for (CData& s : samples)
        s.rssi = -35.0 - 15.0 * std::log10((s.y - 10.0) * (s.y - 10.0) +
                                           (s.x - 10.0) * (s.x - 10.0) + 2.25);
    CSingleAp one(samples, -1, 20);
    one.doc.estimator = EstimatorKind::Robust;
    const CAPInfo& ap = one.Run();
    EXPECT_NEAR(ap.position[0], 10.0, 0.02);
    EXPECT_NEAR(ap.position[1], 10.0, 0.02);
    EXPECT_TRUE(ap.valid);
    EXPECT_NEAR(ap.slope, -30.0, 0.05);
    EXPECT_NEAR(ap.intercept, -35.0, 0.05);
    EXPECT_GT(ap.uncertaintyM, 0.0);
    EXPECT_LT(ap.uncertaintyM, 0.5);

    one.doc.estimator = EstimatorKind::Study;
    EXPECT_EQ(one.Run().uncertaintyM, 0.0);

    // Three readings, too few for a fit: the strongest is the peak.
    CSingleAp three({{0, 0, -45, 0}, {0, 0.5, -40, 0}, {0, 1, -50, 0}}, 2437, 1);
    three.doc.estimator = EstimatorKind::Robust;
    const CAPInfo& peak = three.Run();
    EXPECT_EQ(peak.position, (std::array<double, 2>{0.0, 0.5}));
    EXPECT_GT(peak.uncertaintyM, 0.0);
}

TEST(EstimationTest, WithoutAFiniteCandidateTheStrongestSampleStays) {
    // Three samples within one thinning window leave one thinned point, and
    // no line fits through one point: every candidate of the search (0.25 to
    // 0.75 m along X) has a non-finite error. The AP keeps its strongest
    // sample's position and gets no model.
    CSingleAp one({{0, 0, -45, 0}, {0, 0.5, -40, 0}, {0, 1, -50, 0}}, 2437, 1);
    const CAPInfo& ap = one.Run();
    ASSERT_EQ(ap.filteredSamples.GetSize(), 1);
    EXPECT_EQ(ap.position, (std::array<double, 2>{0.0, 0.5}));
    EXPECT_FALSE(ap.valid);
}

} // namespace
} // namespace tarvo
