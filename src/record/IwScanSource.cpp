#include "record/IwScanSource.h"

#include "model/Text.h"
#include "record/ProcessRunner.h"

#include <cstdlib>
#include <ctime>
#include <sstream>
#include <unistd.h>

namespace tarvo {

namespace {

bool Says(const CProgramRun& run, const char* text) {
    return run.err.find(text) != std::string::npos || run.out.find(text) != std::string::npos;
}

std::string Command(const std::string& program, const std::string& interface, bool dump) {
    return program + " dev " + interface + (dump ? " scan dump" : " scan");
}

// The entries the reader left out, said once in a note.
std::string ProblemsNote(const CIwScan& scan) {
    if (scan.problems.empty())
        return {};
    std::string note = scan.problems.size() == 1
                           ? std::string("1 entry of the scan was left out:")
                           : Format("%zu entries of the scan were left out:", scan.problems.size());
    for (const CIwScanProblem& problem : scan.problems)
        note += Format(" line %d: %s;", problem.line, problem.reason.c_str());
    note.pop_back();
    return note;
}

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':'))
        if (::access(((folder.empty() ? "." : folder) + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

} // namespace

std::vector<std::string> IwFallbackPaths() {
    return {"/usr/sbin/iw", "/sbin/iw"};
}

std::string FindIw(const std::string& program, const std::vector<std::string>& fallbacks) {
    if (program.find('/') != std::string::npos || OnPath(program))
        return program;
    for (const std::string& fallback : fallbacks)
        if (::access(fallback.c_str(), X_OK) == 0)
            return fallback;
    return program;
}

std::string IwMissingText(const std::string& program) {
    return program + " is not installed (or not on the PATH): scanning needs the program iw "
                     "(Debian package iw)";
}

std::string IwStaleNote(const std::string& interface) {
    return "a fresh scan of " + interface +
           " is not permitted: it needs the CAP_NET_ADMIN capability (run as root, or grant it "
           "to a copy of iw: sudo setcap cap_net_admin+ep /usr/local/bin/iw). Using the "
           "adapter's cached results (iw dev " +
           interface + " scan dump) instead: they may be stale";
}

std::string IwPermissionText(const std::string& interface) {
    return "iw dev " + interface +
           " scan: Operation not permitted: scanning needs the CAP_NET_ADMIN capability (run as "
           "root, or grant it to a copy of iw: sudo setcap cap_net_admin+ep /usr/local/bin/iw)";
}

CIwScanSource::CIwScanSource(std::string interface, std::string program, Clock clock,
                             std::vector<std::string> fallbacks)
    : interface_(std::move(interface)), program_(std::move(program)), clock_(std::move(clock)),
      fallbacks_(std::move(fallbacks)) {
    if (!clock_)
        clock_ = [] { return static_cast<std::int64_t>(std::time(nullptr)); };
}

CScanOutcome CIwScanSource::Scan() {
    if (!dumpOnly_) {
        CScanOutcome fresh = Read(false);
        if (fresh.scan || fresh.error != IwPermissionText(interface_))
            return fresh;
        dumpOnly_ = true;
    }
    CScanOutcome cached = Read(true);
    if (cached.scan) {
        cached.scan->stale = true;
        if (!staleNoted_) {
            staleNoted_ = true;
            const std::string problems = cached.scan->note;
            cached.scan->note = IwStaleNote(interface_) + (problems.empty() ? "" : "; " + problems);
        }
    } else if (cached.error.find("Operation not permitted") != std::string::npos) {
        cached.error = IwPermissionText(interface_);
    }
    return cached;
}

CScanOutcome CIwScanSource::Read(bool dump) {
    const std::string program = FindIw(program_, fallbacks_);
    std::vector<std::string> argv = {program, "dev", interface_, "scan"};
    if (dump)
        argv.push_back("dump");
    const CProgramRun run = RunProgram(argv, kIwTimeoutMs);
    if (!run.started)
        return CScanOutcome::Failed(run.notFound
                                        ? IwMissingText(program)
                                        : program + " cannot be started: " + run.startError);
    if (!run.Succeeded()) {
        if (!dump && Says(run, "Operation not permitted"))
            return CScanOutcome::Failed(IwPermissionText(interface_));
        return CScanOutcome::Failed(Command(program, interface_, dump) + ": " +
                                    ProgramFailureText(run, kIwTimeoutMs));
    }
    const CIwScan parsed = ParseIwScan(run.out);
    // Text without any BSS line is no scan at all (iw printed something
    // else); an empty text is a scan that heard nothing.
    if (parsed.entries.empty() && parsed.problems.size() == 1 && parsed.problems[0].line == 1 &&
        parsed.problems[0].reason.rfind("no BSS line", 0) == 0)
        return CScanOutcome::Failed(Command(program, interface_, dump) +
                                    " printed no scan: " + ProgramFailureText(run, 0));
    CScan scan;
    scan.heard = parsed.entries;
    scan.timeSeconds = clock_();
    scan.note = ProblemsNote(parsed);
    CScanOutcome outcome;
    outcome.scan = std::move(scan);
    return outcome;
}

} // namespace tarvo
