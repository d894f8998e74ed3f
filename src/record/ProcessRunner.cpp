#include "record/ProcessRunner.h"

#include "model/Text.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvo {

namespace {

// A pipe whose ends close themselves.
struct CPipe {
    int read = -1, write = -1;
    ~CPipe() {
        CloseRead();
        CloseWrite();
    }
    bool Open() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return false;
        read = fds[0];
        write = fds[1];
        return true;
    }
    void CloseRead() {
        if (read >= 0)
            ::close(read);
        read = -1;
    }
    void CloseWrite() {
        if (write >= 0)
            ::close(write);
        write = -1;
    }
};

class CSpawnActions {
public:
    CSpawnActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
    ~CSpawnActions() {
        if (ok_)
            ::posix_spawn_file_actions_destroy(&actions_);
    }
    CSpawnActions(const CSpawnActions&) = delete;
    CSpawnActions& operator=(const CSpawnActions&) = delete;
    bool Wire(const CPipe& out, const CPipe& err) {
        return ok_ &&
               ::posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) == 0 &&
               ::posix_spawn_file_actions_adddup2(&actions_, out.write, 1) == 0 &&
               ::posix_spawn_file_actions_adddup2(&actions_, err.write, 2) == 0;
    }
    const posix_spawn_file_actions_t* Get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
    bool ok_ = false;
};

// The child's status once it has ended; killed when it is still running at
// the deadline (a program may close its output and go on).
int WaitFor(pid_t pid, std::chrono::steady_clock::time_point deadline, bool& killed) {
    int status = 0;
    while (true) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return status;
        if (done < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        ::usleep(10000);
    }
    ::kill(pid, SIGKILL);
    killed = true;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}

} // namespace

CProgramRun RunProgram(const std::vector<std::string>& argv, int timeoutMs,
                       std::size_t outputLimit) {
    CProgramRun run;
    if (argv.empty()) {
        run.startError = "no program named";
        return run;
    }
    CPipe out, err;
    CSpawnActions actions;
    if (!out.Open() || !err.Open() || !actions.Wire(out, err)) {
        run.startError = std::strerror(errno);
        return run;
    }
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, argv[0].c_str(), actions.Get(), nullptr, args.data(), environ);
    if (spawned != 0) {
        run.notFound = spawned == ENOENT;
        run.startError = std::strerror(spawned);
        return run;
    }
    run.started = true;
    out.CloseWrite();
    err.CloseWrite();

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[65536];
    while (out.read >= 0 || err.read >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            run.timedOut = true;
            break;
        }
        pollfd fds[2] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
        const int ready = ::poll(fds, 2, static_cast<int>(std::min<long long>(left, 1000)));
        if (ready < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2 && ready > 0; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            CPipe& pipe = i == 0 ? out : err;
            std::string& text = i == 0 ? run.out : run.err;
            const ssize_t n = ::read(pipe.read, buffer, sizeof buffer);
            if (n > 0) {
                text.append(buffer, static_cast<std::size_t>(n));
                if (text.size() > outputLimit) {
                    run.tooLong = true;
                    break;
                }
            } else if (n == 0 || errno != EINTR) {
                pipe.CloseRead();
            }
        }
        if (run.tooLong)
            break;
    }
    if (run.timedOut || run.tooLong)
        ::kill(pid, SIGKILL);
    out.CloseRead();
    err.CloseRead();
    bool killed = false;
    const int status = WaitFor(pid, deadline, killed);
    run.timedOut = run.timedOut || killed;
    if (status >= 0 && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    else if (status >= 0 && WIFSIGNALED(status))
        run.signal = WTERMSIG(status);
    return run;
}

std::string ProgramFailureText(const CProgramRun& run, int timeoutMs) {
    if (!run.started)
        return run.startError;
    if (run.timedOut)
        return Format("no answer within %d s", (timeoutMs + 999) / 1000);
    if (run.tooLong)
        return "it printed more than can be read";
    for (const std::string* text : {&run.err, &run.out}) {
        std::size_t start = text->find_first_not_of(" \t\r\n");
        if (start == std::string::npos)
            continue;
        const std::size_t end = text->find_first_of("\r\n", start);
        return text->substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    if (run.signal != 0)
        return Format("killed by signal %d", run.signal);
    return Format("exit status %d", run.exitCode);
}

} // namespace tarvo
