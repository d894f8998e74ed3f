#pragma once
// The study that most `tarvo` commands work on: a workspace (.tws), or a
// projection file and survey files that are loaded and processed the way
// the GUI's "Process Files" does.

#include "cli/Args.h"
#include "cli/CliUi.h"
#include "import/ImportFiles.h"
#include "model/Document.h"

#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace tarvo {

struct CStudyOptions {
    std::optional<std::string> map;                 // --map FILE.gpf|.lpf
    bool noMerge = false;                           // --no-merge
    std::optional<int> minPoints;                   // --min-points N
    std::optional<EstimatorKind> estimator;         // --estimator NAME
    std::optional<CoverageModelKind> coverageModel; // --coverage-model NAME
    std::vector<std::string> inputs;                // survey files, or one workspace
    unsigned threads = 0;                           // estimation threads (0: every core)
};

// Options every study-taking command accepts, to merge into its CArgs sets.
const std::set<std::string>& StudyValueOptions();
const std::set<std::string>& StudyFlags();

// Reads the study options out of parsed arguments (positional arguments are
// the inputs). Returns nullopt and writes a message to err when invalid.
std::optional<CStudyOptions> StudyOptionsFrom(CArgs& args, std::ostream& err);

// Every file the study is read from: the inputs and the map.
std::vector<std::string> StudyInputs(const CStudyOptions& options);

// Opens and processes the study into doc. Messages reach the user through
// ui; returns false when nothing usable was loaded. A workspace is opened as
// it was saved, without processing its survey files again; a coverage model
// other than the one that made its maps gives it that model's AP matrices
// (and site-wide coverage, when it has some) instead. Survey and map
// files are kept under their full paths, as a file dialog gives them, so
// that reports and workspaces name them wherever they are read.
bool OpenStudy(CTarvoAnalyzerDoc& doc, const CStudyOptions& options, CStderrUi& ui);

// "--save STUDY.tws": the option of the commands that can keep their study.
constexpr const char* kSaveOption = "--save";

// Writes doc as a workspace to path when one is given (the path is used as
// it stands). Returns false, after a "File Save Error" message, when the
// file could not be written; an existing file is then left unchanged.
bool SaveStudyIfAsked(const CTarvoAnalyzerDoc& doc, const std::optional<std::string>& path,
                      CStderrUi& ui);

// The plan that positions in metres are placed on: the projection file at
// path and its scale. Returns nullopt after the messages on err, each line
// starting "tarvo COMMAND: ", when the file cannot be opened or has no
// usable scale.
std::optional<CImportPlan> ReadPlanFile(const std::string& path, const char* command,
                                        std::ostream& err);

} // namespace tarvo
