#pragma once
// How wrong are a study's maps? Cross-validation over its survey
// locations: the locations are split into folds; for each fold the APs are
// estimated again, with the study's estimator and coverage model, from the
// samples of the other locations only, and each AP's matrix is compared
// with what was measured at the held-out locations.

#include "formats/TruthFile.h"
#include "model/Document.h"
#include "model/UiServices.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarvo {

enum class FoldScheme {
    Block,  // contiguous stretches of the walk: fold f holds locations
            // [f * n / folds, (f + 1) * n / folds) in load order
    Random, // a fixed shuffle of the locations dealt round the folds
};

constexpr int kDefaultFolds = 5;
constexpr int kMinFolds = 2;
constexpr int kMaxFolds = 100;

// The fold (0 .. folds-1) of each of `locations` locations. Block: location
// i goes to fold i * folds / locations (integer division), so the folds are
// contiguous and differ in size by at most one. Random: the locations are
// shuffled by a Fisher-Yates pass driven by SplitMix64 from seed 1, and the
// location at shuffled place k goes to fold k mod folds. The same counts
// always give the same folds, on every platform.
std::vector<int> FoldsOfLocations(int locations, int folds, FoldScheme scheme);

// The figures of a set of held-out comparisons. Errors are predicted minus
// measured, in dB.
struct CAccuracyFigures {
    std::int64_t pairs = 0;  // held-out (AP, location) where the AP was heard
    std::int64_t inside = 0; // of them predicted: inside the AP's matrix box
    double rmse = 0.0, mae = 0.0, medianAbs = 0.0, bias = 0.0; // over `inside`; NaN if none
    std::int64_t unheard = 0;      // held-out locations inside the box where it was not heard
    std::int64_t falseCovered = 0; // of them predicted at or above PowerLow

    double InsideShare() const;   // NaN without pairs
    double FalseCoverage() const; // falseCovered / unheard; NaN without unheard
};

struct CApAccuracy {
    int apIndex = 0; // into the study's AP array
    CAccuracyFigures figures;
    std::optional<double> positionErrorM; // with a truth file: distance to the true position
};

struct CStudyAccuracy {
    int folds = kDefaultFolds;
    FoldScheme scheme = FoldScheme::Block;
    int locations = 0;
    CAccuracyFigures overall;
    std::vector<CApAccuracy> aps;               // the APs that took part, in AP order
    std::optional<double> medianPositionErrorM; // over the APs with a position error
};

struct CEvaluationOptions {
    int folds = kDefaultFolds;
    FoldScheme scheme = FoldScheme::Block;
    unsigned threads = 0; // 0: every core; the figures never depend on it
    // Replaces the matrix of an AP estimated for a fold (on the same grid),
    // given the fold's training locations: benchmarks measure other
    // predictors through the same folds with it.
    std::function<void(CAPInfo& ap, std::span<const CDataPoint> training)> remakeMatrix;
};

// Cross-validates the processed study `doc` (it is not changed). Each AP's
// samples are tied to their locations through the study's files and
// points as a load groups them; APs whose samples cannot be tied (a
// changed file selection) are left out. Work is spread over
// options.threads (fold by fold); progress moves 0..100 on `progress` with
// the text "Evaluating the maps: fold F of N...", and a cancel ends it with
// CCancelException.
CStudyAccuracy EvaluateStudy(const CTarvoAnalyzerDoc& doc, const CEvaluationOptions& options,
                             IProgress& progress);

// Sets the position error of every evaluated AP whose position was
// estimated (at least MinPointsForEstimate thinned samples) and that
// `truth` lists by MAC (the first entry of a MAC), and their median.
void AddPositionErrors(CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc,
                       std::span<const CTruePosition> truth);

// Summary of a list of errors (dB) into the error fields of `figures`.
void SummariseErrors(std::vector<double> errors, CAccuracyFigures& figures);

} // namespace tarvo
