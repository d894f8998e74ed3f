#pragma once
// The formats `tarvo import` and the desktop program read, recognised from
// the content, and one entry point that reads an input in its format.

#include "import/ImportRows.h"
#include "import/IwManifest.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

enum class ImportFormat {
    Csv,   // the generic measurement table
    Iw,    // a manifest of saved `iw` scans
    Wigle, // a phone wardriving log
    Table  // our own table output
};

// "csv", "iw", "wigle", "table".
const char* ImportFormatName(ImportFormat format);
std::optional<ImportFormat> ImportFormatNamed(std::string_view name);

// The format of a text: the phone log by its first line, our table by its
// header, a manifest by its `file` column; anything else is read as the
// generic table.
ImportFormat DetectImportFormat(std::string_view text);

// Reads `text` (named `file` in messages; a manifest's scans are found
// relative to `folder`) in the given format. Text of a single iw scan given
// where a table is expected is refused with a hint to list it in a
// manifest.
CImportRead ReadImportText(std::string_view text, ImportFormat format, const std::string& file,
                           const std::string& folder, const ScanFileLoader& load);

} // namespace tarvo
