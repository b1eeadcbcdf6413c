#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace vantel {

struct OutboundMessage {
    std::string topic;
    std::string payload;
    bool retained = false;
};

// The messages waiting for the broker, oldest first, at most `limit` of
// them: when full, the oldest goes to make room and is counted as dropped.
// Not locked: its owner guards it.
class OutboundQueue {
public:
    explicit OutboundQueue(std::size_t limit) : limit_(limit < 1 ? 1 : limit) {}

    void push(OutboundMessage message);
    std::optional<OutboundMessage> pop();
    // Puts back at the front what could not be handed on.
    void putBack(OutboundMessage message);

    bool empty() const { return messages_.empty(); }
    std::size_t size() const { return messages_.size(); }
    long dropped() const { return dropped_; }

private:
    std::size_t limit_;
    std::deque<OutboundMessage> messages_;
    long dropped_ = 0;
};

} // namespace vantel
