#pragma once
// Steps that the study commands (process, coverage) share: reading their
// options with the study options, and writing their JSON to stdout or to a
// file.

#include "cli/Args.h"
#include "cli/Study.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarvo {

// Checks the parsed arguments and reads the study options out of them.
// Returns nullopt after writing "tarvo COMMAND: ..." to err when either is
// invalid (the command then exits with 2).
std::optional<CStudyOptions> StudyOptionsOrComplain(CArgs& args, const std::string& command,
                                                    std::ostream& err);

// Refuses an output that is the same file as one of `taken` (the files the
// command reads, and its other outputs): writing it would destroy that file.
// Returns false after "tarvo COMMAND: ..." on err naming both.
bool OutputIsFree(const std::string& command, const std::string& output,
                  const std::vector<std::string>& taken, std::ostream& err);

// The outputs of the study commands: a JSON file (unless "-") must not be
// any input; the saved workspace must not be a survey or map input nor the
// JSON file, but may replace the workspace the study was opened from.
bool StudyOutputsAreFree(const std::string& command, const CStudyOptions& study,
                         const std::optional<std::string>& save,
                         const std::optional<std::string>& json, std::ostream& err);

// "--threads N" of the commands that process a study: the threads the AP
// estimation and the coverage grid run on. Results never depend on it.
constexpr const char* kThreadsOption = "--threads";
constexpr long long kMostThreads = 1024;

// Reads --threads: N from 1 to kMostThreads, or 0 (every core) when it is
// not given. Returns nullopt after writing "tarvo COMMAND: ..." to err when
// it is not such a number.
std::optional<unsigned> ThreadsOrComplain(CArgs& args, const std::string& command,
                                          std::ostream& err);

// Writes what write produces to out when target is "-", otherwise to the
// file target (replaced atomically). Returns the exit code: 0, or 1 after
// "tarvo COMMAND: " and the reason the file could not be written on err.
int WriteJsonTarget(const std::string& target, const std::string& command, std::ostream& out,
                    std::ostream& err, const std::function<void(std::ostream&)>& write);

} // namespace tarvo
