#pragma once
// The nearest-three interpolation written out as described (three bubble
// passes on copies, the last three pairs weighted), independent of the
// program's own code, for tests to compare against.

#include <utility>
#include <vector>

namespace tarvo::test {

inline double BubbleReference(std::vector<double> d, std::vector<double> v) {
    const int n = static_cast<int>(d.size());
    for (int p = 0; p < 3; ++p)
        for (int i = 1; i <= n - 1 - p; ++i)
            if (d[i] > d[i - 1]) {
                std::swap(d[i], d[i - 1]);
                std::swap(v[i], v[i - 1]);
            }
    double w[3], sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        w[k] = 1.0 / ((d[n - 1 - k] + 1e-10) * (d[n - 1 - k] + 1e-10));
        sum += w[k];
    }
    double result = 0.0;
    for (int k = 0; k < 3; ++k)
        result += w[k] / sum * v[n - 1 - k];
    return result;
}

} // namespace tarvo::test
