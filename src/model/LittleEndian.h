#pragma once
// Little-endian field access for the binary formats. ByteReader never reads
// past its buffer: a read that would run out sets the failed flag and yields
// zeros, so a damaged file is detected once, after a block of fields.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace tarvo {

inline std::uint16_t GetU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t GetU64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(GetU32(p)) |
           (static_cast<std::uint64_t>(GetU32(p + 4)) << 32);
}
inline std::int16_t GetI16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(GetU16(p));
}
inline std::int32_t GetI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(GetU32(p));
}
inline std::int64_t GetI64(const std::uint8_t* p) {
    return static_cast<std::int64_t>(GetU64(p));
}
inline double GetF64(const std::uint8_t* p) {
    std::uint64_t bits = GetU64(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void PutU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void PutU64(std::uint8_t* p, std::uint64_t v) {
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void PutF64(std::uint8_t* p, double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutU64(p, bits);
}

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return bytes_.size() - pos_; }
    std::size_t Size() const { return bytes_.size(); }
    bool Failed() const { return failed_; }
    void Fail() { failed_ = true; }

    // Moves to an absolute offset; beyond the end fails and parks at the end.
    bool Seek(std::size_t offset) {
        if (offset > bytes_.size()) {
            pos_ = bytes_.size();
            failed_ = true;
            return false;
        }
        pos_ = offset;
        return true;
    }

    // Returns a view of the next n bytes, or an empty span (and failure)
    // when fewer are left.
    std::span<const std::uint8_t> Take(std::size_t n) {
        if (n > Remaining()) {
            failed_ = true;
            pos_ = bytes_.size();
            return {};
        }
        auto view = bytes_.subspan(pos_, n);
        pos_ += n;
        return view;
    }
    bool Skip(std::size_t n) { return n == 0 || !Take(n).empty(); }

    std::uint8_t U8() {
        return Read<1>([](const std::uint8_t* p) { return p[0]; });
    }
    std::uint16_t U16() { return Read<2>(GetU16); }
    std::int16_t I16() { return Read<2>(GetI16); }
    std::uint32_t U32() { return Read<4>(GetU32); }
    std::int32_t I32() { return Read<4>(GetI32); }
    std::int64_t I64() { return Read<8>(GetI64); }
    double F64() { return Read<8>(GetF64); }
    void Bytes(std::uint8_t* out, std::size_t n) {
        auto view = Take(n);
        if (view.empty())
            std::memset(out, 0, n);
        else
            std::memcpy(out, view.data(), n);
    }

private:
    template <std::size_t N, typename F> auto Read(F decode) -> decltype(decode(nullptr)) {
        auto view = Take(N);
        if (view.empty())
            return 0;
        return decode(view.data());
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

class ByteWriter {
public:
    void U8(std::uint8_t v) { out_.push_back(v); }
    void U16(std::uint16_t v) { Put<2>(PutU16, v); }
    void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
    void U32(std::uint32_t v) { Put<4>(PutU32, v); }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void U64(std::uint64_t v) { Put<8>(PutU64, v); }
    void I64(std::int64_t v) { U64(static_cast<std::uint64_t>(v)); }
    void F64(double v) { Put<8>(PutF64, v); }
    void Bytes(const void* data, std::size_t n) {
        auto p = static_cast<const std::uint8_t*>(data);
        out_.insert(out_.end(), p, p + n);
    }
    void Bytes(std::span<const std::uint8_t> bytes) { Bytes(bytes.data(), bytes.size()); }
    void Zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }

    std::size_t Size() const { return out_.size(); }
    std::vector<std::uint8_t>& Buffer() { return out_; }
    std::vector<std::uint8_t> Take() { return std::move(out_); }

private:
    template <std::size_t N, typename F, typename V> void Put(F encode, V v) {
        std::uint8_t tmp[N];
        encode(tmp, v);
        out_.insert(out_.end(), tmp, tmp + N);
    }

    std::vector<std::uint8_t> out_;
};

} // namespace tarvo
