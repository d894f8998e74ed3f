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

// Scale and map size in site metres derived from a matrix, as the readers
// compute them: from great-circle distances between three image corners in
// the geographic case, from m00 and m11 for a linear projection of
// subtype 1. usable is false for a singular matrix (and for a scale that is
// not finite and positive); the other fields are then 0.
struct CProjectionScale {
    bool usable = false;
    double scaleX = 0.0; // metres per pixel
    double scaleY = 0.0;
    double heightM = 0.0;
    double widthM = 0.0;
};
CProjectionScale ComputeProjectionScale(ProjectionFileKind kind, std::uint8_t subtype,
                                        const ProjectionMatrix4& matrix, std::int32_t width,
                                        std::int32_t height);

// Fits a window to the aspect of a drawing area of width x height pixels by
// widening one axis about its centre. A window or area without positive
// finite size is left as it is.
void FitWindowToClient(CBox& window, int clientWidth, int clientHeight);

// The reader of one kind (the magic already chose it): parses the file and,
// only when it is sound, replaces subtype, matrix, image size, map bytes,
// picture, scale, map rectangle, view window and flags in the document.
// clientWidth/clientHeight give the drawing area for the window fit; a
// value below 1 takes the view's client size. Refusals show "Unsupported
// GPF/BPF Filetype..." or "File is not recognized as a projection file."
// (title "Invalid File") and leave the document as it was. A singular matrix
// is reported but the projection is kept, with the scale at 0 and the map
// rectangle and window unchanged.
bool ReadProjection(CTarvoAnalyzerDoc& doc, std::span<const std::uint8_t> file,
                    ProjectionFileKind kind, int clientWidth, int clientHeight, IUiServices& ui);

// Opens a projection file by path, without a dialog or question: reads it,
// chooses the reader by the magic and applies it with every message. On
// success it also clears the processed flag, stores the path as the
// document's projection file text and sets the projection kind; when the
// document holds no APs it shows the map and recomputes the view extent.
// When APs exist the caller must run collection loading next. The
// document is untouched when false is returned.
bool OpenProjectionFile(CTarvoAnalyzerDoc& doc, const std::string& path, IUiServices& ui);

enum class ProjectionOpenOutcome {
    Busy,            // a long operation owns the document; nothing done
    Cancelled,       // the file dialog was cancelled
    Declined,        // the user answered No to "Replace Current Map"
    Failed,          // the file was refused (the message was shown)
    Opened,          // opened; no APs, so nothing to recalculate
    ReloadCollection // opened while APs exist: the caller starts collection loading
};

// The open-projection command: the file dialog, the "Replace Current Map"
// question when a processed study has a map, then OpenProjectionFile. The
// processed and map-loaded flags change only once the new file was read,
// so a refused file leaves the current study as it was.
ProjectionOpenOutcome OpenProjectionCommand(CTarvoAnalyzerDoc& doc, IUiServices& ui);

} // namespace tarvo
