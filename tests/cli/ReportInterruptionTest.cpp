// A report killed part-way leaves the earlier report whole. The tool runs as
// a child process with its stderr on a terminal, so that it prints its
// progress texts, and is killed (SIGKILL) as one of them appears. Then the
// HTML and its picture folder are exactly the earlier report or exactly the
// new one, never a mix, and the next report removes what the killed one
// left behind.

#ifdef TARVO_HAVE_tarvo_export

#include "cli/ToolRunner.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using test::RunTarvo;

using CSnapshot = std::map<std::string, std::vector<std::uint8_t>>;

// The report's files by relative name, its date line left out (reports
// written at different times differ there only). Temporaries are not part
// of a report.
CSnapshot Report(const fs::path& dir) {
    CSnapshot files;
    for (auto entry = fs::recursive_directory_iterator(dir);
         entry != fs::recursive_directory_iterator(); ++entry) {
        if (entry->path().filename().string().rfind(".tarvo-", 0) == 0) {
            entry.disable_recursion_pending();
            continue;
        }
        if (!entry->is_regular_file())
            continue;
        std::vector<std::uint8_t> bytes = test::ReadBytes(entry->path().string());
        const std::string text(bytes.begin(), bytes.end());
        if (const auto at = text.find("Report date: "); at != std::string::npos)
            bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        bytes.begin() + static_cast<std::ptrdiff_t>(text.find('\n', at)));
        files[fs::relative(entry->path(), dir).string()] = std::move(bytes);
    }
    return files;
}

std::vector<std::string> Temporaries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().rfind(".tarvo-", 0) == 0)
            names.push_back(entry.path().filename().string());
    return names;
}

// The tool's own children that it left when it was killed (its last two
// renames run in one, which a kill of the tool does not stop), taken over by
// this process as their subreaper: waited for by number, so the report is
// looked at only once they are done.
void WaitForOrphanedTools() {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string stat = test::ReadText((entry.path() / "stat").string());
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos || stat.find("(tarvo)") == std::string::npos)
            continue;
        std::istringstream fields(stat.substr(close + 1));
        std::string state;
        long parent = 0;
        fields >> state >> parent;
        if (parent == ::getpid())
            ::waitpid(static_cast<pid_t>(std::stol(name)), nullptr, 0);
    }
}

// Runs the tool with its stderr on a new terminal and kills it once `text`
// has appeared there. Returns what it printed; waits for its own child and
// for the children the tool left.
std::string RunAndKillAt(const std::vector<std::string>& args, const std::string& text) {
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(terminal, 0);
    if (terminal < 0 || ::grantpt(terminal) != 0 || ::unlockpt(terminal) != 0)
        return "no terminal";
    const std::string side = ::ptsname(terminal);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, side.c_str(), O_RDWR | O_NOCTTY, 0);
    std::vector<std::string> argv{TARVO_TOOL_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    pid_t child = -1;
    const int spawned =
        ::posix_spawn(&child, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0);

    std::string printed;
    while (spawned == 0 && printed.find(text) == std::string::npos) {
        pollfd ready{terminal, POLLIN, 0};
        if (::poll(&ready, 1, 300000) <= 0)
            break; // five minutes without a word
        char buffer[4096];
        const ::ssize_t n = ::read(terminal, buffer, sizeof buffer);
        if (n <= 0)
            break; // the tool ended
        printed.append(buffer, static_cast<std::size_t>(n));
    }
    if (spawned == 0) {
        ::kill(child, SIGKILL);
        EXPECT_EQ(::waitpid(child, nullptr, 0), child);
        WaitForOrphanedTools();
    }
    ::close(terminal);
    return printed;
}

TEST(ReportInterruption, AKilledReportLeavesTheEarlierOneOrTheNewOneWhole) {
    test::CTempDir inputs, reference, out;
    fs::create_directories(inputs.Path() / "a");
    fs::create_directories(inputs.Path() / "b");
    const std::string oldSurvey = test::WriteGridWalk(inputs, "old");
    fs::rename(oldSurvey, inputs.File("a/walk.ssd"));
    const std::string newSurvey = test::WriteGridWalk(inputs, "new");
    const std::string oldStudy = inputs.File("old.tws"), newStudy = inputs.File("new.tws");
    ASSERT_EQ(RunTarvo({"coverage", inputs.File("a/walk.ssd"), "--save", oldStudy}).status, 0);
    // Other power levels: the new report's pictures differ from the earlier ones.
    ASSERT_EQ(RunTarvo({"coverage", newSurvey, "--power-low", "-75", "--power-high", "-45",
                        "--save", newStudy})
                  .status,
              0);

    const std::string html = out.File("site.html");
    // The new report draws every AP in one colour.
    const std::vector<std::string> newReport{"report", newStudy, "--colour-mode", "2",
                                             "--out",  html,     "--no-open"};
    const auto report = [&](const std::string& study, const std::string& to) {
        std::vector<std::string> args{"report", study, "--out", to, "--no-open"};
        if (study == newStudy)
            args.insert(args.begin() + 2, {"--colour-mode", "2"});
        return RunTarvo(args).status;
    };
    ASSERT_EQ(report(newStudy, reference.File("site.html")), 0);
    ASSERT_EQ(report(oldStudy, html), 0);
    const CSnapshot earlier = Report(out.Path()), later = Report(reference.Path());
    ASSERT_GT(earlier.size(), 30u);
    int differentPictures = 0;
    for (const auto& [name, bytes] : earlier)
        differentPictures += name.ends_with(".bmp") && later.count(name) && later.at(name) != bytes;
    ASSERT_GE(differentPictures, 4); // individual analysis, reliability, strength, overlap

    // Points spread over the pictures, and "Finished...", after which the
    // HTML is written and the folder and the HTML are renamed into place.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    int keptEarlier = 0;
    for (const char* step : {"Write Down File's Info...", "Draw Measurement Path...",
                             "Draw Coverage of Selected APs...",
                             "Draw the Coverage of Signal Strength of Selected APs...",
                             "Draw the Number of APS per Location...", "Finished..."}) {
        if (Report(out.Path()) != earlier) {
            ASSERT_EQ(report(oldStudy, html), 0);
        }
        const std::string printed = RunAndKillAt(newReport, step);
        ASSERT_NE(printed.find(step), std::string::npos) << printed;
        const CSnapshot after = Report(out.Path());
        EXPECT_TRUE(after == earlier || after == later) << "killed at " << step;
        keptEarlier += after == earlier;
    }
    EXPECT_GE(keptEarlier, 1) << "no kill came before the report was complete";

    // The next report removes the temporaries that the killed ones left.
    ASSERT_EQ(report(newStudy, html), 0);
    EXPECT_EQ(Report(out.Path()), later);
    EXPECT_TRUE(Temporaries(out.Path()).empty());
}

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
