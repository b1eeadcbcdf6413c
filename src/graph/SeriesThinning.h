#pragma once

#include "graph/SampleRing.h"

#include <cstddef>
#include <vector>

namespace vantel {

// Inclusive index range; empty when first > last.
struct IndexRange {
    std::ptrdiff_t first = 0;
    std::ptrdiff_t last = -1;
    bool empty() const { return first > last; }
};

// The samples a window [start, end] needs: from the last sample before start
// (so the line enters from the left edge) to the last sample not after end.
// Binary searches; samples whose times go backwards give a bounded, possibly
// imperfect range, never an out-of-range index.
IndexRange VisibleRange(const SampleRing& samples, double start, double end);

inline constexpr std::size_t kMaxVerticesPerSeries = 1000;

// Indices to draw, ascending, at most maxVertices of them. The first and last
// index of the range are always kept; between them every group of samples is
// represented by its smallest and largest finite value in time order, so a
// single-sample spike survives however long the history is.
std::vector<std::size_t> ThinnedIndices(const SampleRing& samples, IndexRange range,
                                        std::size_t maxVertices = kMaxVerticesPerSeries);

} // namespace vantel
