#include "analysis/RobustPosition.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace tarvo {
namespace {

CData Reading(double y, double x, double rssi) {
    return {y, x, rssi, 0};
}

// Gaussian noise of a fixed sequence (a linear congruential generator and
// the Box-Muller transform), so that walks are the same on every library.
struct CNoise {
    std::uint64_t state = 2024;
    double Uniform() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (static_cast<double>(state >> 11) + 0.5) / 9007199254740992.0;
    }
    double Normal(double sigma) {
        const double u = Uniform(), v = Uniform();
        return sigma * std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
    }
};

// The log-distance model the fit assumes: -35 dBm at 1 m from an AP 1.5 m
// above the receiver, `slope` dB per decade.
double ModelDbm(double apY, double apX, double y, double x, double slope = -30.0) {
    const double d2 = (y - apY) * (y - apY) + (x - apX) * (x - apX);
    return -35.0 + slope * 0.5 * std::log10(d2 + kApHeightM * kApHeightM);
}

// Straight lanes along X at the given Y values, a reading every `step` m
// from X = 0 to 40, levels from the model plus noise of sigmaDb.
std::vector<CData> LaneWalk(std::vector<double> lanesY, double step, double apY, double apX,
                            double sigmaDb, double slope = -30.0) {
    CNoise noise;
    std::vector<CData> walk;
    for (double laneY : lanesY)
        for (double x = 0.0; x <= 40.0 + 1e-9; x += step)
            walk.push_back(
                Reading(laneY, x, ModelDbm(apY, apX, laneY, x, slope) + noise.Normal(sigmaDb)));
    return walk;
}

CRobustPosition Place(const std::vector<CData>& walk, CPositionCandidates* out = nullptr) {
    double minY = walk[0].y, maxY = minY, minX = walk[0].x, maxX = minX;
    for (const CData& s : walk) {
        minY = std::min(minY, s.y);
        maxY = std::max(maxY, s.y);
        minX = std::min(minX, s.x);
        maxX = std::max(maxX, s.x);
    }
    const CPositionCandidates c = FindPositionCandidates(walk, {}, 2412, maxY - minY, maxX - minX);
    if (out)
        *out = c;
    return ChoosePosition(c);
}

// Three readings on a line at X = 0, 1 and 3: nearest neighbours differ by
// 2, 2 and 8 dB, so the noise is 4 * sqrt(pi) / 2 dB and the spacing the
// median of 1, 1 and 2 m. Within that noise of the strongest lie the first
// two readings: spread sqrt((0 + 1) / 2 + 1^2).
TEST(RobustPositionTest, ReadingNoiseAndPeakSpreadByHand) {
    const std::vector<CData> heard{Reading(0, 0, -50), Reading(0, 1, -52), Reading(0, 3, -60)};
    const CReadingNoise noise = ReadingNoiseOf(heard);
    EXPECT_NEAR(noise.sigmaDb, 4.0 * std::sqrt(std::numbers::pi) / 2.0, 1e-12);
    EXPECT_DOUBLE_EQ(noise.spacingM, 1.0);
    const CPeakEstimate peak = PeakOf(heard, noise);
    ASSERT_TRUE(peak.ok);
    EXPECT_EQ(peak.x, 0.0);
    EXPECT_EQ(peak.dbm, -50.0);
    EXPECT_NEAR(peak.spreadM, std::sqrt(1.5), 1e-12);

    const std::vector<CData> alone{Reading(0, 0, -50)};
    EXPECT_EQ(ReadingNoiseOf(alone).sigmaDb, 0.0) << "no neighbour, no noise";
    EXPECT_FALSE(PeakOf({}, {}).ok);
}

