#include "graph/SeriesThinning.h"

#include <cmath>

namespace vantel {
namespace {

// First index whose time satisfies !before(time), searching [0, size).
template <typename Before> std::size_t partitionPoint(const SampleRing& samples, Before before)
{
    std::size_t low = 0;
    std::size_t high = samples.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (before(samples[middle].time))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// Appends the indices of the smallest and largest finite value in
// [first, last], in index order.
void appendExtremes(const SampleRing& samples, std::size_t first, std::size_t last, std::vector<std::size_t>& out)
{
    std::size_t lowest = last + 1;
    std::size_t highest = last + 1;
    for (std::size_t i = first; i <= last; ++i) {
        const double value = samples[i].value;
        if (!std::isfinite(value))
            continue;
        if (lowest > last || value < samples[lowest].value)
            lowest = i;
        if (highest > last || value > samples[highest].value)
            highest = i;
    }
    if (lowest > last)
        return;
    if (lowest == highest) {
        out.push_back(lowest);
        return;
    }
    out.push_back(std::min(lowest, highest));
    out.push_back(std::max(lowest, highest));
}

} // namespace

IndexRange VisibleRange(const SampleRing& samples, double start, double end)
{
    if (samples.empty())
        return {};
    std::size_t first = partitionPoint(samples, [start](double time) { return time < start; });
    if (first > 0)
        --first;
    const std::size_t afterLast = partitionPoint(samples, [end](double time) { return !(time > end); });
    return {static_cast<std::ptrdiff_t>(first), static_cast<std::ptrdiff_t>(afterLast) - 1};
}

std::vector<std::size_t> ThinnedIndices(const SampleRing& samples, IndexRange range, std::size_t maxVertices)
{
    std::vector<std::size_t> indices;
    if (range.empty())
        return indices;
    const auto first = static_cast<std::size_t>(range.first);
    const auto last = static_cast<std::size_t>(range.last);
    const std::size_t count = last - first + 1;
    if (count <= maxVertices || maxVertices < 4) {
        indices.reserve(count);
        for (std::size_t i = first; i <= last; ++i)
            indices.push_back(i);
        return indices;
    }
    // Groups are anchored at the newest sample, each contributing two vertices.
    const std::size_t inner = count - 2;
    const std::size_t groups = (maxVertices - 2) / 2;
    const std::size_t groupSize = (inner + groups - 1) / groups;
    indices.reserve(maxVertices);
    indices.push_back(first);
    std::size_t groupStart = first + 1;
    const std::size_t leading = inner % groupSize;
    if (leading != 0) {
        appendExtremes(samples, groupStart, groupStart + leading - 1, indices);
        groupStart += leading;
    }
    for (; groupStart < last; groupStart += groupSize)
        appendExtremes(samples, groupStart, groupStart + groupSize - 1, indices);
    indices.push_back(last);
    return indices;
}

} // namespace vantel
