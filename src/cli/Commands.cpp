#include "cli/Commands.h"

#include <algorithm>
#include <ostream>

#ifndef TARVO_VERSION
#define TARVO_VERSION "unknown"
#endif

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
    out << "\n`tarvo help COMMAND` or `tarvo COMMAND --help` explains a command's options;\n"
           "`tarvo --version` prints the version.\n";
}

const CCommand* Find(const std::string& name) {
    for (const CCommand& c : CommandRegistry())
        if (c.name == name)
            return &c;
    return nullptr;
}

void PrintHelp(const CCommand& c, std::ostream& out) {
    out << "usage: tarvo " << c.usage << "\n\n" << c.help;
}

bool IsHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

} // namespace

int RunTool(const std::vector<std::string>& args, CCommandIo& io) {
    if (args.empty() || args[0] == "help" || IsHelp(args[0])) {
        if (args.size() == 2) {
            if (const CCommand* c = Find(args[1])) {
                PrintHelp(*c, io.out);
                return 0;
            }
            io.err << "tarvo: unknown command '" << args[1] << "'\n";
        }
        const bool asked = args.size() == 1;
        PrintUsage(asked ? io.out : io.err);
        return asked ? 0 : 2;
    }
    if (args[0] == "--version") {
        io.out << "tarvo " << TARVO_VERSION << '\n';
        return 0;
    }
    const CCommand* c = Find(args[0]);
    if (!c) {
        io.err << "tarvo: unknown command '" << args[0] << "'\n";
        PrintUsage(io.err);
        return 2;
    }
    if (std::any_of(args.begin() + 1, args.end(), IsHelp)) {
        PrintHelp(*c, io.out);
        return 0;
    }
    return c->run(std::vector<std::string>(args.begin() + 1, args.end()), io);
}

} // namespace tarvo