// Readings tied at the top (within half a whole dBm) are told apart by
// their neighbourhoods; a reading stronger by more than that wins alone.
TEST(RobustPositionTest, TiedStrongestReadingsGoToTheStrongerNeighbourhood) {
    // A at X = 10 has a -45 dBm neighbour, B at X = 0 a -60 dBm one (both
    // 0.5 m away): A's kernel mean is about -42.2 dBm, B's -48.9.
    for (double bDbm : {-40.0, -39.6}) {
        const std::vector<CData> heard{Reading(0, 0, bDbm), Reading(0, 0.5, -60),
                                       Reading(0, 10, -40), Reading(0, 10.5, -45)};
        const CPeakEstimate peak = PeakOf(heard, ReadingNoiseOf(heard));
        EXPECT_EQ(peak.x, 10.0) << "B at " << bDbm << " dBm ties with A";
    }
    const std::vector<CData> heard{Reading(0, 0, -39.4), Reading(0, 0.5, -60), Reading(0, 10, -40),
                                   Reading(0, 10.5, -45)};
    EXPECT_EQ(PeakOf(heard, ReadingNoiseOf(heard)).x, 0.0);
}

// Readings made by the model itself (no noise) give back its position and
// line; a slope steeper than the bounds is flagged.
TEST(RobustPositionTest, FitFindsTheModelThatMadeTheReadings) {
    const std::vector<CData> walk = LaneWalk({0.0, 10.0}, 0.5, 5.0, 20.0, 0.0);
    CPositionCandidates c;
    Place(walk, &c);
    ASSERT_TRUE(c.fit.ok);
    EXPECT_NEAR(c.fit.y, 5.0, 0.02);
    EXPECT_NEAR(c.fit.x, 20.0, 0.02);
    EXPECT_NEAR(c.fit.line.slope, -30.0, 0.05);
    EXPECT_NEAR(c.fit.line.intercept, -35.0, 0.1);
    EXPECT_FALSE(c.fit.slopeAtBound);
    EXPECT_FALSE(c.fit.onBorder);
    EXPECT_LT(c.fit.lackOfFit, 0.1);

    const CApLine line = ApLineAt(walk, 5.0, 20.0);
    ASSERT_TRUE(line.ok);
    EXPECT_NEAR(line.line.slope, -30.0, 1e-6);
    EXPECT_NEAR(line.line.intercept, -35.0, 1e-6);

    Place(LaneWalk({0.0, 10.0}, 0.5, 5.0, 20.0, 0.0, -70.0), &c);
    ASSERT_TRUE(c.fit.ok);
    EXPECT_TRUE(c.fit.slopeAtBound);
    EXPECT_EQ(c.fit.line.slope, kSteepestSlopeDb);
}

// The choice as documented, on candidates set by hand: the fit only when
// it is ok, its slope inside the bounds, its position off the border and
// its lack of fit within the limit; the radius is the branch's spread
// times its factor, to the centimetre.
TEST(RobustPositionTest, ChoiceFollowsTheDocumentedRule) {
    CPositionCandidates c;
    c.peak = {true, 1.0, 2.0, -40.0, 1.0};
    c.fit.ok = true;
    c.fit.y = 3.0;
    c.fit.x = 4.0;
    c.fit.lackOfFit = 1.19;
    c.fit.spreadM = 1.0;
    const CRobustConstants k{1.2, 1.5, 2.25};
    CRobustPosition p = ChoosePosition(c, k);
    EXPECT_EQ(p.evidence, PositionEvidence::Fit);
    EXPECT_EQ(p.y, 3.0);
    EXPECT_EQ(p.uncertaintyM, 1.5);

    auto peakFor = [&](auto change) {
        CPositionCandidates changed = c;
        change(changed.fit);
        return ChoosePosition(changed, k);
    };
    for (const CRobustPosition& q : {peakFor([](CPathLossFit& f) { f.lackOfFit = 1.21; }),
                                     peakFor([](CPathLossFit& f) { f.slopeAtBound = true; }),
                                     peakFor([](CPathLossFit& f) { f.onBorder = true; }),
                                     peakFor([](CPathLossFit& f) { f.ok = false; })}) {
        EXPECT_EQ(q.evidence, PositionEvidence::Peak);
        EXPECT_EQ(q.x, 2.0);
        EXPECT_EQ(q.uncertaintyM, 2.25);
    }
    c.peak.ok = false;
    EXPECT_FALSE(ChoosePosition(c, k).ok);
}

