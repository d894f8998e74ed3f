#include "formats/OutputFolder.h"

#include "formats/TemporaryFiles.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace tarvo {

namespace {

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

// True when the file system cannot exchange two names in one step.
bool ExchangeUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTTY;
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
