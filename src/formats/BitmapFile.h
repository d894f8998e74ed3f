#pragma once
// Bitmap files as the platform defines them: a 14-byte file header, a
// 40-byte information header and the pixel rows, bottom row first, each
// padded to a multiple of 4 bytes. Only 24-bit pixels are written.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvo {

constexpr std::size_t kBitmapFileHeaderSize = 14;
constexpr std::size_t kBitmapInfoHeaderSize = 40;

// Bytes of one stored 24-bit row of the given width, padding included.
std::size_t BitmapRowStride(int width);

// Builds a 24-bit bitmap file from pixel data given top row first, each row
// width * 3 bytes in red, green, blue order (the file stores blue first).
// Returns no bytes when the size is not positive or rgbRows is too short.
std::vector<std::uint8_t> EncodeBitmapFile(int width, int height,
                                           std::span<const std::uint8_t> rgbRows);

// True when a bitmap file holds what its headers describe: an information
// header of at least 40 bytes, a positive size (as CPicture reads it), a
// known pixel depth, and pixel data that fits the file: for rows stored as
// they are (compression 0 or 3) every row of the stated width and height
// after the pixel offset; for run-length coded rows (1 with 8 bits, 2 with
// 4 bits per pixel) at least a start within the file. Any other coding is
// refused.
bool BitmapHoldsItsPixels(std::span<const std::uint8_t> bitmapFile);

// Writes EncodeBitmapFile's result; the target is replaced only when the
// whole file was written.
bool SaveBitmapFile(const std::string& path, int width, int height,
                    std::span<const std::uint8_t> rgbRows);

} // namespace tarvo
