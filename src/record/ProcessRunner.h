#pragma once
// Running a helper program (iw, iperf3) and collecting what it prints:
// found through PATH, its standard output and error read in full (up to a
// limit), ended by SIGKILL when it runs too long. The caller's own standard
// input, output and other files are not handed to it.
//
// Thread: any thread; the call blocks until the program has ended or was
// killed. Only the started program's own process id is waited for.

#include <string>
#include <vector>

namespace tarvo {

struct CProgramRun {
    bool started = false;   // false: the program could not be started
    bool notFound = false;  // not started because no such program is on PATH
    std::string startError; // the system's reason when not started
    bool timedOut = false;  // killed after the time allowed
    bool tooLong = false;   // killed for printing more than the limit
    int exitCode = -1;      // 0..255 after a normal exit, else -1
    int signal = 0;         // the signal that ended it, else 0
    std::string out;
    std::string err;

    bool Succeeded() const { return started && !timedOut && !tooLong && exitCode == 0; }
};

// The default limit of what a program may print on each stream.
constexpr std::size_t kMostProgramOutput = 16u << 20;

// Runs argv[0] (looked up on PATH unless it holds a '/') with the
// arguments argv[1..]; standard input is /dev/null.
CProgramRun RunProgram(const std::vector<std::string>& argv, int timeoutMs,
                       std::size_t outputLimit = kMostProgramOutput);

// "name" when the program ran and failed: its first line of standard error
// (or output), else how it ended ("exit status 3", "killed by signal 9",
// "no answer within 30 s").
std::string ProgramFailureText(const CProgramRun& run, int timeoutMs);

} // namespace tarvo
