#include "cli/Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    tarvo::CCommandIo io{std::cout, std::cerr};
    return tarvo::RunTool(args, io);
}
