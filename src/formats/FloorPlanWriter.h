#pragma once
// Floor plans made from pictures: linear projection files (.lpf) of
// subtype 1, the layout ProjectionReader.h reads. The matrix holds the
// scale (m00 metres per pixel across, m11 down; m22 = m33 = 1, the rest 0)
// and the picture is a 24-bit bitmap file, Huffman-coded.

#include <cstdint>
#include <span>
#include <vector>

namespace tarvo {

// The file bytes of a plan from pixel rows given top row first, each
// width * 3 bytes in red, green, blue order. Returns no bytes for a size
// that is not positive, rows that are too short, a scale that is not
// positive and finite, or a picture too large for the file's 32-bit sizes.
std::vector<std::uint8_t> EncodeFloorPlan(int width, int height,
                                          std::span<const std::uint8_t> rgbRows,
                                          double metresPerPixelX, double metresPerPixelY);

// A white plan of width x height pixels at metresPerPixel on both axes.
std::vector<std::uint8_t> EncodeBlankFloorPlan(int width, int height, double metresPerPixel);

} // namespace tarvo
