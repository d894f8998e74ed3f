#pragma once
// The measured throughput of recorded walks spread over a grid by inverse
// distance weighting, for the throughput view: at each grid point the mean
// of the measured download rates weighted by 1 / d^2 (d the distance to
// the measured point), the rate itself on a measured point. The grid covers
// the box of the measured points at the study's grid spacing.

#include "model/Document.h"

#include <vector>

namespace tarvo {

// At most this many grid points along each axis: the view is drawn again on
// every zoom, and finer cells would not show more than the few dozen
// measured points give.
constexpr int kMostThroughputGridPoints = 250;
// A box narrower than this (one point, or a straight walk) is widened to it
// about its centre, so that the view shows a patch, not a line.
constexpr double kSmallestThroughputBoxM = 2.0;

struct CThroughputGrid {
    CBox box;     // site metres
    int rows = 0; // grid points along X
    int cols = 0; // grid points along Y
    // Download bits per second; the element of X index i and Y index j is
    // at i * cols + j, as in the coverage matrices.
    std::vector<double> downBps;
    double scaleTopBps = 0.0; // top of the ten colour bands (NiceCeiling)
    int measured = 0;         // points with a download rate

    bool Empty() const { return downBps.empty(); }
};

// Inverse-distance weighted download rate at (x, y) over the points with a
// download rate and a finite position: sum(v_i / d_i^2) / sum(1 / d_i^2)
// in point order; the first point within a micrometre gives its own rate.
// NaN without such points.
double InterpolateThroughput(const std::vector<CThroughputPoint>& points, double x, double y);

// The grid over the points' box: grid points `resolution` metres apart
// (GridCount), or, for a resolution that is not above 0, the coverage
// grid's coarse spacing (the shorter side / 20); 2 to
// kMostThroughputGridPoints along each axis. Empty without a point with a
// download rate.
CThroughputGrid ComputeThroughputGrid(const std::vector<CThroughputPoint>& points,
                                      double resolution);

// The smallest of 1, 2, 5 times a power of ten that is at least `value`;
// 1e6 (1 Mbit/s) for a value that is not above 0 or not finite.
double NiceCeiling(double value);

// The top of the colour scale for these points: NiceCeiling of the fastest
// measured download rate.
double ThroughputScaleTop(const std::vector<CThroughputPoint>& points);

// Colour band 0..9 of a rate on a scale from 0 to top: trunc(10 * v / top),
// held within 0..9 (band 9 the fastest).
int ThroughputBand(double bps, double topBps);

} // namespace tarvo
