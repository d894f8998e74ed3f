// Cross-validation of the maps: the folds are exactly the documented
// split, a study whose signals follow a known law is found accurate, the
// figures do not depend on the threads, and a cancel stops it.

#include "analysis/CrossValidation.h"
#include "analysis/ApModel.h"
#include "analysis/Estimation.h"
#include "analysis/SampleSets.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvo {
namespace {

constexpr MacAddress kNear{0x02, 0, 0, 0, 0, 0x01};
constexpr MacAddress kFar{0x02, 0, 0, 0, 0, 0x02};
// True positions, Y then X.
constexpr double kNearY = 10.3, kNearX = 9.6, kFarY = 4.5, kFarX = 16.5;

double Law(double y, double x, double apY, double apX) {
    return -30.0 - 30.0 * std::log10(std::max(0.1, std::hypot(y - apY, x - apX)));
}

// A walk over a 21 x 21 grid of locations 1 m apart (site Y and X 0..20,
// row by row) on a linear map of 0.1 m per pixel. AP "near" is heard at
// every location by the law above; AP "far" where the law gives -55 dBm or
// more (within 6.8 m of it) and, at -60 dBm, along the last row (Y 20), so
// that its box holds many places that do not hear it. No scatter: only the
// 1/16 dBm steps.
CTarvoAnalyzerDoc GridStudy(CoverageModelKind model) {
    CTarvoAnalyzerDoc doc;
    doc.projectionKind = kProjectionLinear;
    doc.SiteScaleX = doc.SiteScaleY = 0.1;
    doc.ImageWidth = doc.ImageHeight = 300;
    doc.linearPointsPresent = true;
    doc.coverageModel = model;
    CDataFile file;
    file.title = "grid.ssd";
    file.pointCount = 21 * 21;
    doc.files.Add(file);
    for (int row = 0; row <= 20; ++row)
        for (int col = 0; col <= 20; ++col) {
            CDataPoint p;
            p.kind = kProjectionLinear;
            p.pixelX = static_cast<std::uint16_t>(col * 10);
            p.pixelY = static_cast<std::uint16_t>(300 - row * 10);
            for (const auto& [mac, y, x] :
                 {std::tuple{kNear, kNearY, kNearX}, std::tuple{kFar, kFarY, kFarX}}) {
                double level = Law(row, col, y, x);
                if (mac == kFar && level < -55.0) {
                    if (row != 20)
                        continue;
                    level = -60.0;
                }
                CDataSsd s;
                s.channel = 6;
                s.bssid = mac;
                s.rssi = static_cast<std::int16_t>(std::lround(level * 16.0));
                s.level2 = -95;
                p.samples.Add(s);
            }
            doc.points.Add(p);
        }
    test::CFakeUi ui;
    BuildApSampleSets(doc, ui);
    EstimateAps(doc, ui.Progress(), 1);
    doc.processed = true;
    return doc;
}

const CApAccuracy& Of(const CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc,
                      const MacAddress& mac) {
    for (const CApAccuracy& ap : accuracy.aps)
        if (doc.aps[ap.apIndex].bssid == mac)
            return ap;
    throw std::invalid_argument("no such AP");
}

TEST(Folds, BlocksAreStretchesOfTheWalkAndRandomFoldsAFixedDeal) {
    // Location i of 12 in fold i * 5 / 12.
    EXPECT_EQ(FoldsOfLocations(12, 5, FoldScheme::Block),
              (std::vector<int>{0, 0, 0, 1, 1, 2, 2, 2, 3, 3, 4, 4}));
    EXPECT_EQ(FoldsOfLocations(3, 5, FoldScheme::Block), (std::vector<int>{0, 1, 3}));
    EXPECT_TRUE(FoldsOfLocations(0, 5, FoldScheme::Random).empty());

    const std::vector<int> random = FoldsOfLocations(1003, 5, FoldScheme::Random);
    EXPECT_EQ(random, FoldsOfLocations(1003, 5, FoldScheme::Random)) << "always the same deal";
    std::vector<int> sizes(5, 0);
    int changes = 0;
    for (std::size_t i = 0; i < random.size(); ++i) {
        ++sizes[static_cast<std::size_t>(random[i])];
        changes += i > 0 && random[i] != random[i - 1];
    }
    EXPECT_EQ(sizes, (std::vector<int>{201, 201, 201, 200, 200}));
    EXPECT_GT(changes, 600) << "shuffled, not in stretches";
}

TEST(EvaluateStudy, AStudyFollowingAKnownLawIsFoundAccurate) {
    const CTarvoAnalyzerDoc doc = GridStudy(CoverageModelKind::Survey);
    ASSERT_EQ(doc.aps.GetSize(), 2);
    CNullProgress progress;
    CStudyAccuracy accuracy = EvaluateStudy(doc, {}, progress);
    EXPECT_EQ(accuracy.folds, 5);
    EXPECT_EQ(accuracy.locations, 441);
    ASSERT_EQ(accuracy.aps.size(), 2u);

    // "near" is heard everywhere. Fold 0 is locations 0..88 (rows 0..3 and
    // row 4 to X 4): without it the sample box starts at row 4, so of its
    // held-out locations only the five of row 4 are inside. Fold 4 is
    // locations 353..440 (row 16 from X 17, rows 17..20): the box ends at
    // row 16 and its four places there are inside. Folds 1..3 lie inside.
    const CAccuracyFigures& near = Of(accuracy, doc, kNear).figures;
    EXPECT_EQ(near.pairs, 441);
    EXPECT_EQ(near.inside, 5 + (441 - 89 - 88) + 4);
    EXPECT_EQ(near.unheard, 0);
    EXPECT_TRUE(std::isnan(near.FalseCoverage()));
    EXPECT_LT(near.rmse, 1.5);
    EXPECT_LT(std::fabs(near.bias), 0.5);

    // "far" fades out inside its box: the places where it is not heard are
    // seldom shown as covered, far less often than by its heard samples
    // alone (each grid point taking the nearest heard sample's level).
    const CAccuracyFigures& far = Of(accuracy, doc, kFar).figures;
    EXPECT_GT(far.unheard, 100);
    CEvaluationOptions heardOnly;
    heardOnly.remakeMatrix = [](CAPInfo& ap, std::span<const CDataPoint>) {
        for (int r = 0; r < ap.rows; ++r)
            for (int c = 0; c < ap.columns; ++c) {
                const double y = ApGridPoint(ap.origin[0], ap.extent[0], ap.columns, c);
                const double x = ApGridPoint(ap.origin[1], ap.extent[1], ap.rows, r);
                const CData* nearest = &ap.samples[0];
                for (const CData& s : ap.samples)
                    if (std::hypot(s.y - y, s.x - x) < std::hypot(nearest->y - y, nearest->x - x))
                        nearest = &s;
                ap.matrix[static_cast<std::ptrdiff_t>(r) * ap.columns + c] = nearest->rssi;
            }
    };
    const CStudyAccuracy plain = EvaluateStudy(doc, heardOnly, progress);
    EXPECT_GT(Of(plain, doc, kFar).figures.FalseCoverage(), 0.5);
    EXPECT_LT(far.FalseCoverage(), 0.25 * Of(plain, doc, kFar).figures.FalseCoverage());
    EXPECT_EQ(accuracy.overall.pairs, near.pairs + far.pairs);
    EXPECT_EQ(accuracy.overall.unheard, far.unheard);

    // Positions against the truth, as the evaluation's caller adds them.
    AddPositionErrors(accuracy, doc,
                      std::vector<CTruePosition>{{kFar, kFarY, kFarX}, {kNear, kNearY, kNearX}});
    const CAPInfo& nearAp = doc.aps[Of(accuracy, doc, kNear).apIndex];
    const double nearError = std::hypot(nearAp.position[0] - kNearY, nearAp.position[1] - kNearX);
    EXPECT_DOUBLE_EQ(*Of(accuracy, doc, kNear).positionErrorM, nearError);
    EXPECT_LT(nearError, 1.0);
    ASSERT_TRUE(accuracy.medianPositionErrorM);
    EXPECT_DOUBLE_EQ(*accuracy.medianPositionErrorM,
                     (nearError + *Of(accuracy, doc, kFar).positionErrorM) / 2.0);
}

TEST(EvaluateStudy, FiguresDoNotDependOnTheThreadsAndACancelStopsIt) {
    const CTarvoAnalyzerDoc doc = GridStudy(CoverageModelKind::Study);
    CNullProgress quiet;
    CEvaluationOptions one, many;
    one.threads = 1;
    many.threads = 3;
    one.scheme = many.scheme = FoldScheme::Random;
    const CStudyAccuracy a = EvaluateStudy(doc, one, quiet), b = EvaluateStudy(doc, many, quiet);
    ASSERT_EQ(a.aps.size(), b.aps.size());
    for (std::size_t i = 0; i < a.aps.size(); ++i) {
        const CAccuracyFigures &fa = a.aps[i].figures, &fb = b.aps[i].figures;
        EXPECT_EQ(fa.rmse, fb.rmse);
        EXPECT_EQ(fa.bias, fb.bias);
        EXPECT_EQ(fa.medianAbs, fb.medianAbs);
        EXPECT_EQ(fa.falseCovered, fb.falseCovered);
    }
    EXPECT_EQ(a.overall.mae, b.overall.mae);

    test::CFakeProgress progress;
    progress.CancelAtText("Evaluating the maps: fold 2 of 5...");
    EXPECT_THROW(EvaluateStudy(doc, many, progress), CCancelException);
    const std::vector<std::string> texts = progress.Texts();
    EXPECT_EQ(texts.front(), "Evaluating the maps: fold 1 of 5...");
}

TEST(EvaluateStudy, ApsWhoseSamplesCannotBeTiedToLocationsAreLeftOut) {
    CTarvoAnalyzerDoc doc = GridStudy(CoverageModelKind::Study);
    CNullProgress progress;
    // A file deselected after the load: its locations no longer belong to
    // the APs as a load would group them.
    doc.files[0].selected = 0;
    EXPECT_TRUE(EvaluateStudy(doc, {}, progress).aps.empty());
    doc.files[0].selected = 1;
    doc.aps[0].samples.RemoveAt(0);
    const CStudyAccuracy accuracy = EvaluateStudy(doc, {}, progress);
    ASSERT_EQ(accuracy.aps.size(), 1u);
    EXPECT_EQ(accuracy.aps[0].apIndex, 1);
}

} // namespace
} // namespace tarvo
