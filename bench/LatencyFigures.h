#pragma once

#include <algorithm>
#include <vector>

namespace vantel::bench {

// Median and 90th percentile of a set of timings.
struct Figures {
    double median = 0;
    double p90 = 0;
};

inline Figures Summarise(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples[samples.size() * 9 / 10]};
}

} // namespace vantel::bench
