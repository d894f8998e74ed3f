#pragma once
// Writer of projection files (.gpf / .lpf): the header with magic, subtype
// and matrix, the two sizes, the 256 byte counts and the map bitmap file
// coded with the Huffman code those counts define. Used to make sample
// studies and test files; the program itself only reads projections.

#include "formats/ProjectionReader.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvo {

// The bytes of a projection file holding bitmapFile. Returns no bytes for
// an empty bitmap or one whose coded form does not fit the 32-bit sizes.
std::vector<std::uint8_t> EncodeProjectionFile(ProjectionFileKind kind, std::uint8_t subtype,
                                               const ProjectionMatrix4& matrix,
                                               std::span<const std::uint8_t> bitmapFile);

// Writes EncodeProjectionFile's result; the target is replaced only when
// the whole file was written.
bool WriteProjectionFile(const std::string& path, ProjectionFileKind kind, std::uint8_t subtype,
                         const ProjectionMatrix4& matrix, std::span<const std::uint8_t> bitmapFile);

} // namespace tarvo
