#pragma once
// Writer of workspace files (.tws): the whole study as one flat, little-endian
// dump in a fixed field order. Texts are a 32-bit length (characters + 1)
// followed by the characters and a NUL; arrays are a signed 32-bit count
// followed by the elements. WorkspaceReader.h reads the same layout back.

#include "formats/FileIo.h"
#include "formats/OutputFile.h"
#include "model/Document.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {

constexpr std::uint32_t kTwsMagic = 0x53575420; // bytes 0x20 'T' 'W' 'S'
constexpr std::uint32_t kTwsVersion = 1;

// The copy of the projection-file header kept in a workspace. Its size field
// holds the header's own length; the magic differs per projection kind.
constexpr std::uint32_t kTwsGpsHeaderSize = 145;
constexpr std::uint32_t kTwsLinearHeaderSize = 141;
constexpr std::uint32_t kTwsGpsHeaderMagic = 0x47504620;    // bytes 0x20 'F' 'P' 'G'
constexpr std::uint32_t kTwsLinearHeaderMagic = 0x4C504620; // bytes 0x20 'F' 'P' 'L'
constexpr std::size_t kTwsSubtypeOffset = 12;               // within the header copy
constexpr std::size_t kTwsGeometryDoubles = 18;
constexpr std::size_t kTwsFlagBytes = 18;

constexpr const char* kTwsSaveFilter =
    "Tarvo Work Space (tws)|*.tws|TWS (*.tws)|*.tws|All Files (*.*)|*.*||";
constexpr const char* kTwsSaveTitle = "Save work space";

// Serialises the document. The projection block is written when a map is
// loaded: its kind, the projection header for the kinds that have one (1
// GPS, 2 linear), then the map size and image. A GPS study without a map
// gets a block without an image (size 0), which carries the projection made
// from its locations; reading it leaves no map loaded. The coverage block follows
// only while the coverage-present flag is set. Nothing is returned for a study whose arrays
// or map exceed what the file's 32-bit counts and sizes can hold.
std::optional<std::vector<std::uint8_t>> WriteWorkspace(const CTarvoAnalyzerDoc& doc);

// The size of the file WriteWorkspace writes, without writing it.
std::uint64_t WorkspaceFileSize(const CTarvoAnalyzerDoc& doc);

// Writes the workspace to path, field by field (never whole in memory),
// replacing an existing file only once the new one is complete. A study
// whose workspace would be larger than `largest` (the reader's limit; less
// in tests) is refused before anything is written, so every workspace
// written can be opened. Returns false when the study is refused or the file
// cannot be created or written; the previous file is then left as it was,
// and *failure (when given) says why.
bool WriteWorkspaceFile(const CTarvoAnalyzerDoc& doc, const std::string& path,
                        CWriteFailure* failure = nullptr,
                        std::uint64_t largest = kMaxWorkspaceFileBytes);

} // namespace tarvo
