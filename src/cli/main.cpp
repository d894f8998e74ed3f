#include "cli/Commands.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Progress texts help someone watching; in a log they are noise.
    tarvo::CCommandIo io{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1, &std::cin};
    return tarvo::RunTool(args, io);
}
