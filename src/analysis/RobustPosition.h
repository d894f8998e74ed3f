#pragma once
// The robust position estimator: an AP is placed either at the peak of its
// readings or where a path-loss fit puts it, whichever the readings
// support, and gets a radius within which its true position likely lies.
//
// When the walk passes close to an AP, the strongest readings are the best
// evidence of where it stands; a path-loss fit helps when the AP stands
// away from the walk and the signal falls off smoothly around it. On real
// walks through walls and corridors the fit explains a flat, noisy peak by
// moving the AP away and steepening the slope, so the fit is taken only
// when it explains the readings: its residuals are within maxLackOfFit
// times the reading-to-reading noise, its slope lies inside the physical
// bounds, and its position inside the search square. Otherwise the peak is
// taken.
//
// Each branch measures its own spread (PathLossFit.h, PeakPosition.h); the
// radius is that spread times a factor chosen so that about 68 % of the
// true positions fall inside it on the shared real surveys and the
// simulated studies.

#include "analysis/PathLossFit.h"
#include "analysis/PeakPosition.h"
#include "model/ApRecords.h"
#include "model/SurveyRecords.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tarvo {

// The share of true positions the radius is meant to hold.
constexpr double kUncertaintyCoverage = 0.68;
// The fit needs this many averaged heard readings (AverageAlongWalk): four
// unknowns (position, slope, intercept) and as many residual degrees of
// freedom.
constexpr int kMinFitReadings = 8;

// The constants of the choice and of the radius (see the benchmark
// bench_estimator_accuracy, which chooses them by leaving one survey out).
struct CRobustConstants {
    double maxLackOfFit = 1.55;        // fit residuals / reading noise
    double fitRadiusPerSpread = 1.12;  // radius / fit spread
    double peakRadiusPerSpread = 1.16; // radius / peak spread
};

// What both kinds of evidence say about one AP.
struct CPositionCandidates {
    CReadingNoise noise;
    CPeakEstimate peak;
    std::vector<CData> fitting; // the heard readings, AverageAlongWalk
    CPathLossFit fit;           // ok false when not run (too few readings)
};

// Readings averaged along the walk: each run of consecutive readings within
// the thinning window (ThinningDistancesFor: ten wavelengths) of the run's
// first one becomes one reading at the mean position with the mean level.
// Unlike ThinSampleList, which places a run between its first reading and
// the one after it, the mean position does not shift the readings along
// the walk, which would bias a fit of position.
std::vector<CData> AverageAlongWalk(std::span<const CData> heard, std::int32_t frequencyMhz);

// samples: the AP's samples as recorded (levels at or below kNoSignalDbm
// count as not heard, and readings without a finite place or level are
// left out); silent: NoSignalPlaces, in walk order; frequencyMhz:
// the averaging of the fitting readings and of the silent places
// (AverageAlongWalk); extentY/extentX: the sample box.
// The fit searches a square around the peak with a half-width of a quarter
// of the box's longer side, held to 8 .. 30 m.
CPositionCandidates FindPositionCandidates(std::span<const CData> samples,
                                           std::span<const CSitePlace> silent,
                                           std::int32_t frequencyMhz, double extentY,
                                           double extentX);

enum class PositionEvidence { Peak, Fit };

struct CRobustPosition {
    bool ok = false; // false: no heard reading at all
    double y = 0.0;  // site metres
    double x = 0.0;
    PositionEvidence evidence = PositionEvidence::Peak;
    double uncertaintyM = 0.0; // radius, metres, to the centimetre (> 0 when ok)
};

// The fit when it explains the readings (see above), else the peak.
CRobustPosition ChoosePosition(const CPositionCandidates& candidates,
                               const CRobustConstants& constants = {});

// The places where the AP was not heard: the measurement points (stored
// centimetres / 100) inside its sample box (origin, extent; edges
// included) with no sample of the AP, and no earlier such place, within
// |dY| + |dX| < kNoSignalSpacingM; the same places AddNoSignalSamples adds
// its no-signal samples at.
std::vector<CSitePlace> NoSignalPlaces(std::span<const CDataPoint> points, const CAPInfo& ap);

} // namespace tarvo
