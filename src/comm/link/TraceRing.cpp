#include "comm/link/TraceRing.h"

#include <algorithm>

namespace vantel {

void TraceRing::record(const TraceRecord& record)
{
    const std::lock_guard lock(mutex_);
    if (capacity_ == 0) {
        ++dropped_;
        ++firstSerial_;
        return;
    }
    if (records_.size() == capacity_) {
        records_.pop_front();
        ++firstSerial_;
        ++dropped_;
    }
    records_.push_back(record);
}

TraceRing::Batch TraceRing::since(std::uint64_t from) const
{
    const std::lock_guard lock(mutex_);
    Batch batch;
    batch.dropped = dropped_;
    batch.next = firstSerial_ + records_.size();
    const std::uint64_t start = std::max(from, firstSerial_);
    if (start < batch.next)
        batch.records.assign(records_.begin() + static_cast<std::ptrdiff_t>(start - firstSerial_), records_.end());
    return batch;
}

void TraceRing::clear()
{
    const std::lock_guard lock(mutex_);
    firstSerial_ += records_.size();
    records_.clear();
    dropped_ = 0;
}

std::size_t TraceRing::size() const
{
    const std::lock_guard lock(mutex_);
    return records_.size();
}

std::uint64_t TraceRing::dropped() const
{
    const std::lock_guard lock(mutex_);
    return dropped_;
}

} // namespace vantel
