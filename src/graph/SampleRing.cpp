#include "graph/SampleRing.h"

#include <algorithm>

namespace vantel {

void SampleRing::pushBack(const LECanvasSample& sample)
{
    if (size_ == capacity_)
        return;
    if (size_ == buffer_.size()) {
        // Grow: make the stored run contiguous first so push_back keeps the order.
        std::rotate(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(head_), buffer_.end());
        head_ = 0;
        buffer_.push_back(sample);
    } else {
        buffer_[physical(size_)] = sample;
    }
    ++size_;
}

void SampleRing::popFront()
{
    if (size_ == 0)
        return;
    head_ = physical(1);
    --size_;
    if (size_ == 0)
        head_ = 0;
}

void SampleRing::clear()
{
    buffer_.clear();
    buffer_.shrink_to_fit();
    head_ = 0;
    size_ = 0;
}

} // namespace vantel
