#pragma once

#include <algorithm>
#include <vector>

namespace velmor::bench {

// The middle of the values (of the two in the middle, their mean); the runs of every benchmark
// are summed up by it.
inline double median(std::vector<double> values) {
    std::ranges::sort(values);
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace velmor::bench
