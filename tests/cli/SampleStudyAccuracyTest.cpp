// The estimated AP positions of the generated office and campus studies
// against the positions the walks were simulated from, for each estimator,
// beside two simple baselines: the strongest sample and the centroid of the
// samples weighted by their power, 10^(RSSI/10).

#include "analysis/CollectionLoader.h"
#include "analysis/ProjectionOpen.h"
#include "cli/SampleStudy.h"
#include "formats/ProjectionReader.h"
#include "model/Text.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvo {
namespace {

struct CAccuracy {
    int estimated = 0; // APs with enough thinned samples for a position
    double medianErrorM = 0.0;
    double worstErrorM = 0.0;
    double strongestMedianM = 0.0; // baselines over the same APs
    double centroidMedianM = 0.0;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

CAccuracy LoadAndCompare(const std::string& scenario,
                         EstimatorKind estimator = EstimatorKind::Study) {
    const std::optional<CSampleStudy> study = GenerateSampleStudy(scenario, 1);
    EXPECT_TRUE(study.has_value());
    if (!study)
        return {};
    test::CTempDir dir;
    std::string error;
    EXPECT_TRUE(WriteSampleStudy(*study, dir.Path().string(), error)) << error;

    CTarvoAnalyzerDoc doc;
    doc.estimator = estimator;
    test::CFakeUi ui;
    for (const CSimulatedWalk& walk : study->walks) {
        CDataFile file;
        file.title = walk.fileName;
        file.path = dir.File(walk.fileName);
        doc.files.Add(file);
    }
    EXPECT_TRUE(OpenProjectionFile(doc, dir.File(study->projectionFileName), ui));
    EXPECT_EQ(LoadCollection(doc, ui), LoadOutcome::Loaded);
    EXPECT_TRUE(ui.messages.empty());

    std::vector<double> errors, strongestErrors, centroidErrors;
    for (const CSimulatedAp& truth : study->aps) {
        for (const CAPInfo& ap : doc.aps) {
            if (ap.bssid != truth.mac || ap.filteredSamples.GetSize() < doc.MinPointsForEstimate)
                continue;
            auto error = [&](double y, double x) { return std::hypot(y - truth.y, x - truth.x); };
            errors.push_back(error(ap.position[0], ap.position[1]));
            const CData* strongest = &ap.samples[0];
            double sw = 0.0, sy = 0.0, sx = 0.0;
            for (const CData& s : ap.samples) {
                if (s.rssi > strongest->rssi)
                    strongest = &s;
                const double w = std::pow(10.0, s.rssi / 10.0);
                sw += w;
                sy += w * s.y;
                sx += w * s.x;
            }
            strongestErrors.push_back(error(strongest->y, strongest->x));
            centroidErrors.push_back(error(sy / sw, sx / sw));
        }
    }
    CAccuracy result;
    result.estimated = static_cast<int>(errors.size());
    if (errors.empty())
        return result;
    result.medianErrorM = Median(errors);
    result.worstErrorM = *std::max_element(errors.begin(), errors.end());
    result.strongestMedianM = Median(strongestErrors);
    result.centroidMedianM = Median(centroidErrors);
    return result;
}

TEST(SampleStudyAccuracyTest, OfficeApsLandNearTheirTruePositions) {
    const CAccuracy a = LoadAndCompare("office");
    std::printf("office: %d APs estimated, median error %.2f m, worst %.2f m\n", a.estimated,
                a.medianErrorM, a.worstErrorM);
    EXPECT_GE(a.estimated, 6);
    EXPECT_LT(a.medianErrorM, 1.5);
}

TEST(SampleStudyAccuracyTest, CampusApsLandNearTheirTruePositions) {
    const CAccuracy a = LoadAndCompare("campus");
    std::printf("campus: %d APs estimated, median error %.2f m, worst %.2f m\n", a.estimated,
                a.medianErrorM, a.worstErrorM);
    EXPECT_GE(a.estimated, 15);
    EXPECT_LT(a.medianErrorM, 4.0);
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

} // namespace
} // namespace tarvo
