#pragma once

#include <cstdint>

namespace vantel::ctl {

// How long a unit that failed waits before it is tried again: 1 s after the
// first failure, doubling with every failure in a row up to a minute, and
// back to 1 s once it has worked again. Times are Clock milliseconds.
class RetryBackOff {
public:
    static constexpr std::int64_t kFirstWaitMs = 1000;
    static constexpr std::int64_t kLongestWaitMs = 60000;

    // A failure at `nowMs`; returns the time of the next try.
    std::int64_t failedAt(std::int64_t nowMs);
    void succeeded() { nextWaitMs_ = kFirstWaitMs; }

private:
    std::int64_t nextWaitMs_ = kFirstWaitMs;
};

} // namespace vantel::ctl
