#pragma once
// A generated sample study opened the way a user opens a study: written to a
// folder, its map opened, its walks added to the file list and, when asked,
// processed. For the tests, the benchmarks and the desktop program.

#include "model/Document.h"
#include "model/UiServices.h"
#include "samples/SampleStudy.h"

#include <string>

namespace tarvo {

// Writes `study` into dir, opens its map with OpenProjectionFile and adds
// its walks (selected) to doc's file list; with `process`, then runs
// LoadCollection on `threads` threads (0: every core). Returns false with a
// reason in error when a file cannot be written, the map is refused or the
// collection does not load.
bool OpenSampleStudy(CTarvoAnalyzerDoc& doc, const CSampleStudy& study, const std::string& dir,
                     bool process, IUiServices& ui, std::string& error, unsigned threads = 0);

} // namespace tarvo
