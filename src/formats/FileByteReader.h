#pragma once
// Little-endian fields read straight from a file, through a small buffer,
// for files too large to hold twice in memory (a workspace is read into a
// document about its own size). The interface is ByteReader's
// (LittleEndian.h), so a reader written for one takes the other.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvo {

class CFileByteReader {
public:
    // Opens path when it is a regular file (not a folder, a pipe or a
    // device) of at most maxBytes; Opened() tells. The open never waits for
    // a pipe's writer.
    CFileByteReader(const std::string& path, std::uint64_t maxBytes);
    ~CFileByteReader();
    CFileByteReader(const CFileByteReader&) = delete;
    CFileByteReader& operator=(const CFileByteReader&) = delete;

    bool Opened() const { return fd_ >= 0; }

    // Bytes left by the size the file had when it was opened. A file that
    // shrinks meanwhile fails at the first read past its new end.
    std::size_t Remaining() const { return static_cast<std::size_t>(size_ - pos_); }
    bool Failed() const { return failed_; }
    void Fail() { failed_ = true; }

    // The next n bytes, valid until the next read; an empty span (and
    // failure) when fewer are left or they cannot be read.
    std::span<const std::uint8_t> Take(std::size_t n);
    bool Skip(std::size_t n) { return n == 0 || !Take(n).empty(); }

    std::uint8_t U8();
    std::uint32_t U32();
    std::int32_t I32();
    double F64();
    void Bytes(std::uint8_t* out, std::size_t n);

private:
    bool Fill(std::size_t n); // at least n bytes buffered, n <= kBufferBytes
    std::span<const std::uint8_t> FailedRead();

    static constexpr std::size_t kBufferBytes = std::size_t{1} << 20;

    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t pos_ = 0; // of the next byte handed out
    std::vector<std::uint8_t> buffer_;
    std::size_t begin_ = 0, end_ = 0; // buffered bytes not handed out yet
    std::vector<std::uint8_t> large_; // a read longer than the buffer
    bool failed_ = false;
};

} // namespace tarvo
