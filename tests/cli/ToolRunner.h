#pragma once
// Runs the `tarvo` tool in-process and captures its output.

#include "cli/Commands.h"

#include <sstream>
#include <string>
#include <vector>

namespace tarvo::test {

struct CToolRun {
    int status;
    std::string out;
    std::string err;
};

inline CToolRun RunTarvo(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CCommandIo io{out, err};
    int status = RunTool(args, io);
    return {status, out.str(), err.str()};
}

} // namespace tarvo::test
