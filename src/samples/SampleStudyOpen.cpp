#include "samples/SampleStudyOpen.h"

#include "analysis/CollectionLoader.h"
#include "analysis/ProjectionOpen.h"

#include <filesystem>

namespace tarvo {

bool OpenSampleStudy(CTarvoAnalyzerDoc& doc, const CSampleStudy& study, const std::string& dir,
                     bool process, IUiServices& ui, std::string& error, unsigned threads) {
    if (!WriteSampleStudy(study, dir, error))
        return false;
    const std::filesystem::path folder(dir);
    if (!OpenProjectionFile(doc, (folder / study.projectionFileName).string(), ui)) {
        error = "the map " + study.projectionFileName + " was refused";
        return false;
    }
    for (const CSimulatedWalk& walk : study.walks) {
        CDataFile file;
        file.title = walk.fileName;
        file.path = (folder / walk.fileName).string();
        doc.files.Add(file);
    }
    if (process && LoadCollection(doc, ui, threads) != LoadOutcome::Loaded) {
        error = "the walks did not load";
        return false;
    }
    return true;
}

} // namespace tarvo
