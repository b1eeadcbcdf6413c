#pragma once

#include "platform/Clock.h"

#include <atomic>
#include <cstdint>

namespace vantel {

// Watches for a unit that stopped answering: the first command after the
// unit's last frame marks the moment it was sent, every frame of the unit
// clears it, and the tick asks whether a reply is overdue. Later commands
// do not move the mark: a unit polled more often than its time-out would
// otherwise never be found silent. Any thread may call it.
class ReplyWatchdog {
public:
    ReplyWatchdog(const Clock& clock, int timeoutSeconds)
        : clock_(clock), timeoutMs_(static_cast<std::int64_t>(timeoutSeconds) * 1000)
    {
    }

    // Just before a command goes out.
    void sent()
    {
        std::int64_t nothing = kNothingOutstanding;
        lastSent_.compare_exchange_strong(nothing, clock_.nowMs());
    }
    // A frame of the unit arrived.
    void answered() { lastSent_ = kNothingOutstanding; }
    bool outstanding() const { return lastSent_.load() != kNothingOutstanding; }

    // True once the oldest unanswered command has waited longer than the
    // time-out; it then counts as given up until the next command is sent.
    bool overdue()
    {
        std::int64_t sentAt = lastSent_.load();
        if (sentAt == kNothingOutstanding || clock_.nowMs() <= sentAt + timeoutMs_)
            return false;
        // A reply that came in meanwhile wins.
        return lastSent_.compare_exchange_strong(sentAt, kNothingOutstanding);
    }

private:
    static constexpr std::int64_t kNothingOutstanding = -1;

    const Clock& clock_;
    const std::int64_t timeoutMs_;
    std::atomic<std::int64_t> lastSent_{kNothingOutstanding};
};

} // namespace vantel
