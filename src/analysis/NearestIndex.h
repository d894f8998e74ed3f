#pragma once
// Places in the plane bucketed into a uniform grid of cells, so that the k
// nearest places of a point are found by visiting the cells in rings around
// it. The answer is the one a scan of every place gives: the k smallest
// distances, nearer first, and of equal distances the lower index first.

#include <cstddef>
#include <vector>

namespace tarvo {

struct CNeighbour {
    double distance = 0.0; // metres
    int index = 0;         // into the places the index was built from
};

class CNearestIndex {
public:
    CNearestIndex() = default;
    // Place i at (xs[i], ys[i]), site metres; both of the same length.
    // Places with a non-finite coordinate are never anyone's neighbour.
    CNearestIndex(std::vector<double> xs, std::vector<double> ys);

    std::size_t Size() const { return xs_.size(); }

    // The k nearest places of (x, y) into `out` (fewer when fewer places
    // are usable; none for a non-finite point), nearest first.
    void Nearest(double x, double y, int k, std::vector<CNeighbour>& out) const;

private:
    int CellX(double x) const;
    int CellY(double y) const;

    std::vector<double> xs_, ys_;
    double x0_ = 0, y0_ = 0, cellW_ = 1, cellH_ = 1;
    int nx_ = 1, ny_ = 1;
    std::vector<int> cellStart_; // nx * ny + 1 offsets into order_
    std::vector<int> order_;     // usable place indices, cell by cell
};

} // namespace tarvo
