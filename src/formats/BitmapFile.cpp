#include "formats/BitmapFile.h"

#include "formats/FileIo.h"
#include "model/LittleEndian.h"

#include <limits>

namespace tarvo {

namespace {

constexpr std::int32_t kPixelsPerMetre = 2835; // 72 dots per inch

} // namespace

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
