#include "cli/Study.h"

#include "analysis/CollectionLoader.h"
#include "analysis/CoverageModels.h"
#include "analysis/ProjectionOpen.h"
#include "formats/FilePaths.h"
#include "formats/ProjectionReader.h"
#include "formats/WorkspaceCommands.h"
#include "model/Text.h"

namespace tarvo {

const std::set<std::string>& StudyValueOptions() {
    static const std::set<std::string> options{"--map", "--min-points", "--estimator",
                                               "--coverage-model"};
    return options;
}

const std::set<std::string>& StudyFlags() {
    static const std::set<std::string> flags{"--no-merge"};
    return flags;
}

std::optional<CStudyOptions> StudyOptionsFrom(CArgs& args, std::ostream& err) {
    CStudyOptions options;
    options.map = args.Get("--map");
    options.noMerge = args.Has("--no-merge");
    if (auto n = args.GetInt("--min-points")) {
        if (*n < 1 || *n > 1000000) {
            err << "--min-points must be between 1 and 1000000\n";
            return std::nullopt;
        }
        options.minPoints = static_cast<int>(*n);
    }
    if (auto name = args.Get("--estimator")) {
        options.estimator = EstimatorFromName(*name);
        if (!options.estimator) {
            err << "--estimator must be one of " << EstimatorNames() << '\n';
            return std::nullopt;
        }
    }
    if (auto name = args.Get("--coverage-model")) {
        options.coverageModel = CoverageModelFromName(*name);
        if (!options.coverageModel) {
            err << "--coverage-model must be one of " << CoverageModelNames() << '\n';
            return std::nullopt;
        }
    }
    if (!args.Ok()) {
        err << args.Error() << '\n';
        return std::nullopt;
    }
    options.inputs = args.Positional();
    if (options.inputs.empty()) {
        err << "no study given: name survey files (and --map) or a workspace\n";
        return std::nullopt;
    }
    // A workspace is a whole study: it is not mixed with survey files, and
    // the loading options have nothing to act on.
    for (const std::string& input : options.inputs)
        if (IsWorkspaceFile(input) && (options.inputs.size() > 1 || options.map ||
                                       options.noMerge || options.minPoints || options.estimator)) {
            err << "a workspace (" << input
                << ") is a whole study: name it alone, without --map, --no-merge, "
                   "--min-points or --estimator\n";
            return std::nullopt;
        }
    return options;
}

std::vector<std::string> StudyInputs(const CStudyOptions& options) {
    std::vector<std::string> inputs = options.inputs;
    if (options.map)
        inputs.push_back(*options.map);
    return inputs;
}

bool OpenStudy(CTarvoAnalyzerDoc& doc, const CStudyOptions& options, CStderrUi& ui) {
    if (options.inputs.size() == 1 && IsWorkspaceFile(options.inputs[0])) {
        if (!OpenWorkspaceFile(doc, options.inputs[0], ui))
            return false;
        if (options.coverageModel)
            UseCoverageModel(doc, *options.coverageModel, ui.Progress(), options.threads);
        return true;
    }

    if (options.noMerge)
        doc.MergeApsAcrossFiles = false;
    if (options.minPoints)
        doc.MinPointsForEstimate = *options.minPoints;
    if (options.estimator)
        doc.estimator = *options.estimator;
    if (options.coverageModel)
        doc.coverageModel = *options.coverageModel;
    for (const std::string& path : options.inputs) {
        CDataFile entry;
        entry.title = FileNameOf(path);
        entry.path = FullPath(path);
        doc.files.Add(entry);
    }
    if (options.map && !OpenProjectionFile(doc, FullPath(*options.map), ui))
        return false;
    return LoadCollection(doc, ui, options.threads) == LoadOutcome::Loaded;
}

bool SaveStudyIfAsked(const CTarvoAnalyzerDoc& doc, const std::optional<std::string>& path,
                      CStderrUi& ui) {
    return !path || SaveWorkspaceFile(doc, *path, ui);
}

std::optional<CImportPlan> ReadPlanFile(const std::string& path, const char* command,
                                        std::ostream& err) {
    CTarvoAnalyzerDoc doc;
    CStderrUi ui(err);
    if (!OpenProjectionFile(doc, path, ui))
        return std::nullopt;
    const auto plan = PlanOfStudy(doc);
    if (!plan)
        err << "tarvo " << command << ": " << path
            << " has no usable scale: positions cannot be placed on it\n";
    return plan;
}

} // namespace tarvo
