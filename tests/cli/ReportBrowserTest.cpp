// The reports of the office and campus sample studies, opened in headless
// Chromium: every picture and legend bitmap must be shown. Skipped on a
// machine without Chromium.

#ifdef TARVO_HAVE_tarvo_export

#include "cli/ToolRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace tarvo {
namespace {

using test::RunTarvo;

bool HaveChromium() {
    return std::system("command -v chromium >/dev/null 2>&1 || "
                       "command -v chromium-browser >/dev/null 2>&1") == 0;
}

class ReportInBrowser : public ::testing::TestWithParam<const char*> {};

TEST_P(ReportInBrowser, EveryPictureIsShown) {
    if (!HaveChromium())
        GTEST_SKIP() << "no chromium on this machine";
    const std::string scenario = GetParam();
    test::CTempDir dir;
    const std::string study = dir.File(scenario);
    auto made = RunTarvo({"simulate", "--scenario", scenario, "--out", study});
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string map = study + (scenario == "office" ? "/office.lpf" : "/campus.gpf");
    const std::string report = dir.File(scenario + ".html");
    auto run = RunTarvo({"report", "--map", map, study + "/walk1.ssd", study + "/walk2.ssd",
                         "--out", report, "--no-open"});
    ASSERT_EQ(run.status, 0) << run.err;

    // Path, its legend, the individual picture, reliability, strength and
    // overlap pictures with their 9 + 10 + 10 swatches: well over 30.
    // TARVO_TEST_DATA_DIR is <repository>/tests/data (which may not exist).
    std::string root = TARVO_TEST_DATA_DIR;
    root.erase(root.rfind("/tests/data"));
    const std::string script = root + "/scripts/check-report-in-browser";
    const int status = std::system(("'" + script + "' '" + report + "' 30").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

INSTANTIATE_TEST_SUITE_P(SampleStudies, ReportInBrowser, ::testing::Values("office", "campus"));

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
