#pragma once
// Small numeric routines of the AP estimation. Plain functions over arrays
// of doubles; every sum is accumulated in index order and every expression
// is evaluated as written, so results are reproducible to the last bit.
// None of them throws or stops on non-finite input: NaN and infinities
// flow through the arithmetic and the comparisons described below.

#include <cstddef>
#include <span>

namespace tarvo {

// Sum over i of a[i] / n, in index order (each term divided before it is
// added, not the sum divided once). Units: those of a. Empty input: 0.0.
double Mean(std::span<const double> a);

// Least-squares slope of y over x:
//   sum (y[i] - Mean(y)) * x[i]  /  sum (x[i] - Mean(x)) * x[i],
// both sums over the common length, in index order. Units: y per x.
// Equal x values (or fewer than two) give 0 / 0 = NaN; an infinite x gives
// NaN as well. Callers compare the result with strict comparisons, which a
// NaN never passes.
double LeastSquaresSlope(std::span<const double> y, std::span<const double> x);

// The same slope when Mean(y) is already known, with the centred values
// yc[i] = y[i] - Mean(y) given. Bit-identical to LeastSquaresSlope; used
// where one y is fitted against many x.
double LeastSquaresSlopeCentred(std::span<const double> yc, std::span<const double> x);

// sqrt(sum (a[i] - Mean(a))^2 / (n - 1)). Fewer than two values: 0.0 (no
// spread can be measured; the plain formula would divide 0 by 0).
double SampleStdDev(std::span<const double> a);

// Index of the smallest value: a later value replaces the current minimum
// only when strictly smaller, so the first of equal minima wins, and a NaN
// at index 0 stays the minimum (nothing compares smaller than it). A NaN
// elsewhere is never chosen. Empty input: -1.
int ArgMinFirst(std::span<const double> a);

// The largest value, replaced only by a strictly larger one (a NaN at index
// 0 stays, later NaNs are passed over). Empty input: NaN.
double MaxOfErrors(std::span<const double> a);

// Inverse-distance interpolation from the three nearest of n (distance,
// value) pairs. The three are those that three bubble passes leave at the
// end: pass p (p = 0, 1, 2) runs i from 1 to n-1-p and swaps pairs i-1 and
// i when d[i] > d[i-1] (strictly), so among equal distances the LATER pair
// ends nearer the end (wins). Taking pairs n-1, n-2, n-3 in that order,
// w = 1 / ((d + 1e-10) * (d + 1e-10)); result = sum (w / sum w) * v.
// Distances in metres, values in dBm. The inputs are not changed.
// Fewer than three pairs: the ones present are used; none: NaN.
double InterpolateNearest3(std::span<const double> d, std::span<const double> v);

// The same result computed literally: the three bubble passes on copies of
// both arrays. Slower; the reference the fast paths are measured against,
// and the answer wherever a distance is NaN (then the passes' comparisons
// are no ordering and only the passes themselves decide).
double InterpolateNearest3Literal(std::span<const double> d, std::span<const double> v);

// The weighted mean of count (at most 3) pairs given nearest first:
// w = 1 / ((d + 1e-10) * (d + 1e-10)); result = sum (w / sum w) * v, summed
// in the order given.
double InverseDistanceWeighted(const double* nd, const double* nv, int count);

} // namespace tarvo
