#include "formats/OutputFile.h"

#include "formats/FileIo.h"

#include <atomic>
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

constexpr std::size_t kBufferBytes = std::size_t{1} << 16;

// A short name, so that a long target name cannot make it too long.
std::string TemporaryBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    const std::string name = ".tarvo-" + std::to_string(::getpid()) + "-" +
                             std::to_string(counter.fetch_add(1)) + ".tmp";
    return (folder / name).string();
}

// The file a symbolic link leads to, links followed as far as they go (a
// link to a file not yet there included), so that the link keeps its place.
std::string LinkTarget(std::string path) {
    constexpr int kMostHops = 40; // as the system allows before a loop
    for (int hops = 0; hops < kMostHops; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(path, ec))
            break;
        const std::filesystem::path to = std::filesystem::read_symlink(path, ec);
        if (ec)
            break;
        path = (std::filesystem::path(path).parent_path() / to).string();
    }
    return path;
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
        temporary_ = TemporaryBeside(target_);
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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

bool COutputFile::Commit() {
    if (!Ok() || !Flush())
        return false;
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0 ||
        (!temporary_.empty() && std::rename(temporary_.c_str(), target_.c_str()) != 0)) {
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
