#include "logging/OutboundQueue.h"

namespace vantel {

void OutboundQueue::push(OutboundMessage message)
{
    if (messages_.size() >= limit_) {
        messages_.pop_front();
        ++dropped_;
    }
    messages_.push_back(std::move(message));
}

std::optional<OutboundMessage> OutboundQueue::pop()
{
    if (messages_.empty())
        return std::nullopt;
    OutboundMessage front = std::move(messages_.front());
    messages_.pop_front();
    return front;
}

void OutboundQueue::putBack(OutboundMessage message)
{
    messages_.push_front(std::move(message));
}

} // namespace vantel
