#pragma once
// Subcommands of the `tarvo` tool. Each command file registers itself with
// a static CRegisterCommand, so adding a command touches no other file.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tarvo {

struct CCommandIo {
    std::ostream& out;     // results
    std::ostream& err;     // messages ("TITLE: TEXT") and progress
    bool progress = false; // print progress texts on err (a terminal is watching)
    // What the user types (record); nullptr: nothing.
    std::istream* in = nullptr;
};

struct CCommand {
    std::string name;
    std::string usage; // one line, shown by `tarvo help`
    std::function<int(const std::vector<std::string>& args, CCommandIo& io)> run;
    std::string help; // every option explained: `tarvo help NAME`, `tarvo NAME --help`
};

// What `tarvo help` says about a study, for the commands that take one.
constexpr const char* kStudyHelp =
    "  STUDY                a workspace (.tws) alone, or survey files (.ssd) loaded and\n"
    "                       processed as \"Process Files\" does\n"
    "  --map FILE.gpf|.lpf  the projection and map of the survey files\n"
    "  --no-merge           keep an AP heard in several files apart per file\n"
    "  --min-points N       fewest thinned samples an AP needs to be estimated (1..1000000)\n"
    "  --estimator NAME     how the APs of survey files are placed: study (the study\n"
    "                       method, default), joint (position, slope and intercept\n"
    "                       fitted together) or robust (the peak of the readings, or a\n"
    "                       robust path-loss fit where it explains them; each AP gets an\n"
    "                       uncertainty radius)\n"
    "  --coverage-model NAME  what predicts each AP's signal for the maps: study (the\n"
    "                       log-distance model mixed with the nearest samples, default)\n"
    "                       or survey (the heard samples interpolated, and no signal\n"
    "                       where most nearby locations did not hear the AP); a\n"
    "                       workspace made with the other model gets this one's maps\n";

// What `tarvo help` says about --threads, for the commands that estimate.
constexpr const char* kThreadsHelp =
    "  --threads N          threads for estimation and coverage, 1..1024 (default: every\n"
    "                       core); the results never depend on it\n";

std::vector<CCommand>& CommandRegistry();

struct CRegisterCommand {
    explicit CRegisterCommand(CCommand command) { CommandRegistry().push_back(std::move(command)); }
};

// Runs `tarvo ARGS...` as the tool would; returns the exit status.
int RunTool(const std::vector<std::string>& args, CCommandIo& io);

} // namespace tarvo
