#pragma once

#include "graph/CanvasTypes.h"

#include <cstddef>
#include <vector>

namespace vantel {

// Fixed-capacity double-ended store of samples: constant-time append at the
// back, removal at the front and access by index. Memory grows with use up to
// the capacity, so idle traces stay small.
class SampleRing {
public:
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

private:
    std::size_t physical(std::size_t index) const
    {
        const std::size_t i = head_ + index;
        return i < buffer_.size() ? i : i - buffer_.size();
    }

    std::size_t capacity_;
    std::vector<LECanvasSample> buffer_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
};

} // namespace vantel
