#include "graph/SeriesThinning.h"

#include <algorithm>

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
    const auto found = samples.extremes(first, last);
    if (!found)
        return;
    out.push_back(std::min(found->lowest, found->highest));
    if (found->lowest != found->highest)
        out.push_back(std::max(found->lowest, found->highest));
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
    if (count <= maxVertices || maxVertices < 6) {
        indices.reserve(count);
        for (std::size_t i = first; i <= last; ++i)
            indices.push_back(i);
        return indices;
    }
    // Groups end where blocks of the store begin, so each is answered from
    // block extremes and stays put while new samples arrive.
    const std::size_t inner = count - 2;
    const std::size_t groups = (maxVertices - 2) / 2;
    const std::size_t groupSize = (inner + groups - 2) / (groups - 1);
    indices.reserve(maxVertices);
    indices.push_back(first);
    for (std::size_t groupStart = first + 1; groupStart < last;) {
        const std::size_t groupEnd = std::min(last, samples.blockStartAtOrAfter(groupStart + groupSize));
        appendExtremes(samples, groupStart, groupEnd - 1, indices);
        groupStart = groupEnd;
    }
    indices.push_back(last);
    return indices;
}

} // namespace vantel
