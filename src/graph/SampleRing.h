#pragma once

#include "graph/CanvasTypes.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace vantel {

// Where the smallest and largest finite value of an index range lie.
struct ExtremeIndices {
    std::size_t lowest = 0;
    std::size_t highest = 0;
};

// Fixed-capacity double-ended store of samples: constant-time append at the
// back, removal at the front and access by index. Memory grows with use up to
// the capacity, so idle traces stay small. It keeps the extremes of every
// block of kBlock stored slots, so the extremes of a long range cost a few
// block look-ups instead of a visit to every sample.
class SampleRing {
public:
    static constexpr std::size_t kBlock = 16;

    explicit SampleRing(std::size_t capacity) : capacity_(capacity) {}

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t capacity() const { return capacity_; }

    // Index 0 is the oldest sample.
    const LECanvasSample& operator[](std::size_t index) const { return buffer_[physical(index)]; }
    const LECanvasSample& front() const { return (*this)[0]; }
    const LECanvasSample& back() const { return (*this)[size_ - 1]; }

    // Ignored when full; the caller decides what to drop.
    void pushBack(const LECanvasSample& sample);
    void popFront();
    void clear();
    // Room for `count` samples (at most the capacity) without regrowing.
    void reserve(std::size_t count);

    // Smallest and largest finite value among indices first .. last
    // (first <= last < size); nothing when none is finite. Ties go to the
    // earliest index.
    std::optional<ExtremeIndices> extremes(std::size_t first, std::size_t last) const;

    // The first index at or after `index` that starts a block of stored slots.
    // Ranges that start and end there are answered from block extremes alone.
    std::size_t blockStartAtOrAfter(std::size_t index) const;

private:
    struct BlockExtremes {
        double lowest;
        double highest;
        std::size_t lowestAt; // physical slots
        std::size_t highestAt;
    };

    std::size_t physical(std::size_t index) const
    {
        const std::size_t i = head_ + index;
        return i < buffer_.size() ? i : i - buffer_.size();
    }
    std::size_t logical(std::size_t slot) const { return slot >= head_ ? slot - head_ : slot + buffer_.size() - head_; }
    void noteWritten(std::size_t slot);
    // Extremes over physical slots begin .. end - 1, in one contiguous run.
    void scanRun(std::size_t begin, std::size_t end, BlockExtremes& found) const;

    std::size_t capacity_;
    std::vector<LECanvasSample> buffer_;
    // Extremes of slots [k * kBlock, (k + 1) * kBlock) written since slot
    // k * kBlock was last written; valid for a block whose slots all lie in
    // one run of the ring, which is the only way a query uses them.
    std::vector<BlockExtremes> blocks_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
};

} // namespace vantel
