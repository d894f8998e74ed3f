#pragma once
// Regular grids over a box, as the coverage matrices and every AP's own
// matrix are laid out: the number of points along an axis, their
// coordinates, and the checks a stored grid must pass before it is used.

#include <cstddef>
#include <vector>

namespace tarvo {

// Along either axis a grid has at most this many points, even for a long,
// very narrow box (a straight walk).
constexpr int kMaxGridPointsPerAxis = 2000;

// Points along an axis of `extent` metres at `resolution` metres apart:
// extent / resolution truncated toward zero, at most kMaxGridPointsPerAxis.
// An axis without extent (zero, negative or NaN), or a count below 1 or
// NaN, gets a single point.
int GridCount(double extent, double resolution);

// Grid coordinates along one axis: min + i * extent / (count - 1) for
// i = 0 .. count-1, or the single midpoint min + extent / 2 when count is 1;
// empty for a count below 1.
std::vector<double> GridAxis(double min, double extent, int count);

// True for counts a grid can have: 1 .. kMaxGridPointsPerAxis on each axis.
bool GridCountsAreSane(int rows, int cols);

// True when a matrix of `size` values fits a grid of rows x cols (both at
// least 1).
bool MatchesGrid(std::size_t size, int rows, int cols);

} // namespace tarvo
