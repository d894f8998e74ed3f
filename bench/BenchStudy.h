#pragma once
// The `large` sample study as the benchmarks start from it: written to a
// temporary folder, its map opened, its walks processed on every core, the
// folder removed again. A benchmark that cannot load it stops at once.

#include "model/Text.h"
#include "samples/SampleStudyOpen.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace tarvo {

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
