#include "graph/SampleRing.h"

#include <algorithm>
#include <limits>

namespace vantel {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// NaN fails both comparisons, infinities fail one each: only finite values count.
void include(double value, std::size_t at, double& lowest, std::size_t& lowestAt, double& highest,
             std::size_t& highestAt)
{
    if (value < lowest && value > -kInf) {
        lowest = value;
        lowestAt = at;
    }
    if (value > highest && value < kInf) {
        highest = value;
        highestAt = at;
    }
}

} // namespace

void SampleRing::noteWritten(std::size_t slot)
{
    const std::size_t block = slot / kBlock;
    if (block >= blocks_.size())
        blocks_.resize(block + 1);
    BlockExtremes& extremes = blocks_[block];
    if (slot % kBlock == 0)
        extremes = {kInf, -kInf, slot, slot};
    include(buffer_[slot].value, slot, extremes.lowest, extremes.lowestAt, extremes.highest, extremes.highestAt);
}

void SampleRing::pushBack(const LECanvasSample& sample)
{
    if (size_ == capacity_)
        return;
    if (size_ == buffer_.size()) {
        if (head_ != 0) {
            // Grow: make the stored run contiguous first so push_back keeps
            // the order; the block extremes follow the slots they describe.
            std::rotate(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(head_), buffer_.end());
            head_ = 0;
            for (std::size_t slot = 0; slot < buffer_.size(); ++slot)
                noteWritten(slot);
        }
        buffer_.push_back(sample);
        noteWritten(buffer_.size() - 1);
    } else {
        const std::size_t slot = physical(size_);
        buffer_[slot] = sample;
        noteWritten(slot);
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
    blocks_.clear();
    blocks_.shrink_to_fit();
    head_ = 0;
    size_ = 0;
}

void SampleRing::reserve(std::size_t count)
{
    count = std::min(count, capacity_);
    buffer_.reserve(count);
    blocks_.reserve((count + kBlock - 1) / kBlock);
}

std::size_t SampleRing::blockStartAtOrAfter(std::size_t index) const
{
    if (index >= size_)
        return index;
    const std::size_t slot = physical(index);
    const std::size_t toBlock = (kBlock - slot % kBlock) % kBlock;
    // The wrap of the store starts a block too.
    return index + std::min(toBlock, buffer_.size() - slot);
}

void SampleRing::scanRun(std::size_t begin, std::size_t end, BlockExtremes& found) const
{
    std::size_t slot = begin;
    const auto visit = [&](std::size_t until) {
        for (; slot < until; ++slot)
            include(buffer_[slot].value, slot, found.lowest, found.lowestAt, found.highest, found.highestAt);
    };
    visit(std::min(end, (begin + kBlock - 1) / kBlock * kBlock));
    for (; slot + kBlock <= end; slot += kBlock) {
        const BlockExtremes& block = blocks_[slot / kBlock];
        if (block.lowest < found.lowest) {
            found.lowest = block.lowest;
            found.lowestAt = block.lowestAt;
        }
        if (block.highest > found.highest) {
            found.highest = block.highest;
            found.highestAt = block.highestAt;
        }
    }
    visit(end);
}

std::optional<ExtremeIndices> SampleRing::extremes(std::size_t first, std::size_t last) const
{
    BlockExtremes found{kInf, -kInf, 0, 0};
    const std::size_t begin = physical(first);
    const std::size_t count = last - first + 1;
    const std::size_t untilWrap = buffer_.size() - begin;
    if (count <= untilWrap) {
        scanRun(begin, begin + count, found);
    } else {
        scanRun(begin, buffer_.size(), found);
        scanRun(0, count - untilWrap, found);
    }
    if (found.lowest == kInf)
        return std::nullopt;
    return ExtremeIndices{logical(found.lowestAt), logical(found.highestAt)};
}

} // namespace vantel
