// The tool on hostile inputs: paths that are no regular file end with the
// open message (not an abort or a wait for a pipe's writer), and skipped
// GPS locations are counted in the summaries.

#include "cli/ToolRunner.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace tarvo {
namespace {

using test::RunTarvo;

TEST(HostileCli, InfoOnAFolderOrAPipeSaysItCouldNotOpenIt) {
    test::CTempDir dir;
    const std::string folder = dir.File("walk.ssd");
    std::filesystem::create_directory(folder);
    for (const char* name : {"pipe.ssd", "pipe.lpf", "pipe.tws"})
        ASSERT_EQ(::mkfifo(dir.File(name).c_str(), 0600), 0);
    const test::CToolRun r = RunTarvo(
        {"info", folder, dir.File("pipe.ssd"), dir.File("pipe.lpf"), dir.File("pipe.tws")});
    EXPECT_EQ(r.status, 1);
    std::string expected;
    for (const std::string& file : {folder, dir.File("pipe.ssd"), dir.File("pipe.lpf"),
                                    dir.File("pipe.tws")}) // each message names its file first
        expected += file + ": File Open Error: Could not open file \"" + file + "\"" +
                    (file.ends_with("ssd") ? ".\n" : "\n");
    EXPECT_EQ(r.err, expected);
}

TEST(HostileCli, SkippedLocationsAreCountedInTheSummaries) {
    test::CSampleSpec ap;
    test::CSsdBuilder walk;
    walk.Gps(60.0, 25.0, {ap}).Gps(596.0, 25.0, {ap}).Gps(60.0001, 25.0, {ap});
    test::CTempDir dir;
    const std::string path = dir.Write("walk.ssd", walk.Bytes());

    test::CToolRun r = RunTarvo({"info", path});
    EXPECT_NE(r.out.find("  locations:            2 (GPS fix 2,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  skipped locations:    1 (latitude or longitude out of range)\n"),
              std::string::npos)
        << r.out;
    r = RunTarvo({"info", "--json", path});
    EXPECT_NE(r.out.find(",\"distinctMacs\":1,\"skippedLocations\":1}"), std::string::npos)
        << r.out;
    r = RunTarvo({"process", path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("1 APs from 2 points; resolution 0.056 m\n"
                         "1 locations skipped: latitude or longitude out of range\n"),
              std::string::npos)
        << r.out;
    r = RunTarvo({"process", "--json", "-", path});
    EXPECT_NE(r.out.find("\"points\":2,\"skippedLocations\":1,"), std::string::npos) << r.out;
}

} // namespace
} // namespace tarvo
