#include "formats/OutputFile.h"

#include "formats/FileIo.h"
#include "formats/TemporaryFiles.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace tarvo {

namespace {

constexpr std::size_t kBufferBytes = std::size_t{1} << 16;
// Temporary names tried before giving up; one is taken only when a file of
// that name was left by another process of the same number.
constexpr int kNameAttempts = 16;

// An unnamed temporary is named through /proc/self/fd: linking it with
// AT_EMPTY_PATH would need a privilege that users lack.
bool CanNameUnnamedFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

std::string DescriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

} // namespace

COutputFile::COutputFile(const std::string& path) : target_(path) {
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        Fail(false, EISDIR);
        return;
    }
    if (exists && !S_ISREG(info.st_mode)) {
        // A device or a pipe has no previous content to keep.
        fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    } else {
        target_ = LinkTarget(path);
        const std::string folder = FolderOf(target_);
        RemoveStaleTemporaries(folder);
        // A new file gets the usual mode (the umask applies); a replacement
        // starts private and takes over the earlier file's mode below.
        const mode_t mode = exists ? 0600 : 0666;
#ifdef O_TMPFILE
        if (CanNameUnnamedFiles()) {
            fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
            unnamed_ = fd_ >= 0;
        }
#endif
        // No unnamed files here (an older or a network file system): a name
        // that nothing else holds.
        for (int attempt = 0; fd_ < 0 && attempt < kNameAttempts; ++attempt) {
            temporary_ = TemporaryNameBeside(target_);
            fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd_ < 0 && errno != EEXIST)
                break;
        }
        if (fd_ >= 0 && exists)
            TakeOverOwnership(fd_, info, 0777);
    }
    if (fd_ < 0) {
        temporary_.clear();
        Fail(false, errno);
    }
}

COutputFile::~COutputFile() {
    Discard();
}

bool COutputFile::Write(std::string_view bytes) {
    if (!Ok())
        return false;
    if (buffer_.size() + bytes.size() < kBufferBytes) {
        buffer_.append(bytes);
        return true;
    }
    // A large piece goes out as it is, not through a copy in the buffer.
    return Flush() && WriteAll(bytes);
}

bool COutputFile::WriteAll(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ::ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            Fail(true, n < 0 ? errno : ENOSPC);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool COutputFile::Write(std::span<const std::uint8_t> bytes) {
    return Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool COutputFile::Flush() {
    if (!WriteAll(buffer_))
        return false;
    buffer_.clear();
    return true;
}

bool COutputFile::NameUnnamedTemporary() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = TemporaryNameBeside(target_);
        if (::linkat(AT_FDCWD, DescriptorPath(fd_).c_str(), AT_FDCWD, name.c_str(),
                     AT_SYMLINK_FOLLOW) == 0) {
            temporary_ = name;
            unnamed_ = false;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    return false;
}

bool COutputFile::Finish() {
    if (finished_)
        return Ok();
    if (!Ok() || !Flush())
        return false;
    if (unnamed_ && !NameUnnamedTemporary()) {
        Fail(true, errno);
        return false;
    }
    if (::close(std::exchange(fd_, -1)) != 0) {
        Fail(true, errno);
        return false;
    }
    finished_ = true;
    return true;
}

bool COutputFile::Commit() {
    if (!Finish())
        return false;
    if (!temporary_.empty() && std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Fail(true, errno);
        return false;
    }
    temporary_.clear();
    return true;
}

void COutputFile::Fail(bool opened, int error) {
    if (!Ok())
        return;
    failure_.opened = opened;
    failure_.reason = std::error_code(error, std::generic_category()).message();
    Discard();
}

void COutputFile::Discard() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!temporary_.empty())
        ::unlink(std::exchange(temporary_, std::string()).c_str());
}

bool WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         CWriteFailure* failure) {
    COutputFile file(path);
    const bool written = file.Write(bytes) && file.Commit();
    if (!written && failure)
        *failure = file.Failure();
    return written;
}

std::string WriteFailureText(const std::string& path, const CWriteFailure& failure) {
    return std::string(failure.opened ? "Error writing file " : "Error opening file ") + path +
           ". (" + failure.reason + ")";
}

} // namespace tarvo
