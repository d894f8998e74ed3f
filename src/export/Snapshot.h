#pragma once
// "Take a snapshot": the last painted view saved as a BMP file. Runs on the
// user-interface thread; uses no Qt.

#include "model/Document.h"
#include "model/UiServices.h"

#include <string>

namespace tarvo {

inline constexpr const char* kSnapshotFilter = "BMP - Bitmap picture (*.bmp)|";
inline constexpr const char* kSnapshotTitle = "Save picture as a Bitmap file";

// The file actually written for a chosen path: a file name holding a "."
// after its first character is cut at its first "."; ".bmp" is appended
// ("view.final.bmp" becomes "view.bmp", "view" becomes "view.bmp"). The
// folder part is kept as chosen.
std::string SnapshotPath(const std::string& chosen);

enum class SnapshotResult {
    Saved,
    Cancelled, // dialog cancelled, or nothing painted yet
    Failed     // the file could not be written (message shown)
};

SnapshotResult TakeSnapshot(const CTarvoAnalyzerDoc& doc, IUiServices& ui);

} // namespace tarvo