// Two hand-built walks. Lanes 5 m either side of an AP, readings from the
// log-distance model with 3 dB noise: the fit explains them and places the
// AP. A corridor through walls (a plateau around the AP, 25 dB lower
// beyond 6 m) with the strongest reading under the AP: no line explains
// that, and the peak is taken.
TEST(RobustPositionTest, FitForASmoothFallOffPeakForACorridorThroughWalls) {
    CPositionCandidates c;
    const CRobustPosition smooth = Place(LaneWalk({0.0, 10.0}, 0.5, 5.0, 20.0, 3.0), &c);
    EXPECT_EQ(smooth.evidence, PositionEvidence::Fit) << "lack of fit " << c.fit.lackOfFit;
    EXPECT_LT(std::hypot(smooth.y - 5.0, smooth.x - 20.0), 1.0);

    std::vector<CData> corridor;
    for (double y : {0.0, 0.6, 1.2})
        for (int i = 0; i <= 66; ++i) {
            const double x = 0.6 * i;
            const double wall = std::fabs(x - 19.8) > 6.0 ? -25.0 : 0.0;
            const double ripple = (i % 2 == 0) ? 1.5 : -1.5;
            const bool underAp = y == 0.6 && i == 33;
            corridor.push_back(
                Reading(y, x, underAp ? -30.0 : ModelDbm(0.6, 19.8, y, x, -20.0) + wall + ripple));
        }
    const CRobustPosition walls = Place(corridor, &c);
    EXPECT_EQ(walls.evidence, PositionEvidence::Peak) << "lack of fit " << c.fit.lackOfFit;
    EXPECT_EQ(walls.y, 0.6);
    EXPECT_DOUBLE_EQ(walls.x, 19.8);
}

// The radius of the same AP grows when the walk passes farther from it and
// when its readings thin out, and shrinks as they close in.
TEST(RobustPositionTest, RadiusGrowsAsTheWalkThinsOutOrMovesAway) {
    const CRobustPosition near = Place(LaneWalk({18.0, 22.0}, 0.5, 20.0, 20.0, 4.0));
    const CRobustPosition far = Place(LaneWalk({13.0, 27.0}, 0.5, 20.0, 20.0, 4.0));
    const CRobustPosition sparse = Place(LaneWalk({18.0, 22.0}, 4.0, 20.0, 20.0, 4.0));
    for (const CRobustPosition& p : {near, far, sparse})
        EXPECT_EQ(p.evidence, PositionEvidence::Fit);
    std::printf("radius near %.2f m, far %.2f m, sparse %.2f m\n", near.uncertaintyM,
                far.uncertaintyM, sparse.uncertaintyM);
    EXPECT_GT(far.uncertaintyM, 1.5 * near.uncertaintyM);
    EXPECT_GT(sparse.uncertaintyM, 1.3 * near.uncertaintyM);
}

// No-signal places: measurement points inside the sample box (edges
// included) with no sample, and no earlier place, within 0.1 m (|dY| +
// |dX|); positions are the stored centimetres / 100.
TEST(RobustPositionTest, NoSignalPlacesAreTheEmptyPointsOfTheBox) {
    CAPInfo ap;
    ap.samples.Add(Reading(0.0, 0.0, -50));
    ap.samples.Add(Reading(2.0, 4.0, -60));
    ap.origin = {0.0, 0.0};
    ap.extent = {2.0, 4.0};
    auto point = [](int northingCm, int eastingCm) {
        CDataPoint p;
        p.northing = northingCm;
        p.easting = eastingCm;
        return p;
    };
    const std::vector<CDataPoint> points{point(0, 5),     // 0.05 m from a sample
                                         point(0, 10),    // 0.10 m: a place
                                         point(100, 400), // on the box's edge: a place
                                         point(100, 405), // 0.05 m from that place
                                         point(201, 0),   // outside the box
                                         point(150, 150)};
    const std::vector<CSitePlace> places = NoSignalPlaces(points, ap);
    ASSERT_EQ(places.size(), 3u);
    EXPECT_DOUBLE_EQ(places[0].x, 0.1);
    EXPECT_DOUBLE_EQ(places[1].y, 1.0);
    EXPECT_DOUBLE_EQ(places[1].x, 4.0);
    EXPECT_DOUBLE_EQ(places[2].x, 1.5);
}

} // namespace
} // namespace tarvo
