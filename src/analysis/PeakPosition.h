#pragma once
// The evidence of the strongest readings of one AP, read from its raw heard
// samples (not the thinned ones): where the peak of the walk lies, how far
// the nearly-as-strong readings spread around it, and how much two
// neighbouring readings differ (the reading-to-reading noise that any
// model of the signal has to live with).

#include "model/SurveyRecords.h"

#include <span>

namespace tarvo {

// Readings are whole dBm on most receivers: two readings closer than half
// of that step are equal (a tie at the top).
constexpr double kReadingStepDb = 1.0;
// The kernel that ranks tied strongest readings by their neighbourhood:
// a Gaussian of this width, metres, half the height of a ceiling AP over a
// hand-held receiver, so that it stays inside the signal's peak.
constexpr double kPeakKernelM = 0.75;

// The reading-to-reading noise of a walk.
struct CReadingNoise {
    // Each reading against its nearest other reading (the lower index among
    // equally near ones), the mean absolute difference scaled to a standard
    // deviation of one reading: mean |dRSSI| * sqrt(pi) / 2 (for Gaussian
    // noise the difference of two readings has sqrt(2) times their spread).
    // Never below the rounding noise of whole-dBm readings, 1 / sqrt(12) dB.
    double sigmaDb = 0.0;
    // Median distance of a reading to its nearest other reading, metres:
    // how finely the walk resolves a position.
    double spacingM = 0.0;
    int readings = 0; // 0 or 1: no noise can be measured (both fields 0)
};

// heard: readings in site metres (Y, X) and dBm, all heard (no no-signal
// samples). Non-finite positions or levels must not occur. Deterministic;
// about O(n) with a grid of cells.
CReadingNoise ReadingNoiseOf(std::span<const CData> heard);

// The peak of the walk.
struct CPeakEstimate {
    bool ok = false; // false without readings
    double y = 0.0;  // site metres: the position of one of the readings
    double x = 0.0;
    double dbm = 0.0; // the strongest reading
    // RMS distance from the peak of the readings within one noise sigma of
    // the strongest, combined (root of the sum of squares) with the walk's
    // spacing: how well the readings alone place the peak, metres.
    double spreadM = 0.0;
};

// The strongest reading; among readings tied with it (within half a
// reading step) the one whose neighbourhood is strongest: the mean of all
// readings weighted by a Gaussian of kPeakKernelM around it (the first of
// equal means wins). noise: ReadingNoiseOf(heard).
CPeakEstimate PeakOf(std::span<const CData> heard, const CReadingNoise& noise);

} // namespace tarvo
