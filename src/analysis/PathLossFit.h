#pragma once
// A robust fit of an AP's position and log-distance line to its readings,
//     RSSI = intercept + slope * log10(sqrt(d^2 + h^2)),
// d the planar distance in metres and h the height of a ceiling AP above a
// hand-held receiver (which also keeps the model finite on the AP). The
// criterion is Huber's: walls, bodies and reflections give heavy-tailed
// residuals, which a squared loss lets pull the AP away. Places where the
// AP was not heard count against positions whose line predicts a level
// above the weakest one heard there. The slope is held to what indoor and
// outdoor propagation allows (path-loss exponents 1.5 .. 5).
//
// Besides the position the fit reports how far it can be trusted: the
// spread of the nearly-as-good positions (the criterion read as a
// likelihood) and the lack of fit, the residual spread of the raw readings
// against their reading-to-reading noise. A line that explains the readings
// leaves residuals no larger than that noise; walls and corridors leave
// larger ones, and then the fitted position is not to be trusted.

#include "model/SurveyRecords.h"

#include <span>

namespace tarvo {

constexpr double kApHeightM = 1.5;
constexpr double kSteepestSlopeDb = -50.0; // dB per decade of distance
constexpr double kFlattestSlopeDb = -15.0;
// Huber's constant, in robust standard deviations.
constexpr double kHuberK = 1.5;
// Candidates per axis of the search square.
constexpr int kFitGridPerAxis = 31;

struct CSitePlace {
    double y = 0.0; // site metres
    double x = 0.0;
};

struct CPathLossFitInput {
    std::span<const CData> fitting;     // the heard readings, thinned (at least 3)
    std::span<const CData> heard;       // the heard readings as recorded
    std::span<const CSitePlace> silent; // places on the walk where the AP was not heard
    double weakestHeardDbm = 0.0;       // the weakest reading heard at all
    double readingNoiseDb = 1.0;        // ReadingNoiseOf(heard).sigmaDb, > 0
    double centreY = 0.0, centreX = 0.0, halfWidthM = 1.0; // the search square
};

// A line of the model at one position.
struct CPathLossLine {
    double slope = 0.0;
    double intercept = 0.0;
};

struct CPathLossFit {
    bool ok = false; // false: fewer than 3 readings, or no finite criterion
    double y = 0.0;  // site metres
    double x = 0.0;
    CPathLossLine line;        // slope held to the bounds
    bool slopeAtBound = false; // the slope sits on a bound: no interior fit
    bool onBorder = false;     // the position sits on the edge of the square
    double residualDb = 0.0;   // sqrt(pi/2) * mean |raw reading - line|
    double lackOfFit = 0.0;    // residualDb / readingNoiseDb
    // Root-mean-square distance from the position of all positions in the
    // square weighted by exp(-(criterion - minimum) / lackOfFit^2), metres:
    // a likelihood whose noise is widened by the lack of fit.
    double spreadM = 0.0;
    // The criterion at the position and at the centre of the square.
    double criterion = 0.0;
    double criterionAtCentre = 0.0;
};

// Searches a kFitGridPerAxis^2 grid over the square, refines the best by a
// pattern search (steps halved down to 1 cm, held inside the square), and
// measures the spread on the grid and on a fine grid around the position.
// Deterministic: sums in index order, the first of equal candidates wins.
CPathLossFit FitPathLoss(const CPathLossFitInput& input);

// The Huber line of the thinned readings at (y, x) with the slope not held
// to bounds: the propagation model of an AP placed there. sigmaDb is the
// sample standard deviation of its residuals. Fewer than 3 readings, or
// readings all equally far: ok false.
struct CApLine {
    bool ok = false;
    CPathLossLine line;
    double sigmaDb = 0.0;
};
CApLine ApLineAt(std::span<const CData> fitting, double y, double x);

} // namespace tarvo
