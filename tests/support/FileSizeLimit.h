#pragma once
// While it lives, files this process writes cannot grow past a few bytes:
// writes beyond fail (EFBIG) as on a full disk, whoever runs the tests.

#include <csignal>
#include <sys/resource.h>

namespace tarvo::test {

class CFileSizeLimit {
public:
    explicit CFileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~CFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, handler_);
    }

private:
    void (*handler_)(int);
    rlimit previous_{};
};

} // namespace tarvo::test
