// The survey coverage model: where the AP was not heard it is not painted,
// where it was heard the level follows the measurements, and the model
// takes over every place an AP's matrix is made or used.

#include "analysis/SurveyModel.h"
#include "analysis/Coverage.h"
#include "analysis/CoverageModels.h"
#include "analysis/Recalculation.h"
#include "analysis/SampleSets.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tarvo {
namespace {

constexpr MacAddress kMac{0x02, 0, 0, 0, 0, 0x01};

CDataPoint Location(double y, double x) {
    CDataPoint p;
    p.northing = static_cast<std::int32_t>(std::lround(y * 100.0));
    p.easting = static_cast<std::int32_t>(std::lround(x * 100.0));
    return p;
}

// Two rooms side by side, A (x 0..10) and B (x 10..20), y 0..10, walked on
// a 1 m grid, and a corridor along both at y 10.5 and 11.5. The AP stands
// in room A at (5, 5); it is heard all over room A and along the whole
// corridor, never in room B, so its sample box spans room B too.
struct CTwoRooms {
    std::vector<CDataPoint> locations;
    CAPInfo ap;

    CTwoRooms() {
        const auto level = [](double y, double x) {
            return -40.0 - 25.0 * std::log10(std::max(1.0, std::hypot(y - 5.0, x - 5.0)));
        };
        for (double y = 0.5; y < 12.0; y += 1.0)
            for (double x = 0.5; x < 20.0; x += 1.0) {
                locations.push_back(Location(y, x));
                const bool roomA = x < 10.0 && y<10.0, corridor = y> 10.0;
                if (roomA || corridor)
                    ap.samples.Add(CData{y, x, level(y, x), -95});
            }
        ap.bssid = kMac;
        ap.filteredSamples = ap.samples;
        ap.origin = {0.5, 0.5};
        ap.extent = {11.0, 19.0};
        ap.rows = 39; // 0.5 m along X
        ap.columns = 23;
        ap.position = {5.0, 5.0};
    }
};

TEST(SurveyModel, AnApHeardInOneRoomIsNotPaintedIntoTheNextRoom) {
    const CTwoRooms study;
    const CApMatrix m = PredictSurveyMatrix(study.ap, true, study.locations);
    ASSERT_EQ(m.values.size(), 39u * 23u);
    int roomB = 0, roomA = 0;
    for (int r = 0; r < study.ap.rows; ++r)
        for (int c = 0; c < study.ap.columns; ++c) {
            const double x = 0.5 + 0.5 * r, y = 0.5 + 0.5 * c;
            const double v = m.values[static_cast<std::size_t>(r * study.ap.columns + c)];
            if (x >= 11.5 && y <= 8.5) { // room B, a metre off its wall and the corridor
                EXPECT_EQ(v, kNoSignalDbm) << "room B at " << x << ", " << y;
                ++roomB;
            } else if (x <= 8.5 && y <= 8.5) { // room A: the measured levels
                const double measured =
                    -40.0 - 25.0 * std::log10(std::max(1.0, std::hypot(y - 5.0, x - 5.0)));
                EXPECT_NEAR(v, measured, 1.0) << "room A at " << x << ", " << y;
                ++roomA;
            } else if (y >= 10.5) {
                EXPECT_GT(v, -75.0) << "corridor at " << x << ", " << y;
            }
        }
    EXPECT_EQ(roomB, 17 * 17);
    EXPECT_EQ(roomA, 17 * 17);
    EXPECT_EQ(m.minValue, kNoSignalDbm);

    // Without the locations that did not hear it, the heard samples alone
    // would carry the AP's level into room B.
    const CSurveyField field(study.ap.samples.Vector(), std::array<double, 2>{5.0, 5.0},
                             study.locations);
    CSurveyField::CScratch scratch;
    EXPECT_GT(field.Level(4.0, 15.0, scratch), -90.0);
    EXPECT_EQ(field.HeardShare(4.0, 15.0, scratch), 0.0);
    EXPECT_EQ(field.HeardShare(4.0, 5.0, scratch), 1.0);
    EXPECT_EQ(field.Predict(4.0, 15.0, scratch), kNoSignalDbm);
}

TEST(SurveyModel, LevelsFollowTheMeasurementsAndTheirTrend) {
    // Heard on a line at x = 0..10, falling 20 dB per decade from (0, 0)
    // with a smooth departure of up to 2 dB: the kriging honours the
    // samples (a tenth of their variance is taken for scatter, so within a
    // fraction of a dB).
    std::vector<CData> heard, exact;
    std::vector<CDataPoint> locations;
    for (int i = 0; i <= 10; ++i) {
        const double x = i, level = -30.0 - 20.0 * std::log10(std::max(1.0, x));
        heard.push_back({0.0, x, level + 2.0 * std::cos(x * 3.14159265358979 / 10.0), -95});
        exact.push_back({0.0, x, level, -95});
        locations.push_back(Location(0.0, x));
    }
    CSurveyField::CScratch scratch;
    const CSurveyField field(heard, std::array<double, 2>{0.0, 0.0}, locations);
    for (const CData& s : heard)
        EXPECT_NEAR(field.Level(s.y, s.x, scratch), s.rssi, 0.6) << s.x;
    // Without departures the trend is the fit itself, -30 - 20 log10 d,
    // also far beyond the samples.
    const CSurveyField plain(exact, std::array<double, 2>{0.0, 0.0}, locations);
    EXPECT_NEAR(plain.Predict(0.0, 100.0, scratch), -70.0, 1e-9);
    EXPECT_EQ(plain.HeardShare(0.0, 100.0, scratch), 1.0);

    // Two samples at one place count as one place heard twice: their mean,
    // with half the scatter. No position: the trend is the mean of the
    // samples, -60, and the residuals +5 (at x 0) and -10 (at x 10). With
    // covariances 0.9 exp(-d / 10) and the scatter 0.1 / n on the diagonal,
    // C = [0.95 0.33109; 0.33109 1.0], c = [0.9 0.33109]: the ordinary
    // kriging weights are 0.961175 and 0.038826, so -60 + 4.417615.
    const std::vector<CData> twice{
        {0.0, 0.0, -50.0, 0}, {0.0, 0.0, -60.0, 0}, {0.0, 10.0, -70.0, 0}};
    const CSurveyField merged(twice, std::nullopt, {});
    EXPECT_NEAR(merged.Level(0.0, 0.0, scratch), -55.5824, 1e-3);
    EXPECT_EQ(merged.HeardShare(0.0, 0.0, scratch), 1.0) << "no locations: nothing against it";
    EXPECT_EQ(CSurveyField({}, std::nullopt, locations).Level(0.0, 1.0, scratch), kNoSignalDbm);
}

CTarvoAnalyzerDoc TwoRoomsDoc() {
    CTwoRooms study;
    CTarvoAnalyzerDoc doc;
    doc.points.Vector() = study.locations;
    study.ap.selected = 1;
    study.ap.matrix.Vector() = PredictApMatrix(study.ap, 0.0, 0.0).values;
    doc.aps.Add(study.ap);
    doc.processed = true;
    doc.MinPointsForEstimate = 20;
    return doc;
}

TEST(SurveyModel, TheChosenModelMakesTheMatricesCoverageAndRecalculation) {
    CTarvoAnalyzerDoc doc = TwoRoomsDoc();
    const std::vector<double> studyMatrix = doc.aps[0].matrix.Vector();
    CNullProgress progress;
    EXPECT_TRUE(UseCoverageModel(doc, CoverageModelKind::Survey, progress));
    EXPECT_EQ(doc.spareText2, "coverage=survey");
    EXPECT_EQ(doc.aps[0].matrix.Vector(),
              PredictSurveyMatrix(doc.aps[0], true, doc.points.Vector()).values);
    EXPECT_FALSE(UseCoverageModel(doc, CoverageModelKind::Survey, progress));

    // The site-wide strength reads each AP's survey matrix: nothing in room B.
    test::CFakeUi ui;
    ASSERT_EQ(ProcessCoverage(doc, ui, 1), CoverageOutcome::Computed);
    for (int i = 0; i < doc.CoverageRows; ++i)
        for (int j = 0; j < doc.CoverageCols; ++j) {
            const double x =
                doc.AnalysisBox.minX + i * doc.AnalysisBox.extentX / (doc.CoverageRows - 1);
            const double y =
                doc.AnalysisBox.minY + j * doc.AnalysisBox.extentY / (doc.CoverageCols - 1);
            const double v = doc.StrengthMatrix[CoverageIndex(doc, i, j)];
            const auto read = MatrixLevelAt(doc.aps[0], y, x);
            EXPECT_DOUBLE_EQ(v, read.value_or(kNoSignalDbm)) << x << ", " << y;
            if (x >= 11.5 && y <= 8.5) {
                EXPECT_EQ(v, kNoSignalDbm);
            }
        }

    // A moved AP is refitted and its matrix remade by the survey model.
    doc.lastApPosition = doc.aps[0].position;
    doc.aps[0].position = {4.0, 6.0};
    ASSERT_EQ(RecalculateAp(doc, 0, ui), RecalculateOutcome::Refitted);
    EXPECT_EQ(doc.aps[0].matrix.Vector(),
              PredictSurveyMatrix(doc.aps[0], true, doc.points.Vector()).values);

    // And back: the study model's matrix from the stored fit; the coverage
    // is made again by the study model on the same grid.
    EXPECT_TRUE(UseCoverageModel(doc, CoverageModelKind::Study, progress));
    EXPECT_EQ(doc.spareText2, "");
    EXPECT_EQ(doc.aps[0].matrix.Vector(),
              PredictApMatrix(doc.aps[0], doc.aps[0].slope, doc.aps[0].intercept).values);
    EXPECT_TRUE(doc.coveragePresent);
    EXPECT_NE(studyMatrix, doc.aps[0].matrix.Vector()) << "refitted at the new position";
}

TEST(MatrixLevel, BilinearBetweenGridPointsAndNothingOutsideTheBox) {
    CAPInfo ap;
    ap.origin = {10.0, 20.0}; // Y, X
    ap.extent = {2.0, 4.0};
    ap.rows = 3;    // X 20, 22, 24
    ap.columns = 2; // Y 10, 12
    ap.matrix = CArray<double>{-40.0, -60.0, -50.0, -70.0, -80.0, -100.0};
    EXPECT_EQ(*MatrixLevelAt(ap, 10.0, 20.0), -40.0);
    EXPECT_EQ(*MatrixLevelAt(ap, 12.0, 24.0), -100.0);
    EXPECT_EQ(*MatrixLevelAt(ap, 11.0, 20.0), -50.0);
    // Halfway between X 22 and 24, a quarter of the way from Y 10 to 12:
    // ((-50 * 0.75 + -70 * 0.25) + (-80 * 0.75 + -100 * 0.25)) / 2.
    EXPECT_DOUBLE_EQ(*MatrixLevelAt(ap, 10.5, 23.0), -70.0);
    EXPECT_FALSE(MatrixLevelAt(ap, 9.999, 21.0));
    EXPECT_FALSE(MatrixLevelAt(ap, 11.0, 24.001));
    // Offsets beyond the box are read on its edge.
    EXPECT_EQ(*MatrixLevelAtOffset(ap, -5.0, 50.0), -80.0);
    ap.matrix.RemoveAt(0);
    EXPECT_FALSE(MatrixLevelAt(ap, 10.0, 20.0)) << "a matrix that does not fit its grid";
    // A box of no extent along Y: one grid point on that axis.
    CAPInfo line;
    line.origin = {5.0, 0.0};
    line.extent = {0.0, 10.0};
    line.rows = 2;
    line.columns = 1;
    line.matrix = CArray<double>{-50.0, -70.0};
    EXPECT_DOUBLE_EQ(*MatrixLevelAt(line, 5.0, 2.5), -55.0);
    EXPECT_FALSE(MatrixLevelAt(line, 5.1, 2.5));
}

} // namespace
} // namespace tarvo
