#pragma once
// A walk of saved `iw` scans: a manifest table with a position pair (x,y or
// x_m,y_m or lat,lon) and a column `file` per row, each file the text of
// `iw dev IF scan` (or `scan dump`) taken at that position; an optional
// `time` column (ISO 8601). Each row is one location holding the BSS
// entries of its scan; a scan that heard nothing is a location without
// samples. The manifest follows the generic table's rules for delimiters,
// quoting and '#' lines.

#include "import/ImportRows.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

// Returns a scan file's text, or nothing when it cannot be read.
using ScanFileLoader = std::function<std::optional<std::string>(const std::string& path)>;

// Reads a manifest named `file` whose scan paths are relative to `folder`
// (absolute ones are used as they stand; an empty folder is the current
// one). Problems inside a scan are reported under the scan's path with the
// scan's line, and sort with the manifest row that named it.
CImportRead ReadIwManifest(std::string_view text, const std::string& file,
                           const std::string& folder, const ScanFileLoader& load);

} // namespace tarvo
