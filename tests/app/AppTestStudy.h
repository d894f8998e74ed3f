#pragma once
// Sample studies for the desktop program's tests, and the one place where
// these tests name the sample-study generator.

#include "analysis/CollectionLoader.h"
#include "analysis/ProjectionOpen.h"
#include "formats/WorkspaceCommands.h"
#include "model/Document.h"
#include "samples/SampleStudy.h"

#include <filesystem>
#include <string>

namespace tarvo::test {

// Writes scenario ("office": linear floor plan, "campus": GPS) into dir and
// opens its map; with `process` also loads and estimates its walks, as
// "Process Files" does. False when anything failed.
inline bool LoadSampleStudy(CTarvoAnalyzerDoc& doc, const std::string& scenario,
                            const std::filesystem::path& dir, bool process = true) {
    const auto study = GenerateSampleStudy(scenario, 1);
    std::string error;
    if (!study || !WriteSampleStudy(*study, dir.string(), error))
        return false;
    CSilentUi ui;
    if (!OpenProjectionFile(doc, (dir / study->projectionFileName).string(), ui))
        return false;
    if (!process)
        return true;
    for (const CSimulatedWalk& walk : study->walks) {
        CDataFile file;
        file.title = walk.fileName;
        file.path = (dir / walk.fileName).string();
        doc.files.Add(file);
    }
    return LoadCollection(doc, ui) == LoadOutcome::Loaded;
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
