#include "analysis/Estimation.h"
#include "support/PlainCoverage.h"
#include "analysis/Numerics.h"
#include "analysis/SampleSets.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace tarvo {
namespace {

using test::CFakeUi;

// The estimation written out step by step as the design describes it, with
// copies and no shortcuts, to check the optimised code bit for bit. It
// starts from the thinned samples and shares only the numeric helpers,
// which have their own tests.
struct CReference {
    double y = 0, x = 0, slope = 0, intercept = 0, sigma = 0;
    bool searched = false;
    int rejections = 0;
    int rows = 20, columns = 20;
    std::vector<double> matrix;
    double minValue = 0, maxValue = 0;
    bool valid = false;
};

CReference Reference(const std::vector<CData>& samples, const std::vector<CData>& thinned,
                     int minPoints, double startY, double startX) {
    CReference ref;
    ref.y = startY;
    ref.x = startX;
    double minY = samples[0].y, maxY = minY, minX = samples[0].x, maxX = minX;
    CData strongest = samples[0];
    for (const CData& s : samples) {
        minY = std::min(minY, s.y);
        maxY = std::max(maxY, s.y);
        minX = std::min(minX, s.x);
        maxX = std::max(maxX, s.x);
        if (s.rssi > strongest.rssi)
            strongest = s;
    }
    const double eY = maxY - minY, eX = maxX - minX;
    if (eY > 0 && eX > 0) {
        if (eY < eX)
            ref.rows = static_cast<int>(eX / (eY / 20));
        else
            ref.columns = static_cast<int>(eY / (eX / 20));
    }
    const int n = static_cast<int>(thinned.size());
    std::vector<double> ty, tx, tr;
    for (const CData& s : thinned) {
        ty.push_back(s.y);
        tx.push_back(s.x);
        tr.push_back(s.rssi);
    }
    const double meanR = Mean(tr);
    double slope = 0, intercept = 0, sigma = 0;
    auto logDistances = [](const std::vector<double>& ys, const std::vector<double>& xs, double y,
                           double x) {
        std::vector<double> l;
        for (std::size_t i = 0; i < ys.size(); ++i)
            l.push_back(
                std::log10(std::sqrt((xs[i] - x) * (xs[i] - x) + (ys[i] - y) * (ys[i] - y))));
        return l;
    };
    if (n >= minPoints) {
        ref.searched = true;
        double hY = 0.25 * eY, hX = 0.25 * eX;
        const double r = strongest.rssi;
        const double cap = r > -30.0   ? 3.0
                           : r > -40.0 ? 6.0
                           : r > -50.0 ? 9.0
                           : r > -60.0 ? 12.0
                                       : std::numeric_limits<double>::infinity();
        hY = std::min(hY, cap);
        hX = std::min(hX, cap);
        std::vector<double> cy(31), cx(31);
        for (int j = 0; j <= 30; ++j) {
            cx[j] = (strongest.x - hX) + j * ((strongest.x + hX) - (strongest.x - hX)) / 30;
            cy[j] = (strongest.y - hY) + j * ((strongest.y + hY) - (strongest.y - hY)) / 30;
        }
        std::vector<double> fy, fx, fr;
        for (int i = 0; i < n; ++i)
            if (tr[i] > -65.0) {
                fy.push_back(ty[i]);
                fx.push_back(tx[i]);
                fr.push_back(tr[i]);
            }
        if (fy.size() < 200) {
            fy = ty;
            fx = tx;
            fr = tr;
        }
        std::vector<double> error(961);
        for (int k = 0; k < 961; ++k) {
            const double y = cy[k / 31], x = cx[k % 31];
            const std::vector<double> l = logDistances(fy, fx, y, x);
            const double b = LeastSquaresSlope(fr, l);
            const double a = meanR - b * Mean(l);
            double gx = 0, gy = 0;
            for (std::size_t s = 0; s < fy.size(); ++s) {
                const double d = std::sqrt((fx[s] - x) * (fx[s] - x) + (fy[s] - y) * (fy[s] - y));
                const double res = fr[s] - b * l[s] - a;
                gx += res * (fx[s] - x) / d;
                gy += res * (fy[s] - y) / d;
            }
            error[k] = std::sqrt(gx * gx + gy * gy);
        }
        int best = ArgMinFirst(error);
        double y = cy[best / 31], x = cx[best % 31];
        slope = LeastSquaresSlope(tr, logDistances(ty, tx, y, x));
        const double errMax = MaxOfErrors(error);
        int repeats = 0;
        while (slope > 0.0 && slope < 5.0 && repeats < 961) {
            error[best] = errMax;
            best = ArgMinFirst(error);
            y = cy[best / 31];
            x = cx[best % 31];
            slope = LeastSquaresSlope(tr, logDistances(ty, tx, y, x));
            ++repeats;
        }
        ref.rejections = repeats;
        ref.y = y;
        ref.x = x;
        intercept = meanR - slope * Mean(logDistances(ty, tx, y, x));
        std::vector<double> res;
        for (int s = 0; s < n; ++s)
            res.push_back(tr[s] -
                          slope * 0.5 *
                              std::log10((tx[s] - x) * (tx[s] - x) + (ty[s] - y) * (ty[s] - y)) -
                          intercept);
        sigma = SampleStdDev(res);
    }
    ref.slope = slope;
    ref.intercept = intercept;
    ref.sigma = sigma;
    if (n >= 3) {
        const double stepX = eX / (ref.rows - 1), stepY = eY / (ref.columns - 1);
        ref.matrix.assign(static_cast<std::size_t>(ref.rows * ref.columns), 0.0);
        ref.minValue = ref.maxValue = meanR;
        for (int r = 0; r < ref.rows; ++r)
            for (int c = 0; c < ref.columns; ++c) {
                const double gx = minX + r * stepX, gy = minY + c * stepY;
                const double dAP =
                    std::sqrt((gx - ref.x) * (gx - ref.x) + (gy - ref.y) * (gy - ref.y));
                std::vector<double> d;
                for (int s = 0; s < n; ++s)
                    d.push_back(
                        std::sqrt((tx[s] - gx) * (tx[s] - gx) + (ty[s] - gy) * (ty[s] - gy)));
                const double v = test::BubbleReference(d, tr);
                double value = v;
                if (slope < -10.0 && dAP > 0.0)
                    value = 0.6 * (slope * std::log10(dAP) + intercept) + 0.4 * v;
                ref.matrix[r * ref.columns + c] = value;
                if (value < ref.minValue)
                    ref.minValue = value;
                if (value > ref.maxValue)
                    ref.maxValue = value;
            }
        ref.valid = slope <= -10.0;
    }
    return ref;
}

// One AP in an otherwise empty document (no measurement points, so no
// no-signal samples are added).
struct CSingleAp {
    CTarvoAnalyzerDoc doc;
    CFakeUi ui;

