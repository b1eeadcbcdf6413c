#pragma once

#include "platform/Clock.h"

#include <atomic>
#include <cstdint>

namespace vantel {

// Watches for a unit that stopped answering: every command marks the moment
// it was sent, every frame of the unit clears it, and the tick asks whether
// the reply is overdue. Any thread may call it.
class ReplyWatchdog {
public:
    ReplyWatchdog(const Clock& clock, int timeoutSeconds)
        : clock_(clock), timeoutMs_(static_cast<std::int64_t>(timeoutSeconds) * 1000)
    {
    }

    // Just before a command goes out.
    void sent() { lastSent_ = clock_.nowMs(); }
    // A frame of the unit arrived.
    void answered() { lastSent_ = kNothingOutstanding; }
    bool outstanding() const { return lastSent_.load() != kNothingOutstanding; }

    // True once the reply to the last command is later than the time-out;
    // it then counts as given up until the next command is sent.
    bool overdue()
    {
        std::int64_t sentAt = lastSent_.load();
        if (sentAt == kNothingOutstanding || clock_.nowMs() <= sentAt + timeoutMs_)
            return false;
        // A reply or a new command that came in meanwhile wins.
        return lastSent_.compare_exchange_strong(sentAt, kNothingOutstanding);
    }

private:
    static constexpr std::int64_t kNothingOutstanding = -1;

    const Clock& clock_;
    const std::int64_t timeoutMs_;
    std::atomic<std::int64_t> lastSent_{kNothingOutstanding};
};

} // namespace vantel
