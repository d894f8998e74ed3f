#pragma once
// The thinned samples of one AP bucketed into a uniform grid of cells, so
// that the three nearest samples of a point are found by visiting the cells
// in rings around it instead of measuring every sample. The answer is
// always the one Nearest3 (Numerics.h) gives over the distances to every
// sample, ties included.

#include "analysis/Numerics.h"

#include <vector>

namespace tarvo {

class CSampleIndex {
public:
    CSampleIndex() = default;
    // Samples i at (ys[i], xs[i]), site metres; both of the same length.
    CSampleIndex(std::vector<double> xs, std::vector<double> ys);

    // The three nearest samples of the point (x, y). Few samples, samples
    // at non-finite places and non-finite points are measured one by one,
    // with `scratch` as the buffer of distances (reused between calls).
    CNearest3 Nearest3(double x, double y, std::vector<double>& scratch) const;

private:
    int CellX(double x) const { return Cell((x - x0_) / cellW_, nx_); }
    int CellY(double y) const { return Cell((y - y0_) / cellH_, ny_); }
    static int Cell(double t, int count);
    void Build();
    CNearest3 FromCells(double x, double y) const;

    std::vector<double> xs_, ys_;
    bool built_ = false;
    double x0_ = 0, y0_ = 0, cellW_ = 1, cellH_ = 1;
    int nx_ = 1, ny_ = 1;
    double scale_ = 0;           // magnitude of the coordinates, for the rounding margin
    std::vector<int> cellStart_; // nx * ny + 1 offsets into order_
    std::vector<int> order_;     // sample indices, cell by cell
};

} // namespace tarvo
