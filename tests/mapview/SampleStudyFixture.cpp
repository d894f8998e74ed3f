#include "SampleStudyFixture.h"

#include "analysis/CollectionLoader.h"
#include "analysis/ProjectionOpen.h"
#include "samples/SampleStudy.h"

namespace tarvo::test {

bool LoadSampleStudy(CTarvoAnalyzerDoc& doc, const std::string& scenario, const std::string& dir,
                     IUiServices& ui) {
    const auto study = GenerateSampleStudy(scenario, 1);
    std::string error;
    if (!study || !WriteSampleStudy(*study, dir, error))
        return false;
    if (!OpenProjectionFile(doc, dir + "/" + study->projectionFileName, ui))
        return false;
    for (const CSimulatedWalk& walk : study->walks) {
        CDataFile file;
        file.title = walk.fileName;
        file.path = dir + "/" + walk.fileName;
        doc.files.Add(file);
    }
    return LoadCollection(doc, ui) == LoadOutcome::Loaded;
}

} // namespace tarvo::test
