// The estimated AP positions of the generated office and campus studies
// against the positions the walks were simulated from.

#include "analysis/CollectionLoader.h"
#include "analysis/ProjectionOpen.h"
#include "formats/ProjectionReader.h"
#include "formats/WorkspaceWriter.h"
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

// A generated study written to a folder, loaded as "Process Files" does.
struct CStudyFiles {
    CSampleStudy study;
    test::CTempDir dir;

    explicit CStudyFiles(const std::string& scenario) {
        std::optional<CSampleStudy> generated = GenerateSampleStudy(scenario, 1);
        EXPECT_TRUE(generated.has_value());
        if (generated)
            study = std::move(*generated);
        std::string error;
        EXPECT_TRUE(WriteSampleStudy(study, dir.Path().string(), error)) << error;
    }

    void Load(CTarvoAnalyzerDoc& doc, test::CFakeUi& ui, unsigned threads = 0) const {
        for (const CSimulatedWalk& walk : study.walks) {
            CDataFile file;
            file.title = walk.fileName;
            file.path = dir.File(walk.fileName);
            doc.files.Add(file);
        }
        EXPECT_TRUE(OpenProjectionFile(doc, dir.File(study.projectionFileName), ui));
        EXPECT_EQ(LoadCollection(doc, ui, threads), LoadOutcome::Loaded);
        EXPECT_TRUE(ui.messages.empty());
    }
};

CAccuracy LoadAndCompare(const std::string& scenario) {
    const CStudyFiles files(scenario);
    CTarvoAnalyzerDoc doc;
    test::CFakeUi ui;
    files.Load(doc, ui);

    std::vector<double> errors;
    for (const CSimulatedAp& truth : files.study.aps) {
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

TEST(SampleStudyAccuracyTest, ThreadCountNeverChangesTheResult) {
    const CStudyFiles files("office");
    CTarvoAnalyzerDoc one;
    test::CFakeUi oneUi;
    files.Load(one, oneUi, 1);
    const auto saved = WriteWorkspace(one);
    ASSERT_TRUE(saved.has_value());
    for (unsigned threads : {2u, 0u}) {
        CTarvoAnalyzerDoc many;
        test::CFakeUi ui;
        files.Load(many, ui, threads);
        EXPECT_EQ(WriteWorkspace(many), saved) << threads << " threads";
        EXPECT_EQ(ui.progress.Texts(), oneUi.progress.Texts());
    }
}

} // namespace
} // namespace tarvo
