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
    EXPECT_EQ(r.err, "File Open Error: Could not open file \"" + folder +
                         "\".\n"
                         "File Open Error: Could not open file \"" +
                         dir.File("pipe.ssd") +
                         "\".\n"
                         "File Open Error: Could not open file \"" +
                         dir.File("pipe.lpf") +
                         "\"\n"
                         "File Open Error: Could not open file \"" +
                         dir.File("pipe.tws") + "\"\n");
}

} // namespace
} // namespace tarvo
