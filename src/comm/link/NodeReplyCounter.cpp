#include "comm/link/NodeReplyCounter.h"

#include "platform/Clock.h"

#include <chrono>
#include <stdexcept>

namespace vantel {

NodeReplyCounter::NodeReplyCounter(Clock& clock) : clock_(clock)
{
    jumpListener_ = clock_.addJumpListener([this] {
        {
            const std::lock_guard lock(mutex_);
        }
        changed_.notify_all();
    });
}

NodeReplyCounter::~NodeReplyCounter()
{
    clock_.removeJumpListener(jumpListener_);
}

void NodeReplyCounter::checkNode(int node) const
{
    if (node < 0 || node >= kGatewayNodeCount)
        throw std::out_of_range("gateway node must be 0-254");
}

void NodeReplyCounter::sent(int node)
{
    checkNode(node);
    const std::lock_guard lock(mutex_);
    ++pending_[node];
}

void NodeReplyCounter::unsent(int node)
{
    answered(node);
}

void NodeReplyCounter::answered(int node)
{
    checkNode(node);
    {
        const std::lock_guard lock(mutex_);
        if (pending_[node] > 0)
            --pending_[node];
    }
    changed_.notify_all();
}

int NodeReplyCounter::pending(int node) const
{
    checkNode(node);
    const std::lock_guard lock(mutex_);
    return pending_[node];
}

void NodeReplyCounter::forget(int node)
{
    checkNode(node);
    {
        const std::lock_guard lock(mutex_);
        pending_[node] = 0;
    }
    changed_.notify_all();
}

void NodeReplyCounter::resetAll()
{
    const std::lock_guard lock(mutex_);
    pending_.fill(0);
    cancelled_ = false;
}

void NodeReplyCounter::cancelAll()
{
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
}

ReplyWait NodeReplyCounter::wait(int node, std::int64_t timeoutMs, std::stop_token stop)
{
    checkNode(node);
    std::unique_lock lock(mutex_);
    const std::int64_t deadline = clock_.nowMs() + timeoutMs;
    for (;;) {
        if (pending_[node] <= 0)
            return ReplyWait::Answered;
        if (stop.stop_requested() || cancelled_) {
            pending_[node] = 0;
            return ReplyWait::Cancelled;
        }
        const std::int64_t left = deadline - clock_.nowMs();
        if (left <= 0) {
            pending_[node] = 0;
            return ReplyWait::TimedOut;
        }
        // A manual clock does not flow: its jumps wake this wait instead.
        changed_.wait_for(lock, stop, std::chrono::milliseconds(left),
                          [&] { return pending_[node] <= 0 || cancelled_ || clock_.nowMs() >= deadline; });
    }
}

} // namespace vantel
