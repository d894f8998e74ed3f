#pragma once
// Import inputs read from disk, and the plan an open study offers: the
// steps the tool and the desktop program share.

#include "import/ImportFormat.h"
#include "import/WalkAssembly.h"
#include "model/Document.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvo {

// Reads the file at `path` in its format (recognised from the content
// unless `format` is given) and names it `path` in messages. A manifest's
// scan files are found beside it. Every file read (the input and the scans)
// is appended to filesRead, so that outputs can be kept off them. A file
// that cannot be read, a binary file and a survey file given as an input
// are fatal problems of that input. *used gets the format read.
CImportRead ReadImportFile(const std::string& path, std::optional<ImportFormat> format,
                           std::vector<std::string>& filesRead, ImportFormat* used = nullptr);

// The plan a study with an open projection offers: its size, scale and
// matrix; nothing when no map is open or its scale is not usable.
std::optional<CImportPlan> PlanOfStudy(const CTarvoAnalyzerDoc& doc);

} // namespace tarvo