    CSingleAp(const std::vector<CData>& samples, int frequency, int minPoints) {
        CAPInfo ap;
        ap.frequency = frequency;
        ap.samples.Vector() = samples;
        doc.aps.Add(ap);
        doc.MinPointsForEstimate = minPoints;
    }
    const CAPInfo& Run() {
        EstimateAp(doc, 0, ui.progress);
        return doc.aps[0];
    }
};

void ExpectMatchesReference(const std::vector<CData>& samples, int frequency, int minPoints,
                            int* rejections = nullptr) {
    CSingleAp one(samples, frequency, minPoints);
    const CAPInfo& ap = one.Run();
    const std::vector<CData> thinned = ThinSampleList(samples, frequency);
    const CReference ref = Reference(samples, thinned, minPoints, 0.0, 0.0);
    if (rejections)
        *rejections = ref.rejections;
    EXPECT_EQ(ap.filteredSamples.Vector(), thinned);
    EXPECT_EQ(ap.position[0], ref.y);
    EXPECT_EQ(ap.position[1], ref.x);
    EXPECT_EQ(ap.rows, ref.rows);
    EXPECT_EQ(ap.columns, ref.columns);
    EXPECT_EQ(ap.valid != 0, ref.valid);
    if (ref.valid) {
        EXPECT_EQ(ap.slope, ref.slope);
        EXPECT_EQ(ap.intercept, ref.intercept);
        EXPECT_EQ(ap.sigma, ref.sigma);
    }
    EXPECT_EQ(ap.matrix.Vector(), ref.matrix);
    EXPECT_EQ(ap.minValue, ref.minValue);
    EXPECT_EQ(ap.maxValue, ref.maxValue);
}

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

TEST(EstimationTest, MatchesTheStepByStepArithmetic) {
    std::mt19937 random(11);
    // An ordinary AP with thinning at 2437 MHz.
    ExpectMatchesReference(Walk(random, 400, 30, 60, 12, 40, -35, -28, 4), 2437, 20);
    // 300 strong samples, no thinning: the fitting set is the strong subset.
    std::vector<CData> dense = Walk(random, 300, 20, 20, 10, 10, -30, -15, 2);
    const std::vector<CData> weak = Walk(random, 60, 20, 20, 10, 10, -80, -5, 2);
    dense.insert(dense.end(), weak.begin(), weak.end());
    ExpectMatchesReference(dense, -1, 20);
    // Fewer than the minimum: pure interpolation around the old position.
    ExpectMatchesReference(Walk(random, 12, 10, 10, 5, 5, -40, -20, 1), -1, 20);
}

TEST(EstimationTest, RisingFitsAreRejectedLikeTheArithmeticSays) {
    std::mt19937 random(5);
    // RSSI that grows slowly with distance: the best candidates fit with a
    // slope between 0 and 5 and are passed over.
    int rejections = 0;
    ExpectMatchesReference(Walk(random, 80, 20, 20, 10, 10, -70, 3, 0.5), -1, 20, &rejections);
    EXPECT_GT(rejections, 0);
}

TEST(EstimationTest, GridCountsAndResolution) {
    // extentY 5, extentX 50: resolution 0.25, 20 columns (Y), 200 rows (X).
    CSingleAp box({{0, 0, -50, 0}, {5, 50, -60, 0}, {2, 20, -55, 0}}, -1, 20);
    const CAPInfo& ap = box.Run();
    EXPECT_EQ(box.doc.Resolution, 0.25);
    EXPECT_EQ(ap.columns, 20);
    EXPECT_EQ(ap.rows, 200);
    EXPECT_EQ(ap.matrix.GetSize(), 4000);
    EXPECT_EQ(ap.origin, (std::array<double, 2>{0, 0}));
    EXPECT_EQ(ap.extent, (std::array<double, 2>{5, 50}));
}

TEST(EstimationTest, ZeroExtentKeepsTwentyByTwenty) {
    CSingleAp line({{3, 0, -50, 0}, {3, 10, -60, 0}, {3, 5, -70, 0}}, -1, 20);
    line.doc.Resolution = 7.0;
    const CAPInfo& ap = line.Run();
    EXPECT_EQ(ap.rows, 20);
    EXPECT_EQ(ap.columns, 20);
    EXPECT_EQ(line.doc.Resolution, 7.0);
    // A zero step along Y: every Y index of one X index has the same value.
    for (int r = 0; r < 20; ++r)
        for (int c = 1; c < 20; ++c)
            EXPECT_EQ(ap.matrix[r * 20 + c], ap.matrix[r * 20]);
}

TEST(EstimationTest, AVeryThinBoxIsCapped) {
    CSingleAp thin({{0, 0, -50, 0}, {0.001, 100, -60, 0}, {0.0005, 50, -70, 0}}, -1, 20);
    const CAPInfo& ap = thin.Run();
    EXPECT_EQ(ap.columns, 20);
    EXPECT_EQ(ap.rows, kMaxGridPointsPerAxis);
    ASSERT_EQ(ap.matrix.GetSize(), 20 * kMaxGridPointsPerAxis);
    for (double v : ap.matrix)
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
    two.doc.aps[0].minValue = 1.0;
    const CAPInfo& small = two.Run();
    EXPECT_EQ(small.matrix.Vector(), (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(small.minValue, 1.0);
    EXPECT_EQ(small.rows, 20);
    EXPECT_EQ(small.columns, 20);
}

TEST(EstimationTest, SearchCapsAndCandidateGrid) {
    EXPECT_EQ(SearchHalfWidthCap(-25.0), 3.0);
    EXPECT_EQ(SearchHalfWidthCap(-30.0), 6.0);
    EXPECT_EQ(SearchHalfWidthCap(-40.0), 9.0);
    EXPECT_EQ(SearchHalfWidthCap(-59.9), 12.0);
    EXPECT_TRUE(std::isinf(SearchHalfWidthCap(-60.0)));

    // Strongest -25 dBm at (5, 20) on a 10 x 40 m box: the search spans
    // +-2.5 m in Y (a quarter of 10) and +-3.0 m in X (10, capped), so the
    // position lies on a 31 x 31 grid of those half-widths.
    std::mt19937 random(3);
    std::vector<CData> walk = Walk(random, 60, 10, 40, 9, 38, -45, -20, 1);
    walk.push_back({0, 0, -70, 0});
    walk.push_back({10, 40, -70, 0});
    walk.push_back({5, 20, -25, 0});
    CSingleAp one(walk, -1, 20);
    const CAPInfo& ap = one.Run();
    const double j = (ap.position[1] - (20 - 3.0)) / (6.0 / 30);
    const double i = (ap.position[0] - (5 - 2.5)) / (5.0 / 30);
    EXPECT_NEAR(j, std::round(j), 1e-9);
    EXPECT_NEAR(i, std::round(i), 1e-9);
    EXPECT_GE(j, -1e-9);
    EXPECT_LE(j, 30 + 1e-9);
    EXPECT_GE(i, -1e-9);
    EXPECT_LE(i, 30 + 1e-9);
    // The true AP is far to the upper right: the search ends on the border.
    EXPECT_DOUBLE_EQ(ap.position[1], 23.0);
}

// Samples on the integer points with odd x + y of a 19 x 19 m box, with an
// exact model around (10, 10) where no sample lies. The strongest sample is
// (9, 10) at -20 dBm, so the search spans +-3 m and candidates at every
// fifth step are whole metres: many sit on samples (non-finite error), and
// the true position is a candidate and a grid point of the 20 x 20 matrix.
std::vector<CData> Lattice(bool withCornerSample) {
    std::vector<CData> samples;
    for (int y = 0; y <= 19; ++y)
        for (int x = 0; x <= 19; ++x)
            if ((x + y) % 2 == 1 && (withCornerSample || !(y == 6 && x == 7))) {
                const double d = std::sqrt((y - 10.0) * (y - 10.0) + (x - 10.0) * (x - 10.0));
                samples.push_back({double(y), double(x), -20.0 - 30.0 * std::log10(d), 0});
            }
    return samples;
}

TEST(EstimationTest, CandidatesOnSamplesAndTheApOnAGridPoint) {
    // Candidate 0, (6, 7), is kept free of a sample here.
    const std::vector<CData> samples = Lattice(false);
    CSingleAp one(samples, -1, 20);
    const CAPInfo& ap = one.Run();
    EXPECT_EQ(ap.position, (std::array<double, 2>{10.0, 10.0}));
    EXPECT_TRUE(ap.valid);
    EXPECT_NEAR(ap.slope, -30.0, 1e-6);
    EXPECT_NEAR(ap.intercept, -20.0, 1e-6);
    for (double v : ap.matrix)
        ASSERT_TRUE(std::isfinite(v));
    EXPECT_TRUE(std::isfinite(ap.maxValue));
    // On the AP the model has no value; the interpolation of its four
    // neighbours at 1 m (all -20 dBm) stands there.
    EXPECT_NEAR(ap.matrix[10 * ap.columns + 10], -20.0, 1e-9);
    ExpectMatchesReference(samples, -1, 20);
}

TEST(EstimationTest, ANonFiniteErrorAtTheFirstCandidateStaysTheMinimum) {
    // With a sample on candidate 0 its error is NaN, which no later error
    // compares smaller than: the search ends there, the slope is NaN and
    // the AP gets no model, but nothing non-finite is stored.
    CSingleAp one(Lattice(true), -1, 20);
    const CAPInfo& ap = one.Run();
    EXPECT_EQ(ap.position, (std::array<double, 2>{6.0, 7.0}));
    EXPECT_FALSE(ap.valid);
    EXPECT_EQ(ap.slope, 0.0);
    for (double v : ap.matrix)
        ASSERT_TRUE(std::isfinite(v));
    ExpectMatchesReference(Lattice(true), -1, 20);
}

TEST(EstimationTest, AllSamplesAtOnePlaceLeaveNothingNonFinite) {
    CSingleAp one({{2, 3, -40, 0}, {2, 3, -50, 0}, {2, 3, -45, 0}}, 2437, 1);
    const CAPInfo& ap = one.Run();
    EXPECT_EQ(ap.filteredSamples.GetSize(), 1);
    EXPECT_TRUE(std::isfinite(ap.position[0]));
    EXPECT_TRUE(std::isfinite(ap.position[1]));
    EXPECT_FALSE(ap.valid);
    EXPECT_EQ(ap.slope, 0.0);
    EXPECT_EQ(ap.sigma, 0.0);
}

TEST(EstimationTest, ProgressTextAndNoSamples) {
    CSingleAp one({{0, 0, -40, 0}}, 6, 20);
    one.doc.aps.Add(CAPInfo{});
    EstimateAp(one.doc, 1, one.ui.progress);
    EXPECT_TRUE(one.ui.progress.Texts().empty());
    EXPECT_EQ(one.doc.aps[1].rows, 0);
    EstimateAp(one.doc, 0, one.ui.progress);
    EXPECT_EQ(one.ui.progress.Texts(), std::vector<std::string>{"Process 1 out of 2 APs...."});
}

} // namespace
} // namespace tarvo
