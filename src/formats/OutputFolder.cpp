#include "formats/OutputFolder.h"

#include "formats/TemporaryFiles.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace tarvo {

namespace {

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

// The step of PlaceTogether that failed (0 none, 1 the folder, 2 the
// companion file) and the system's error number.
struct CStepFailure {
    int step = 0;
    int error = 0;
};

// True when the file system cannot exchange two names in one step.
bool ExchangeUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTTY;
}

// Runs the two renames that put the new folder and then its companion
// file in place in a child process of their own, which blocks every signal
// it can: a kill of this process, or a Ctrl-C, between the two cannot part
// them. The folder is exchanged with the earlier one (or renamed into place
// when there is none); when the companion cannot be renamed the folder step
// is undone. The child makes system calls only, as a child of a process
// with threads must. Nothing when no child could be started.
std::optional<CStepFailure> PlaceTogether(const std::string& newFolder, const std::string& folder,
                                          bool exchange, const COutputFile& companion) {
    const char* const from = newFolder.c_str();
    const char* const to = folder.c_str();
    const char* const fileFrom =
        companion.FinishedPath().empty() ? nullptr : companion.FinishedPath().c_str();
    const char* const fileTo = companion.TargetPath().c_str();
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return std::nullopt;
    sigset_t all, previous;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t child = ::fork();
    if (child == 0) {
        const auto place = [&] {
            return exchange ? ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_EXCHANGE)
                            : ::rename(from, to);
        };
        CStepFailure failure;
        if (place() != 0) {
            failure = {1, errno};
        } else if (fileFrom && ::rename(fileFrom, fileTo) != 0) {
            failure = {2, errno};
            if (exchange)
                ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_EXCHANGE);
            else
                ::rename(to, from);
        }
        if (::write(channel[1], &failure, sizeof failure) != sizeof failure)
            ::_exit(1);
        ::_exit(0);
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(channel[1]);
    std::optional<CStepFailure> failure;
    if (child > 0) {
        CStepFailure read{1, EIO}; // the child ended without a word
        ::ssize_t n = -1;
        do
            n = ::read(channel[0], &read, sizeof read);
        while (n < 0 && errno == EINTR);
        failure = read;
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    ::close(channel[0]);
    return failure;
}

} // namespace

COutputFolder::COutputFolder(const std::string& path, const NameFilter& takeOver)
    : target_(LinkTarget(path)) {
    struct stat earlier {};
    if (::stat(target_.c_str(), &earlier) == 0) {
        if (!S_ISDIR(earlier.st_mode)) {
            Fail(false, ENOTDIR);
            return;
        }
        replacing_ = true;
    } else if (errno != ENOENT) {
        Fail(false, errno);
        return;
    }
    RemoveStaleTemporaries(FolderOf(target_));
    if (CreateLike(replacing_ ? &earlier : nullptr) && replacing_)
        TakeOver(takeOver);
}

COutputFolder::~COutputFolder() {
    if (!temporary_.empty())
        RemoveTree(temporary_);
}

bool COutputFolder::CreateLike(const struct stat* earlier) {
    std::string path;
    int made = -1;
    for (int attempt = 0; made != 0 && attempt < 16; ++attempt) {
        path = TemporaryNameBeside(target_);
        made = ::mkdir(path.c_str(), earlier ? 0700 : 0777);
        if (made != 0 && errno != EEXIST)
            break;
    }
    if (made != 0) {
        Fail(false, errno);
        return false;
    }
    temporary_ = path;
    if (earlier) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            TakeOverOwnership(fd, *earlier, 07777);
            ::close(fd);
        }
    }
    return true;
}

bool COutputFolder::TakeOver(const NameFilter& takeOver) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator entry(target_, ec);
    for (; !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
        const std::string name = entry->path().filename().string();
        if (IsTemporaryName(name) || !takeOver(name))
            continue;
        const fs::path to = fs::path(temporary_) / name;
        fs::copy(entry->path(), to,
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks |
                     fs::copy_options::create_hard_links,
                 ec);
        if (ec) { // no hard links on this file system: a copy
            RemoveTree(to.string());
            ec.clear();
            fs::copy(entry->path(), to,
                     fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
        }
    }
    if (ec) {
        Fail(true, ec.value());
        return false;
    }
    return true;
}

bool COutputFolder::Swap(const std::string& a, const std::string& b) {
    return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

bool COutputFolder::Commit(COutputFile& companion) {
    if (!Ok())
        return false;
    if (!companion.Finish()) {
        failure_ = companion.Failure();
        return false;
    }
    const std::optional<CStepFailure> placed =
        PlaceTogether(temporary_, target_, replacing_, companion);
    if (placed && placed->step == 0) {
        companion.Placed();
        const std::string earlier = std::exchange(temporary_, std::string());
        if (replacing_)
            RemoveTree(earlier); // the exchange left the earlier folder there
        return true;
    }
    if (placed && placed->step == 2) {
        // The folders are as they were; the companion could not be renamed.
        companion.Abandon(placed->error);
        Fail(true, placed->error);
        return false;
    }
    if (placed && !(replacing_ && ExchangeUnsupported(placed->error))) {
        Fail(true, placed->error);
        return false;
    }
    return CommitInPlace(companion);
}

bool COutputFolder::CommitInPlace(COutputFile& companion) {
    // Where the earlier folder is once the new one is in place.
    std::string earlier;
    bool exchanged = false;
    if (!replacing_) {
        if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
            Fail(true, errno);
            return false;
        }
    } else if (Swap(temporary_, target_)) {
        earlier = temporary_;
        exchanged = true;
    } else if (ExchangeUnsupported(errno)) {
        // Two renames: for a moment no folder is at the path.
        earlier = TemporaryNameBeside(target_);
        if (std::rename(target_.c_str(), earlier.c_str()) != 0) {
            Fail(true, errno);
            return false;
        }
        if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
            const int error = errno;
            std::rename(earlier.c_str(), target_.c_str());
            Fail(true, error);
            return false;
        }
    } else {
        Fail(true, errno);
        return false;
    }
    temporary_.clear();

    if (!companion.Commit()) {
        // The earlier folder goes back in place; the new one is removed.
        if (exchanged && Swap(earlier, target_)) {
            RemoveTree(earlier);
        } else {
            const std::string rejected = TemporaryNameBeside(target_);
            if (std::rename(target_.c_str(), rejected.c_str()) == 0)
                RemoveTree(rejected);
            if (!earlier.empty())
                std::rename(earlier.c_str(), target_.c_str());
        }
        failure_ = companion.Failure();
        return false;
    }
    if (!earlier.empty())
        RemoveTree(earlier);
    return true;
}

void COutputFolder::Fail(bool opened, int error) {
    if (!Ok())
        return;
    failure_.opened = opened;
    failure_.reason = std::error_code(error, std::generic_category()).message();
    if (!temporary_.empty())
        RemoveTree(std::exchange(temporary_, std::string()));
}

} // namespace tarvo
