#include "cli/ToolRunner.h"
#include "samples/SampleStudy.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::CToolRun;
using test::RunTarvo;

// The office sample study comes with its map, so everything its results
// depend on is in the workspace: reopened, it gives the same results and,
// saved again, the same bytes.
TEST(WorkspaceCliTest, SavedStudiesReopenWithTheSameResults) {
    test::CTempDir dir;
    const auto sample = GenerateSampleStudy("office", 9);
    std::string error;
    ASSERT_TRUE(sample && WriteSampleStudy(*sample, dir.Path().string(), error)) << error;
    std::vector<std::string> inputs{"--map", dir.File(sample->projectionFileName)};
    for (const auto& walk : sample->walks)
        inputs.push_back(dir.File(walk.fileName));
    const auto run = [&](std::vector<std::string> args, const std::vector<std::string>& rest) {
        args.insert(args.end(), rest.begin(), rest.end());
        return RunTarvo(args);
    };
    const std::string study = dir.File("study.tws"), covered = dir.File("covered.tws");
    CToolRun first = run({"process", "--with-matrix", "--json", "-", "--save", study}, inputs);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(RunTarvo({"process", "--with-matrix", "--json", "-", study}).out == first.out);

    first = run({"coverage", "--json", "-", "--save", covered}, inputs);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(RunTarvo({"info", "--json", covered}).out.find("\"coverage\":{\"rows\":"),
              std::string::npos);
    CToolRun again =
        RunTarvo({"coverage", "--json", "-", "--save", dir.File("again.tws"), covered});
    EXPECT_TRUE(again.out == first.out) << "coverage differs after reopening";
    EXPECT_TRUE(test::ReadBytes(dir.File("again.tws")) == test::ReadBytes(covered));
}

TEST(WorkspaceCliTest, WorkspaceIsTakenAloneAndFailedSavesAreReported) {
    test::CTempDir dir;
    const std::string survey = test::WriteGridWalk(dir), study = dir.File("study.tws");
    ASSERT_EQ(RunTarvo({"process", "--save", study, survey}).status, 0);
    EXPECT_EQ(RunTarvo({"process", study, survey}).status, 2);
    EXPECT_EQ(RunTarvo({"process", "--min-points", "5", study}).status, 2);

    const std::string nowhere = dir.File("missing/x.tws");
    CToolRun r = RunTarvo({"process", "--save", nowhere, survey});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("File Save Error: Could not save file \"" + nowhere + "\"\n"),
              std::string::npos)
        << r.err;
    r = RunTarvo({"process", dir.Write("cut.tws", {0x20, 'T', 'W', 'S'})});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Invalid File: File is not recognized as a TWS file.\n", 0), 0u);
}

} // namespace
} // namespace tarvo
