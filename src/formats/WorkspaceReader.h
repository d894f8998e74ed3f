#pragma once
// Reader of workspace files (.tws), the layout WorkspaceWriter.h writes.
// A read is all or nothing: the file is read into a fresh document, and the
// caller's document is replaced only when every field was read. Counts and
// text lengths are checked against the bytes left in the file before
// anything is allocated, so a damaged file is refused, never half-applied.

#include "model/Document.h"
#include "model/UiServices.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tarvo {

enum class WorkspaceReadStatus {
    Ok,
    NotWorkspace,    // the magic is missing; nothing was shown
    UnsupportedType, // the projection subtype is unknown; the reader said so
    Damaged          // short read, impossible count or unknown projection kind
};

// True when the bytes start with the workspace magic.
bool HasWorkspaceMagic(std::span<const std::uint8_t> file);

// Reads a whole workspace file into doc. On Ok every saved field of doc is
// replaced, the settings are brought into their ranges (SettingRanges.h)
// and RefreshAfterWorkspaceRead has run; on any other status doc
// is left exactly as it was. What the file does not carry stays with the
// caller's document: the workspace path and name, the busy flag, and the
// map view's window size, compass and hit kind. Only the unsupported-type
// refusal shows a message ("Invalid File") of its own.
WorkspaceReadStatus ReadWorkspace(CTarvoAnalyzerDoc& doc, std::span<const std::uint8_t> file,
                                  IUiServices& ui);

// Reads the workspace file at path as ReadWorkspace reads bytes, from the
// file itself: a workspace is never held in memory whole. Nothing (and no
// change to doc) when path is no regular file, cannot be opened or is larger
// than kMaxWorkspaceFileBytes (FileIo.h); a file that cannot be read to its
// end is Damaged.
std::optional<WorkspaceReadStatus> ReadWorkspaceFile(CTarvoAnalyzerDoc& doc,
                                                     const std::string& path, IUiServices& ui);

// Brings the document state in line after a workspace has been read: the AP
// listing is sorted by SSID again, and markers and sources are taken as
// being in site units (the file stores them converted), and the AP groups
// are rebuilt by SSID (BuildApGroups). The panel refills its widgets from
// this state when it is told to update.
void RefreshAfterWorkspaceRead(CTarvoAnalyzerDoc& doc);

} // namespace tarvo
