#include "analysis/Grid.h"

namespace tarvo {

int GridCount(double extent, double resolution) {
    if (!(extent > 0.0))
        return 1;
    const double count = extent / resolution;
    if (!(count >= 1.0))
        return 1;
    if (count >= kMaxGridPointsPerAxis)
        return kMaxGridPointsPerAxis;
    return static_cast<int>(count);
}

std::vector<double> GridAxis(double min, double extent, int count) {
    std::vector<double> axis;
    if (count == 1) {
        axis.push_back(min + extent / 2);
    } else if (count > 1) {
        axis.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            axis.push_back(min + i * extent / (count - 1));
    }
    return axis;
}

bool GridCountsAreSane(int rows, int cols) {
    return rows >= 1 && cols >= 1 && rows <= kMaxGridPointsPerAxis && cols <= kMaxGridPointsPerAxis;
}

bool MatchesGrid(std::size_t size, int rows, int cols) {
    return rows >= 1 && cols >= 1 &&
           size == static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
}

} // namespace tarvo
