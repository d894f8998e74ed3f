#pragma once
// Studies as the benchmarks start from them: files on disk opened the way a
// user opens them before "Process Files", or the `large` sample study
// generated and processed. A benchmark that cannot open its study stops at
// once.

#include "analysis/ProjectionOpen.h"
#include "model/Text.h"
#include "samples/SampleStudyOpen.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace tarvo {

// The map opened and the walks added (selected) to the file list.
inline void OpenStudyFilesOrExit(CTarvoAnalyzerDoc& doc, const std::string& projection,
                                 const std::vector<std::string>& walks, IUiServices& ui) {
    for (const std::string& path : walks) {
        CDataFile file;
        file.title = FileNameOf(path);
        file.path = path;
        doc.files.Add(file);
    }
    if (!OpenProjectionFile(doc, projection, ui)) {
        std::fprintf(stderr, "cannot open %s\n", projection.c_str());
        std::exit(1);
    }
}

// The `large` sample study written to a temporary folder, its map opened,
// its walks processed on every core, the folder removed again.
inline void LoadLargeStudyOrExit(CTarvoAnalyzerDoc& doc, IUiServices& ui, const char* bench) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        Format("tarvo-bench-%s-%d", bench, static_cast<int>(::getpid()));
    std::string error;
    const bool loaded =
        OpenSampleStudy(doc, *GenerateSampleStudy("large", 1), dir.string(), true, ui, error);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    if (!loaded) {
        std::fprintf(stderr, "cannot load the large study: %s\n", error.c_str());
        std::exit(1);
    }
}

} // namespace tarvo
