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

// Index of the smallest finite value: a later value replaces the current
// minimum only when strictly smaller, so the first of equal minima wins.
// Non-finite values (a candidate on a sample) are never chosen, the first
// one included. No finite value (or empty input): -1.
int ArgMinFirst(std::span<const double> a);

// The largest finite value, replaced only by a strictly larger one.
// No finite value (or empty input): NaN.
double MaxOfErrors(std::span<const double> a);

// The three nearest of n distances, nearest first, as three bubble passes
// leave them at the end of the array: pass p (p = 0, 1, 2) runs i from 1 to
// n-1-p and swaps pairs i-1 and i when d[i] > d[i-1] (strictly), so among
// equal distances the LATER index ends nearer the end (wins); pairs n-1,
// n-2, n-3 are taken in that order. Without a NaN that is the three
// smallest by (distance ascending, index descending), found in one scan;
// with a NaN the passes' comparisons are no ordering, so the passes are run
// on a copy. Fewer than three distances: those present. The input is not
// changed.
struct CNearest3 {
    int count = 0;
    double distance[3] = {0.0, 0.0, 0.0}; // metres
    std::size_t index[3] = {0, 0, 0};     // into the distance array

    // Keeps pair i at distance d if it ranks among the three so far: nearer
    // wins, and of equal distances the later index. d must not be NaN.
    void Offer(double d, std::size_t i);
};
CNearest3 Nearest3(std::span<const double> d);

// The weighted mean of v over the nearest pairs, in their order:
// w = 1 / ((d + 1e-10) * (d + 1e-10)); result = sum (w / sum w) * v[index].
// Values in dBm (or any unit). No pairs: NaN.
double InverseDistanceWeighted(const CNearest3& nearest, std::span<const double> v);

// Inverse-distance interpolation from the three nearest of n (distance,
// value) pairs: InverseDistanceWeighted(Nearest3(d), v) over the common
// length. Distances in metres, values in dBm. None: NaN.
double InterpolateNearest3(std::span<const double> d, std::span<const double> v);

} // namespace tarvo
