#pragma once
// The map picture: holds a decoded bitmap file as loaded and its stored size.
// Drawing lives with the view code; this holder is usable headless.

#include <cstdint>
#include <span>
#include <vector>

namespace tarvo {

class CPicture {
public:
    // Smallest byte count that holds the file header and the size fields.
    static constexpr std::size_t kMinimumBytes = 26;
    // Refuse pictures larger than this on either axis: no real map is, and
    // a decoder would otherwise try to allocate without bound.
    static constexpr std::int32_t kMaximumSide = 65535;

    // Takes a copy of a bitmap file. Fails (and keeps nothing) unless the
    // bytes hold the headers and a positive, sane width and height.
    bool Load(std::span<const std::uint8_t> bitmapFile);
    void Release();
    bool IsLoaded() const { return !bytes_.empty(); }

    // The bytes that were loaded, unchanged.
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    bool Save(std::vector<std::uint8_t>& out) const;

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    void SetStoredSize(std::int32_t width, std::int32_t height) {
        width_ = width;
        height_ = height;
    }

    // Width and height read from a bitmap file's information header, or
    // false when the bytes cannot be a bitmap file.
    static bool ReadBitmapSize(std::span<const std::uint8_t> bitmapFile, std::int32_t& width,
                               std::int32_t& height);

    bool operator==(const CPicture&) const = default;

private:
    std::vector<std::uint8_t> bytes_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

} // namespace tarvo
