// The tool as its help describes it: every command explains itself, errors
// name their command, the exit status tells refused input from success,
// progress shows only to someone watching, and nothing opens a viewer
// without a display.

#ifdef TARVO_HAVE_tarvo_export

#include "cli/ToolRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace tarvo {
namespace {

using test::CToolRun;
using test::Has;
using test::RunTarvo;

TEST(ToolManual, HelpForEveryCommandAndTheVersion) {
    for (const CCommand& c : CommandRegistry()) {
        const CToolRun asked = RunTarvo({"help", c.name});
        EXPECT_EQ(asked.status, 0) << c.name;
        EXPECT_EQ(asked.out.rfind("usage: tarvo " + c.name + " ", 0), 0u) << c.name;
        EXPECT_EQ(RunTarvo({c.name, "--help"}).out, asked.out) << c.name;
        // Every option of the usage line is explained.
        for (std::size_t at = c.usage.find("--"); at != std::string::npos;
             at = c.usage.find("--", at + 2)) {
            const std::string option = c.usage.substr(at, c.usage.find_first_of(" ]|", at) - at);
            EXPECT_TRUE(Has(c.help, "  " + option + " ")) << c.name << ' ' << option;
        }
    }
    EXPECT_TRUE(Has(RunTarvo({"help", "render"}).out, "5 how many APs reach it"));
    EXPECT_TRUE(Has(RunTarvo({"help", "report"}).out, "a workspace (.tws) alone, or survey"));
    EXPECT_EQ(RunTarvo({"--version"}).out.rfind("tarvo ", 0), 0u);
    EXPECT_EQ(RunTarvo({"help", "frobnicate"}).status, 2);
}

TEST(ToolManual, ExitStatusPrefixesExtensionsUnitsAndDisplay) {
    test::CTempDir dir;
    const std::string survey = test::WriteGridWalk(dir);
    const std::string bad = dir.Write("bad.ssd", {1, 2, 3});
    // A refused file among good ones: the rest is processed, the status is 1.
    CToolRun r = RunTarvo({"process", bad, survey});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.out, "2 APs from 49 points")) << r.out;
    for (const std::string command : {"render", "report", "table", "kml"})
        EXPECT_EQ(RunTarvo({command, survey, "--bogus"}).err,
                  "tarvo " + command + ": unknown option --bogus\n");

    const std::string png = dir.File("A.PNG");
    EXPECT_EQ(RunTarvo({"render", survey, "--type", "1", "--size", "400x300", "--out", png}).status,
              0);
    EXPECT_EQ(test::ReadBytes(png).at(1), 'P');
    for (const std::vector<std::string>& refused : std::vector<std::vector<std::string>>{
             {"map", survey, "--out", dir.File("map.png")},
             {"render", survey, "--type", "11", "--out", png},
             {"render", survey, "--out", dir.File("x.gif")},
             {"render", survey, "--out", png, "--size", "800"},
             {"render", survey, "--out", png, "--select", "00-00-00-00-00-07"},
             {"table", survey, "--out", png, "--delimiter", "ab"}})
        EXPECT_EQ(RunTarvo(refused).status, 2) << refused.back();

    // Lengths in metres or feet; the report's folder is made; no display,
    // no viewer (one that would leave a mark is first on the path).
    const std::string script = "#!/bin/sh\nprintf %s \"$1\" >'" + dir.File("opened") + "'\n";
    const std::string viewer = dir.Write("xdg-open", {script.begin(), script.end()});
    std::filesystem::permissions(viewer, std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (dir.Path().string() + ":" + path).c_str(), 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    const std::string html = dir.File("new/folder/r.html");
    r = RunTarvo({"report", survey, "--out", html, "--units", "m", "--no-aps"});
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string text = test::ReadText(html);
    EXPECT_TRUE(Has(text, "<th align =\"Center\">Height(m)"));
    EXPECT_FALSE(Has(text, "Access Point Information"));
    EXPECT_TRUE(Has(text, "Coverage of Signal Strength")); // computed for the report
    EXPECT_FALSE(std::filesystem::exists(dir.File("opened")));
    EXPECT_EQ(RunTarvo({"report", survey, "--out", html, "--units", "yd"}).status, 2);
    // With a display the viewer gets the report; the tool does not wait for it.
    ::setenv("PATH", (dir.Path().string() + ":" + path).c_str(), 1);
    ::setenv("DISPLAY", ":99", 1);
    r = RunTarvo({"report", survey, "--out", html});
    ::unsetenv("DISPLAY");
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(r.status, 0) << r.err;
    for (int tries = 0; tries < 300 && test::ReadText(dir.File("opened")) != html; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(test::ReadText(dir.File("opened")), html);

    // Progress texts only when asked for (a terminal on stderr).
    std::ostringstream out, err;
    CCommandIo watched{out, err, true};
    EXPECT_EQ(RunTool({"process", survey}, watched), 0);
    EXPECT_TRUE(Has(err.str(), "Loading Collection Data ...")) << err.str();
    EXPECT_EQ(RunTarvo({"process", survey}).err, "");
}

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
