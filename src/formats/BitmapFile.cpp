#include "formats/BitmapFile.h"

#include "formats/FileIo.h"
#include "model/LittleEndian.h"
#include "model/Picture.h"

#include <limits>

namespace tarvo {

namespace {

constexpr std::int32_t kPixelsPerMetre = 2835; // 72 dots per inch

enum BitmapCoding : std::uint32_t {
    kRowsAsStored = 0,
    kRunLength8 = 1,
    kRunLength4 = 2,
    kRowsWithMasks = 3
};

bool KnownDepth(std::uint16_t bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

} // namespace

bool BitmapHoldsItsPixels(std::span<const std::uint8_t> bitmapFile) {
    std::int32_t width = 0, height = 0;
    const std::size_t headers = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;
    if (bitmapFile.size() < headers || !CPicture::ReadBitmapSize(bitmapFile, width, height))
        return false;
    const std::uint8_t* b = bitmapFile.data();
    const std::uint64_t pixelOffset = GetU32(b + 10);
    const std::uint32_t infoSize = GetU32(b + 14);
    const std::uint16_t bitsPerPixel = GetU16(b + 28);
    const std::uint32_t coding = GetU32(b + 30);
    if (infoSize < kBitmapInfoHeaderSize || !KnownDepth(bitsPerPixel))
        return false;
    const std::uint64_t size = bitmapFile.size();
    switch (coding) {
    case kRowsAsStored:
    case kRowsWithMasks: {
        const std::uint64_t stride =
            (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
        return pixelOffset <= size &&
               stride * static_cast<std::uint64_t>(height) <= size - pixelOffset;
    }
    case kRunLength8:
        return bitsPerPixel == 8 && pixelOffset < size;
    case kRunLength4:
        return bitsPerPixel == 4 && pixelOffset < size;
    default:
        return false;
    }
}

std::size_t BitmapRowStride(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

std::vector<std::uint8_t> EncodeBitmapFile(int width, int height,
                                           std::span<const std::uint8_t> rgbRows) {
    if (width <= 0 || height <= 0)
        return {};
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    const std::size_t stride = BitmapRowStride(width);
    const std::size_t headers = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;
    // The sizes are 32-bit fields of the file.
    if (stride > (std::numeric_limits<std::uint32_t>::max() - headers) / h)
        return {};
    if (rgbRows.size() / 3 / w < h)
        return {};
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(stride * h);

    ByteWriter out;
    out.U8('B');
    out.U8('M');
    out.U32(static_cast<std::uint32_t>(headers) + pixelBytes);
    out.U16(0);
    out.U16(0);
    out.U32(static_cast<std::uint32_t>(headers));

    out.U32(static_cast<std::uint32_t>(kBitmapInfoHeaderSize));
    out.I32(width);
    out.I32(height); // positive: rows stored bottom-up
    out.U16(1);      // planes
    out.U16(24);     // bits per pixel
    out.U32(0);      // no compression
    out.U32(pixelBytes);
    out.I32(kPixelsPerMetre);
    out.I32(kPixelsPerMetre);
    out.U32(0); // colours used
    out.U32(0); // important colours

    std::vector<std::uint8_t>& buffer = out.Buffer();
    buffer.reserve(headers + pixelBytes);
    for (std::size_t row = h; row-- > 0;) {
        const std::uint8_t* src = rgbRows.data() + row * w * 3;
        for (std::size_t col = 0; col < w; ++col, src += 3) {
            buffer.push_back(src[2]);
            buffer.push_back(src[1]);
            buffer.push_back(src[0]);
        }
        out.Zeros(stride - w * 3);
    }
    return out.Take();
}

bool SaveBitmapFile(const std::string& path, int width, int height,
                    std::span<const std::uint8_t> rgbRows) {
    const std::vector<std::uint8_t> bytes = EncodeBitmapFile(width, height, rgbRows);
    if (bytes.empty())
        return false;
    return WriteFileAtomically(path, bytes);
}

} // namespace tarvo
