#include "formats/FileByteReader.h"

#include "model/LittleEndian.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

// Reads up to n bytes; fewer only at the end of the file. -1 on an error.
long long ReadFully(int fd, std::uint8_t* out, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ::ssize_t got = ::read(fd, out + done, n - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

} // namespace

CFileByteReader::CFileByteReader(const std::string& path, std::uint64_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(info.st_size);
    buffer_.resize(kBufferBytes);
}

CFileByteReader::~CFileByteReader() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool CFileByteReader::Fill(std::size_t n) {
    if (end_ - begin_ >= n)
        return true;
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    const long long got = ReadFully(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (got < 0)
        return false;
    end_ += static_cast<std::size_t>(got);
    return end_ >= n;
}

std::span<const std::uint8_t> CFileByteReader::FailedRead() {
    failed_ = true;
    pos_ = size_;
    begin_ = end_ = 0;
    return {};
}

std::span<const std::uint8_t> CFileByteReader::Take(std::size_t n) {
    if (fd_ < 0 || n > Remaining())
        return FailedRead();
    if (n <= kBufferBytes) {
        if (!Fill(n))
            return FailedRead(); // the file shrank or cannot be read
        const std::span<const std::uint8_t> view(buffer_.data() + begin_, n);
        begin_ += n;
        pos_ += n;
        return view;
    }
    // Longer than the buffer (a map image): what is buffered, then the rest
    // read directly.
    large_.resize(n);
    const std::size_t buffered = end_ - begin_;
    std::memcpy(large_.data(), buffer_.data() + begin_, buffered);
    begin_ = end_ = 0;
    const long long got = ReadFully(fd_, large_.data() + buffered, n - buffered);
    if (got < 0 || static_cast<std::size_t>(got) != n - buffered)
        return FailedRead();
    pos_ += n;
    return large_;
}

std::uint8_t CFileByteReader::U8() {
    const auto view = Take(1);
    return view.empty() ? 0 : view[0];
}

std::uint32_t CFileByteReader::U32() {
    const auto view = Take(4);
    return view.empty() ? 0 : GetU32(view.data());
}

std::int32_t CFileByteReader::I32() {
    return static_cast<std::int32_t>(U32());
}

double CFileByteReader::F64() {
    const auto view = Take(8);
    return view.empty() ? 0.0 : GetF64(view.data());
}

void CFileByteReader::Bytes(std::uint8_t* out, std::size_t n) {
    const auto view = Take(n);
    if (view.empty())
        std::memset(out, 0, n);
    else
        std::memcpy(out, view.data(), n);
}

} // namespace tarvo
