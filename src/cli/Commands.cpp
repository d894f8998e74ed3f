#include "cli/Commands.h"

#include <algorithm>
#include <ostream>

namespace tarvo {

std::vector<CCommand>& CommandRegistry() {
    static std::vector<CCommand> commands;
    return commands;
}

namespace {

void PrintUsage(std::ostream& out) {
    auto commands = CommandRegistry();
    std::sort(commands.begin(), commands.end(),
              [](const CCommand& a, const CCommand& b) { return a.name < b.name; });
    out << "usage: tarvo COMMAND [ARGS...]\n\ncommands:\n";
    for (const CCommand& c : commands)
        out << "  " << c.usage << '\n';
}

} // namespace

int RunTool(const std::vector<std::string>& args, CCommandIo& io) {
    if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        PrintUsage(args.empty() ? io.err : io.out);
        return args.empty() ? 2 : 0;
    }
    for (const CCommand& c : CommandRegistry())
        if (c.name == args[0])
            return c.run(std::vector<std::string>(args.begin() + 1, args.end()), io);
    io.err << "tarvo: unknown command '" << args[0] << "'\n";
    PrintUsage(io.err);
    return 2;
}

} // namespace tarvo
