#pragma once
// Subcommands of the `tarvo` tool. Each command file registers itself with
// a static CRegisterCommand, so adding a command touches no other file.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tarvo {

struct CCommandIo {
    std::ostream& out; // results
    std::ostream& err; // messages ("TITLE: TEXT") and progress
};

struct CCommand {
    std::string name;
    std::string usage; // one line, shown by `tarvo help`
    std::function<int(const std::vector<std::string>& args, CCommandIo& io)> run;
};

std::vector<CCommand>& CommandRegistry();

struct CRegisterCommand {
    explicit CRegisterCommand(CCommand command) { CommandRegistry().push_back(std::move(command)); }
};

// Runs `tarvo ARGS...` as the tool would; returns the exit status.
int RunTool(const std::vector<std::string>& args, CCommandIo& io);

} // namespace tarvo
