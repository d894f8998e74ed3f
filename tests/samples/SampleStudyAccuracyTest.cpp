// The estimated AP positions of the generated office and campus studies
// against the positions the walks were simulated from, for each estimator,
// beside two simple baselines: the strongest sample and the centroid of the
// samples weighted by their power, 10^(RSSI/10).

#include "analysis/CollectionLoader.h"
#include "analysis/ProjectionOpen.h"
#include "formats/ProjectionReader.h"
#include "formats/WorkspaceWriter.h"
#include "model/Text.h"
#include "reference/PositionBaselines.h"
#include "samples/SampleStudyOpen.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace tarvo {
namespace {

struct CAccuracy {
    int estimated = 0; // APs with enough thinned samples for a position
    double medianErrorM = 0.0;
    double worstErrorM = 0.0;
    double strongestMedianM = 0.0; // baselines over the same APs
    double centroidMedianM = 0.0;
    int covered = 0; // true positions within the AP's uncertainty radius
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// A generated study written to a folder, loaded as "Process Files" does.
struct CStudyFiles {
    CSampleStudy study;
    test::CTempDir dir;

    explicit CStudyFiles(const std::string& scenario) {
        std::optional<CSampleStudy> generated = GenerateSampleStudy(scenario, 1);
        EXPECT_TRUE(generated.has_value());
        if (generated)
            study = std::move(*generated);
    }

    void Load(CTarvoAnalyzerDoc& doc, test::CFakeUi& ui, unsigned threads = 0,
              EstimatorKind estimator = EstimatorKind::Study) const {
        doc.estimator = estimator;
        std::string error;
        EXPECT_TRUE(OpenSampleStudy(doc, study, dir.Path().string(), true, ui, error, threads))
            << error;
        EXPECT_TRUE(ui.messages.empty());
    }
};

CAccuracy LoadAndCompare(const std::string& scenario,
                         EstimatorKind estimator = EstimatorKind::Study) {
    const CStudyFiles files(scenario);
    CTarvoAnalyzerDoc doc;
    test::CFakeUi ui;
    files.Load(doc, ui, 0, estimator);

    CAccuracy result;
    std::vector<double> errors, strongestErrors, centroidErrors;
    for (const CSimulatedAp& truth : files.study.aps) {
        for (const CAPInfo& ap : doc.aps) {
            if (ap.bssid != truth.mac || ap.filteredSamples.GetSize() < doc.MinPointsForEstimate)
                continue;
            auto error = [&](double y, double x) { return std::hypot(y - truth.y, x - truth.x); };
            errors.push_back(error(ap.position[0], ap.position[1]));
            result.covered += errors.back() <= ap.uncertaintyM ? 1 : 0;
            const auto strongest = test::StrongestSamplePosition(ap.samples.Vector());
            const auto centroid = test::PowerWeightedCentroid(ap.samples.Vector());
            strongestErrors.push_back(error(strongest[0], strongest[1]));
            centroidErrors.push_back(error(centroid[0], centroid[1]));
        }
    }
    result.estimated = static_cast<int>(errors.size());
    if (errors.empty())
        return result;
    result.medianErrorM = Median(errors);
    result.worstErrorM = *std::max_element(errors.begin(), errors.end());
    result.strongestMedianM = Median(strongestErrors);
    result.centroidMedianM = Median(centroidErrors);
    return result;
}

TEST(SampleStudyAccuracyTest, ApsLandNearTheirTruePositions) {
    for (auto [scenario, estimated, median] : {std::tuple{"office", 6, 1.5}, {"campus", 15, 4.0}}) {
        const CAccuracy a = LoadAndCompare(scenario);
        std::printf("%s: %d APs estimated, median error %.2f m, worst %.2f m\n", scenario,
                    a.estimated, a.medianErrorM, a.worstErrorM);
        EXPECT_GE(a.estimated, estimated) << scenario;
        EXPECT_LT(a.medianErrorM, median) << scenario;
    }
}

// A guard against regressions of the joint fit: on the office study it
// stays clearly closer to the truth than either baseline.
TEST(SampleStudyAccuracyTest, JointFitBeatsTheBaselinesOnTheOffice) {
    const CAccuracy a = LoadAndCompare("office", EstimatorKind::Joint);
    std::printf("office, joint fit: median error %.2f m (strongest sample %.2f m, centroid "
                "%.2f m), worst %.2f m\n",
                a.medianErrorM, a.strongestMedianM, a.centroidMedianM, a.worstErrorM);
    EXPECT_GE(a.estimated, 6);
    EXPECT_LT(a.medianErrorM, 0.7 * std::min(a.strongestMedianM, a.centroidMedianM));
    EXPECT_LT(a.worstErrorM, 1.5);
}

// The robust estimator on the simulated studies, where a path-loss line
// explains the readings: it stays below both baselines. The radius is meant
// to hold about 68 % of the true positions: over the 28 APs at least half
// lie within it (the campus's GPS noise, which no radius models, keeps its
// share lower), and no study's radii hold every AP.
TEST(SampleStudyAccuracyTest, RobustEstimatorBeatsTheBaselinesOnTheSimulatedStudies) {
    int covered = 0, estimated = 0;
    for (const char* scenario : {"office", "campus"}) {
        const CAccuracy a = LoadAndCompare(scenario, EstimatorKind::Robust);
        std::printf("%s, robust: median error %.2f m (strongest sample %.2f m, centroid %.2f m), "
                    "%d of %d within the radius\n",
                    scenario, a.medianErrorM, a.strongestMedianM, a.centroidMedianM, a.covered,
                    a.estimated);
        EXPECT_LT(a.medianErrorM, 0.7 * std::min(a.strongestMedianM, a.centroidMedianM))
            << scenario;
        EXPECT_LT(a.covered, a.estimated) << scenario << ": radii that hold every AP are too wide";
        covered += a.covered;
        estimated += a.estimated;
    }
    EXPECT_GE(2 * covered, estimated);
}

TEST(SampleStudyAccuracyTest, ThreadCountNeverChangesTheResult) {
    const CStudyFiles files("office");
    for (EstimatorKind estimator :
         {EstimatorKind::Study, EstimatorKind::Joint, EstimatorKind::Robust}) {
        CTarvoAnalyzerDoc one;
        test::CFakeUi oneUi;
        files.Load(one, oneUi, 1, estimator);
        const auto saved = WriteWorkspace(one);
        ASSERT_TRUE(saved.has_value());
        for (unsigned threads : {2u, 0u}) {
            CTarvoAnalyzerDoc many;
            test::CFakeUi ui;
            files.Load(many, ui, threads, estimator);
            EXPECT_EQ(WriteWorkspace(many), saved) << threads << " threads";
            EXPECT_EQ(ui.progress.Texts(), oneUi.progress.Texts());
        }
    }
}

} // namespace
} // namespace tarvo
