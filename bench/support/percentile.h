// The 95th percentile of a benchmark's repetitions, by nearest rank: the
// smallest sample that at least 95% of the samples do not exceed.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

inline double Percentile95(const std::vector<double>& values) {
    if (values.empty()) return 0.0;
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    return sorted[static_cast<size_t>(std::ceil(0.95 * static_cast<double>(sorted.size()))) - 1];
}
