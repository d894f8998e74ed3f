#pragma once
// Applying a projection file to the document: the scale derived from its
// matrix, the map rectangle and view window, and the open-projection
// command. Parsing the file itself is the reader's (formats/ProjectionReader.h).
//
// All functions here run on the user-interface thread (they show messages
// and change the document); none of them is cancellable.

#include "formats/ProjectionReader.h"
#include "model/Document.h"
#include "model/UiServices.h"

#include <cstdint>
#include <span>
#include <string>

namespace tarvo {

// Scale and map size in site metres derived from a matrix, as the readers
// compute them: from great-circle distances between three image corners in
// the geographic case, from m00 and m11 for a linear projection of
// subtype 1. usable is false for a singular matrix or a zero or negative
// scale; insane is set as well for a scale that no map can have (not
// finite, subnormal, or outside kMinMetresPerPixel..kMaxMetresPerPixel).
// The other fields are then 0.
constexpr double kMinMetresPerPixel = 1e-9;
constexpr double kMaxMetresPerPixel = 1e9;
struct CProjectionScale {
    bool usable = false;
    bool insane = false;
    double scaleX = 0.0; // metres per pixel
    double scaleY = 0.0;
    double heightM = 0.0;
    double widthM = 0.0;
};
CProjectionScale ComputeProjectionScale(ProjectionFileKind kind, std::uint8_t subtype,
                                        const ProjectionMatrix4& matrix, std::int32_t width,
                                        std::int32_t height);

// The reader of one kind (the magic already chose it): parses the file and,
// only when it is sound, replaces subtype, matrix, image size, map bytes,
// picture, scale, map rectangle, view window and flags in the document.
// clientWidth/clientHeight give the drawing area for the window fit; a
// value below 1 takes the view's client size. Refusals show "Unsupported
// GPF/BPF Filetype..." or "File is not recognized as a projection file."
// (title "Invalid File") and leave the document as it was; so does a matrix
// with a non-finite entry (the same message) or one whose scale is insane
// (the singular-matrix message). A singular matrix is reported but the
// projection is kept, with the scale at 0 and the map rectangle and window
// unchanged.
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

// The open-projection command for a file already chosen (a plan just made
// from a picture): the "Replace Current Map" question when a processed
// study has a map, then OpenProjectionFile. Never Cancelled.
ProjectionOpenOutcome OpenProjectionPath(CTarvoAnalyzerDoc& doc, const std::string& path,
                                         IUiServices& ui);

// The open-projection command: the file dialog, the "Replace Current Map"
// question when a processed study has a map, then OpenProjectionFile. The
// processed and map-loaded flags change only once the new file was read,
// so a refused file leaves the current study as it was.
ProjectionOpenOutcome OpenProjectionCommand(CTarvoAnalyzerDoc& doc, IUiServices& ui);

} // namespace tarvo
