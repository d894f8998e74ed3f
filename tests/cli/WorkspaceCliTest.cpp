#include "cli/SampleStudy.h"
#include "cli/ToolRunner.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace tarvo {
namespace {

using test::CSampleSpec;
using test::CToolRun;
using test::RunTarvo;

class WorkspaceCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        // A 6 x 6 GPS grid about 11 m apart, one AP near its middle, one
        // marked AP and one interference source.
        test::CSsdBuilder walk;
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j) {
                const double d = std::hypot((i - 2.4) * 11.0, (j - 3.1) * 11.0);
                CSampleSpec s;
                s.mac[5] = 1;
                s.rssi16 = static_cast<std::int16_t>(std::lround((-32 - 27 * std::log10(d)) * 16));
                walk.Gps(1.0 + i * 0.0001, 2.0 + j * 0.0001, {s});
            }
        walk.MarkedAp(3600000, 7200000, 6, "net", "desk")
            .Interference(3600360, 7200360, 48740, 400, "oven");
        survey = dir.Write("walk.ssd", walk.Bytes());
    }

    test::CTempDir dir;
    std::string survey;
};

// The sample studies come with their maps (a linear floor plan and a GPS
// site), so everything the results depend on is in the workspace.
TEST_F(WorkspaceCliTest, SavedSampleStudiesReopenWithTheSameResults) {
    for (const char* scenario : {"office", "campus"}) {
        SCOPED_TRACE(scenario);
        const auto sample = GenerateSampleStudy(scenario, 5);
        ASSERT_TRUE(sample);
        const std::string folder = dir.File(scenario);
        std::string error;
        ASSERT_TRUE(WriteSampleStudy(*sample, folder, error)) << error;
        std::vector<std::string> args{"process", "--with-matrix", "--json", "-"};
        args.insert(args.end(), {"--map", folder + "/" + sample->projectionFileName});
        for (const auto& walk : sample->walks)
            args.push_back(folder + "/" + walk.fileName);
        const std::string study = folder + "/study.tws";
        args.insert(args.end(), {"--save", study});
        CToolRun first = RunTarvo(args);
        ASSERT_EQ(first.status, 0) << first.err;
        ASSERT_NE(first.out.find("\"aps\":[{"), std::string::npos);

        CToolRun reopened = RunTarvo({"process", "--with-matrix", "--json", "-", study});
        ASSERT_EQ(reopened.status, 0) << reopened.err;
        EXPECT_TRUE(reopened.out == first.out) << "results differ after reopening";

        // Saving the reopened study writes the same bytes again.
        const std::string again = folder + "/again.tws";
        ASSERT_EQ(RunTarvo({"process", "--save", again, study}).status, 0);
        EXPECT_TRUE(test::ReadBytes(again) == test::ReadBytes(study));
    }
}

TEST_F(WorkspaceCliTest, SavedCoverageIsTheCoverageOfTheReopenedStudy) {
    const auto sample = GenerateSampleStudy("office", 9);
    ASSERT_TRUE(sample);
    const std::string folder = dir.File("office");
    std::string error;
    ASSERT_TRUE(WriteSampleStudy(*sample, folder, error)) << error;
    const std::string study = folder + "/covered.tws";
    std::vector<std::string> args{"coverage",
                                  "--json",
                                  "-",
                                  "--save",
                                  study,
                                  "--map",
                                  folder + "/" + sample->projectionFileName};
    for (const auto& walk : sample->walks)
        args.push_back(folder + "/" + walk.fileName);
    CToolRun first = RunTarvo(args);
    ASSERT_EQ(first.status, 0) << first.err;

    CToolRun info = RunTarvo({"info", "--json", study});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("\"coverage\":{\"rows\":"), std::string::npos) << info.out;

    // Computing the coverage again from the reopened study gives the same
    // results and, saved, the same workspace: what was saved is complete.
    const std::string again = folder + "/again.tws";
    CToolRun reopened = RunTarvo({"coverage", "--json", "-", "--save", again, study});
    ASSERT_EQ(reopened.status, 0) << reopened.err;
    EXPECT_TRUE(reopened.out == first.out) << "coverage differs after reopening";
    EXPECT_TRUE(test::ReadBytes(again) == test::ReadBytes(study));
}

TEST_F(WorkspaceCliTest, StudyWithoutMapKeepsItsApsAndMarkers) {
    const std::string study = dir.File("study.tws");
    CToolRun first = RunTarvo({"process", "--save", study, survey});
    ASSERT_EQ(first.status, 0) << first.err;
    CToolRun reopened = RunTarvo({"process", study});
    ASSERT_EQ(reopened.status, 0) << reopened.err;
    EXPECT_EQ(reopened.out, first.out);
    CToolRun info = RunTarvo({"info", study});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("  marked APs:           1\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("  interference sources: 1\n"), std::string::npos) << info.out;
}

TEST_F(WorkspaceCliTest, WorkspaceIsTakenAloneAndFailedSavesAreReported) {
    const std::string study = dir.File("study.tws");
    ASSERT_EQ(RunTarvo({"process", "--save", study, survey}).status, 0);
    EXPECT_EQ(RunTarvo({"process", study, survey}).status, 2);
    EXPECT_EQ(RunTarvo({"process", "--min-points", "5", study}).status, 2);
    EXPECT_EQ(RunTarvo({"process", "--estimator", "joint", study}).status, 2);

    const std::string nowhere = dir.File("missing/x.tws");
    CToolRun r = RunTarvo({"process", "--save", nowhere, survey});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("File Save Error: Could not save file \"" + nowhere + "\"\n"),
              std::string::npos)
        << r.err;

    CToolRun cut = RunTarvo({"process", dir.Write("cut.tws", {0x20, 'T', 'W', 'S'})});
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("Invalid File: File is not recognized as a TWS file.\n"),
              std::string::npos)
        << cut.err;
}

} // namespace
} // namespace tarvo
