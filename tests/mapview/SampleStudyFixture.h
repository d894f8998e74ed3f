#pragma once
// A generated sample study, written to a folder and loaded into a document
// the way "Process Files" loads it. The one place these tests name the
// sample-study generator.

#include "model/Document.h"
#include "model/UiServices.h"

#include <string>

namespace tarvo::test {

// Loads scenario (seed 1) from files written into dir. False on any failure.
bool LoadSampleStudy(CTarvoAnalyzerDoc& doc, const std::string& scenario, const std::string& dir,
                     IUiServices& ui);

} // namespace tarvo::test
