// The estimated AP positions of the generated office and campus studies
// against the positions the walks were simulated from.

#include "analysis/CollectionLoader.h"
#include "analysis/ProjectionOpen.h"
#include "formats/ProjectionReader.h"
#include "model/Text.h"
#include "samples/SampleStudy.h"
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
};

CAccuracy LoadAndCompare(const std::string& scenario) {
    const std::optional<CSampleStudy> study = GenerateSampleStudy(scenario, 1);
    EXPECT_TRUE(study.has_value());
    if (!study)
        return {};
    test::CTempDir dir;
    std::string error;
    EXPECT_TRUE(WriteSampleStudy(*study, dir.Path().string(), error)) << error;

    CTarvoAnalyzerDoc doc;
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

    std::vector<double> errors;
    for (const CSimulatedAp& truth : study->aps) {
        for (const CAPInfo& ap : doc.aps) {
            if (ap.bssid != truth.mac || ap.filteredSamples.GetSize() < doc.MinPointsForEstimate)
                continue;
            errors.push_back(std::hypot(ap.position[0] - truth.y, ap.position[1] - truth.x));
        }
    }
    CAccuracy result;
    result.estimated = static_cast<int>(errors.size());
    if (errors.empty())
        return result;
    std::sort(errors.begin(), errors.end());
    const std::size_t n = errors.size();
    result.medianErrorM = n % 2 ? errors[n / 2] : (errors[n / 2 - 1] + errors[n / 2]) / 2.0;
    result.worstErrorM = errors.back();
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

} // namespace
} // namespace tarvo
