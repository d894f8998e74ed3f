#include "formats/FileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tarvo {

namespace {

// An open descriptor, closed when it goes.
class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd) : fd_(fd) {}
    ~CFileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// Reads up to `limit` bytes from the start of a regular file of at most
// `largest` bytes. The open does not block, so a named pipe without a
// writer is seen (and refused) at once instead of waiting for one.
std::optional<std::vector<std::uint8_t>>
ReadRegularFile(const std::string& path, std::uint64_t limit, std::uint64_t largest) {
    const CFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<std::uint64_t>(info.st_size) > largest)
        return std::nullopt;
    const std::uint64_t size = std::min(static_cast<std::uint64_t>(info.st_size), limit);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ::ssize_t n = ::read(fd.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break; // the file shrank meanwhile: what it holds now
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

} // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    return ReadRegularFile(path, kMaxReadableFileBytes, kMaxReadableFileBytes);
}

std::optional<std::vector<std::uint8_t>> ReadFileHead(const std::string& path, std::size_t count) {
    // Only the head is read, so the file may be of any size (a workspace of
    // more than kMaxReadableFileBytes is still told by its magic).
    return ReadRegularFile(path, count, std::numeric_limits<std::uint64_t>::max());
}

} // namespace tarvo
