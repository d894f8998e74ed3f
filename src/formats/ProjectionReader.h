#pragma once
// Readers of projection files: the GPS projection (.gpf, 145-byte header)
// and the linear projection (.lpf, 141-byte header). Both carry a 4 x 4
// matrix and the map image, a bitmap file coded with the static Huffman code
// of Huffman.h. The magic, not the file name, chooses the reader.
//
// All functions here run on the user-interface thread (they show messages
// and change the document); none of them is cancellable.

#include "model/Document.h"
#include "model/UiServices.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarvo {

constexpr std::uint32_t kGpsProjectionMagic = 0x47504620;    // bytes ' ' 'F' 'P' 'G'
constexpr std::uint32_t kLinearProjectionMagic = 0x2046504C; // bytes 'L' 'P' 'F' ' '
constexpr std::size_t kGpsProjectionHeaderSize = 145;
constexpr std::size_t kLinearProjectionHeaderSize = 141;
constexpr std::size_t kProjectionSubtypeOffset = 12;
constexpr std::size_t kProjectionMatrixOffset = 13;
constexpr std::size_t kProjectionFrequencyTableSize = 1024;

constexpr const char* kProjectionFileFilter =
    "Projection Files (gpf.lpf)|*.gpf;*.lpf|GPF (*.gpf)|*.gpf|LPF (*.lpf)|*.lpf||";
constexpr const char* kProjectionDialogTitle = "Open a projection file";
constexpr const char* kNotProjectionText = "File is not recognized as a projection file.";
constexpr const char* kSingularProjectionText =
    "The measured points can not be used for projection. Please do the projection again.";

enum class ProjectionFileKind { Gps, Linear };

std::size_t ProjectionHeaderSize(ProjectionFileKind kind);
std::uint32_t ProjectionMagic(ProjectionFileKind kind);

// The reader that the second 32-bit value of the file selects, if any.
std::optional<ProjectionFileKind> ProjectionKindOfMagic(std::span<const std::uint8_t> file);

using ProjectionMatrix4 = std::array<std::array<double, 4>, 4>;

// Everything a projection file holds, decoded.
struct CProjectionContents {
    ProjectionFileKind kind = ProjectionFileKind::Gps;
    std::uint8_t subtype = 0;
    ProjectionMatrix4 matrix{};
    std::uint32_t compressedSize = 0;
    std::array<std::uint32_t, 256> frequencies{};
    std::vector<std::uint8_t> bitmap; // the decoded bitmap file, imageSize bytes
    std::int32_t width = 0;           // from the bitmap's information header
    std::int32_t height = 0;
};

enum class ProjectionParseStatus {
    Ok,
    UnsupportedSubtype, // subtype byte neither 0 nor 1
    Damaged             // short header, bad sizes, empty table, short code stream, no bitmap
};

struct CProjectionParse {
    ProjectionParseStatus status = ProjectionParseStatus::Damaged;
    CProjectionContents contents;
};

// Reads and decodes a whole file as the given kind, without messages and
// without a document. compressedSize must be positive and fit in what
// follows the frequency table; imageSize must be positive and at most 8
// bytes per compressed byte (every coded byte takes at least one bit); the
// table must not be all zeros; the code stream must hold imageSize bytes;
// the result must be a bitmap file of sane size.
CProjectionParse ParseProjection(std::span<const std::uint8_t> file, ProjectionFileKind kind);

// The subtype refusal text of each reader.
std::string UnsupportedSubtypeText(ProjectionFileKind kind);

} // namespace tarvo
