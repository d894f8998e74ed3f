#pragma once
// The rules of one AP's log-distance propagation model, RSSI = intercept +
// slope * log10(distance in m), in one place for estimation, recalculation,
// coverage, the pictures and the report: when a fitted slope is accepted,
// when an AP has a model worth drawing, how the model is mixed with the
// interpolation of the samples, and the prediction over the AP's own grid.

#include "model/ApRecords.h"

#include <functional>
#include <optional>
#include <vector>

namespace tarvo {

// A fitted slope of this or steeper (dB per decade of distance) describes a
// signal that falls off as an AP's does.
constexpr double kValidSlope = -10.0;

// Predictions (an AP's matrix, its part of the coverage) interpolate the
// three nearest thinned samples, so they need at least this many.
constexpr int kMinCoverageSamples = 3;

// A fit is accepted (estimation sets `valid`, a moved AP stays where it
// was put) when its slope is kValidSlope or steeper and both slope and
// intercept are finite. NaN is never accepted.
bool IsAcceptedFit(double slope, double intercept);

// The model is mixed into an AP's own matrix only for a slope strictly
// below kValidSlope: at exactly -10.0 the matrix is pure interpolation.
bool MixesModelIntoMatrix(double slope);

// An AP whose model is drawn (reliability rings), reported and given
// reliability radii: `valid` set and slope strictly below kValidSlope.
bool HasUsableModel(const CAPInfo& ap);

// An AP with enough thinned samples for predictions.
bool HasCoverageSamples(const CAPInfo& ap);

// The model's RSSI (dBm) at (y, x) for an AP at (apY, apX), site metres:
// slope * log10(sqrt(dx * dx + dy * dy)) + intercept with dx = x - apX,
// dy = y - apY. On the AP itself the logarithm of 0 gives no finite value.
double ModelRssi(double slope, double intercept, double apY, double apX, double y, double x);

// The prediction where the model takes part: 0.6 * model + 0.4 *
// interpolated, or the interpolation alone where the model has no finite
// value (on the AP itself).
double MixWithModel(double model, double interpolated);

// Grid coordinate k of `count` points over [min, min + extent], as an AP's
// matrix is laid out: min + k * (extent / (count - 1)), the midpoint for a
// single point.
double ApGridPoint(double min, double extent, int count, int k);

// An AP's predicted RSSI over its own grid.
struct CApMatrix {
    std::vector<double> values; // rows x columns, X index outer
    double minValue = 0.0;      // smallest and largest value, starting at
    double maxValue = 0.0;      // the mean thinned RSSI (strict widening)
};

// predict(y, x) at every point of the AP's grid: ap.rows points along X
// over [origin X, origin X + extent X] (ApGridPoint), ap.columns along Y, X
// index outer; minValue and maxValue start at the mean thinned RSSI and
// widen strictly. rowDone(r) is called after X row r.
CApMatrix PredictOnApGrid(const CAPInfo& ap,
                          const std::function<double(double y, double x)>& predict,
                          const std::function<void(int row)>& rowDone = {});

// The matrix of `ap` for the fit (slope, intercept) at ap.position, on the
// AP's grid: ap.rows points along X over [origin X, origin X + extent X],
// ap.columns along Y, both ends included (min + k * (extent / (count - 1)),
// the midpoint for a single point). Each value is the interpolation of the
// three nearest thinned samples (InterpolateNearest3), mixed with the model
// when MixesModelIntoMatrix(slope). rowDone(r) is called after X row r.
// Needs rows and columns of at least 1 and at least one thinned sample.
CApMatrix PredictApMatrix(const CAPInfo& ap, double slope, double intercept,
                          const std::function<void(int row)>& rowDone = {});

// The level of `ap`'s matrix at offsets (dy, dx) from its origin, read by
// bilinear interpolation between the four grid points around it (an axis
// of one grid point is read at that point); offsets outside the box are
// moved onto its edge. nullopt when the matrix does not fit the AP's grid.
std::optional<double> MatrixLevelAtOffset(const CAPInfo& ap, double dy, double dx);

// The level of `ap`'s matrix at (y, x), site metres, as above; nullopt
// outside the matrix box (its edges are inside).
std::optional<double> MatrixLevelAt(const CAPInfo& ap, double y, double x);

} // namespace tarvo
