#pragma once
// Contour lines and filled bands of a value matrix over a rectangular grid.
//
// The matrix holds rows x cols values; the value at X index i and Y index j
// is matrix[i * cols + j], at the site position (x[i], y[j]). Each grid cell
// is split into four triangles around its centre, whose value is the mean of
// the four corners; on each triangle the surface is the linear interpolation
// of its three vertex values. Lines and bands are traced on that surface, so
// a band's boundary lies exactly on the lines of the same level.
//
// Cells with a non-finite corner value produce nothing. A grid with fewer
// than two points on an axis has no cells. Inputs shorter than the counts
// claim produce nothing rather than reading past their ends.

#include "model/ApRecords.h"
#include "model/Array.h"

#include <span>

namespace tarvo {

// Appends the segments of the contour at `level` (CONREC: cells visited with
// the Y index outer, the X index inner; at most one segment per triangle).
// Returns the number of segments appended.
int TraceContourLines(std::span<const double> matrix, int rows, int cols, std::span<const double> x,
                      std::span<const double> y, double level, CArray<CDataLine>& out);

// Appends polygons covering exactly the part of the grid where the surface
// is at or above `level`: a cell whose smallest corner is above the level
// becomes one rectangle (merged with the rectangle of the cell before it in
// the same row), a cell that the level crosses contributes the part of each
// of its triangles at or above the level (3 or 4 vertices). Returns the
// number of polygons appended; merged rectangles count once.
int TraceContourBands(std::span<const double> matrix, int rows, int cols, std::span<const double> x,
                      std::span<const double> y, double level, CArray<CDataArea>& out);

} // namespace tarvo
