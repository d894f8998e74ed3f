#include "model/Picture.h"

#include "model/LittleEndian.h"

#include <cstdlib>

namespace tarvo {

bool CPicture::ReadBitmapSize(std::span<const std::uint8_t> bitmapFile, std::int32_t& width,
                              std::int32_t& height) {
    if (bitmapFile.size() < kMinimumBytes || bitmapFile[0] != 'B' || bitmapFile[1] != 'M')
        return false;
    std::int32_t w = GetI32(bitmapFile.data() + 18);
    std::int32_t h = GetI32(bitmapFile.data() + 22);
    // A negative height marks a top-down bitmap; the size is its magnitude.
    if (h < 0 && h != INT32_MIN)
        h = -h;
    if (w <= 0 || h <= 0 || w > kMaximumSide || h > kMaximumSide)
        return false;
    width = w;
    height = h;
    return true;
}

bool CPicture::Load(std::span<const std::uint8_t> bitmapFile) {
    std::int32_t w = 0, h = 0;
    if (!ReadBitmapSize(bitmapFile, w, h))
        return false;
    bytes_.assign(bitmapFile.begin(), bitmapFile.end());
    width_ = w;
    height_ = h;
    return true;
}

void CPicture::Release() {
    bytes_.clear();
    bytes_.shrink_to_fit();
    width_ = 0;
    height_ = 0;
}

bool CPicture::Save(std::vector<std::uint8_t>& out) const {
    if (bytes_.empty())
        return false;
    out = bytes_;
    return true;
}

} // namespace tarvo
