#pragma once

#include "comm/protocol/GatewayFrame.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>

namespace vantel {

class Clock;

enum class ReplyWait { Answered, TimedOut, Cancelled };

// Replies still owed, counted per node: a wait ends when its own node's
// replies are in, whatever other nodes owe, and a time-out forgets only that
// node's count. Waits sleep on a condition variable, woken by replies, by the
// waiter's stop token, by cancelAll() and by jumps of a manual clock, so a
// test steps deadlines exactly and a closing panel is never kept waiting.
class NodeReplyCounter {
public:
    explicit NodeReplyCounter(Clock& clock);
    ~NodeReplyCounter();
    NodeReplyCounter(const NodeReplyCounter&) = delete;
    NodeReplyCounter& operator=(const NodeReplyCounter&) = delete;

    void sent(int node);
    // A send that failed owes nothing.
    void unsent(int node);
    // A late reply after a time-out never drives the count below 0, so it
    // cannot end the next wait before its own reply.
    void answered(int node);
    int pending(int node) const;
    // The node owes nothing any more (nobody is left to wait for it).
    void forget(int node);

    // Forgets every count and lets waits wait again (the link was opened).
    void resetAll();
    // Every wait, in progress or begun later, returns Cancelled until
    // resetAll() (the link is closing: a sender that sent just before the
    // close must not wait for a reply that cannot come).
    void cancelAll();

    // Until `node` owes nothing (Answered), `timeoutMs` has passed on the
    // clock (TimedOut; the node's count is forgotten) or `stop` is requested
    // or the waits are cancelled (Cancelled; the count is forgotten too: whoever
    // waited has gone).
    ReplyWait wait(int node, std::int64_t timeoutMs, std::stop_token stop = {});

private:
    void checkNode(int node) const;

    Clock& clock_;
    int jumpListener_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    std::array<int, kGatewayNodeCount> pending_{};
    bool cancelled_ = false;
};

} // namespace vantel
