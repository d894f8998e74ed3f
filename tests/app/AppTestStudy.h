#pragma once
// Sample studies for the desktop program's tests, and the one place where
// these tests name the sample-study generator.

#include "formats/WorkspaceCommands.h"
#include "model/Document.h"
#include "samples/SampleStudyOpen.h"

#include <filesystem>
#include <string>

namespace tarvo::test {

// Writes scenario ("office": linear floor plan, "campus": GPS) into dir and
// opens its map; with `process` also loads and estimates its walks, as
// "Process Files" does. False when anything failed.
inline bool LoadSampleStudy(CTarvoAnalyzerDoc& doc, const std::string& scenario,
                            const std::filesystem::path& dir, bool process = true) {
    CSilentUi ui;
    std::string error;
    const auto study = GenerateSampleStudy(scenario, 1);
    return study && OpenSampleStudy(doc, *study, dir.string(), process, ui, error);
}

// A processed study saved as dir/name.tws; returns its path or "".
inline std::string SaveSampleWorkspace(const std::string& scenario,
                                       const std::filesystem::path& dir) {
    CTarvoAnalyzerDoc doc;
    CSilentUi ui;
    const std::string path = (dir / (scenario + ".tws")).string();
    if (!LoadSampleStudy(doc, scenario, dir) || !SaveWorkspaceFile(doc, path, ui))
        return {};
    return path;
}

} // namespace tarvo::test
