#pragma once

#include <atomic>
#include <cstdint>

namespace vantel {

// Milliseconds since an arbitrary start, like the tick count the original
// program used. Injected so deadlines and waves are testable without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() const = 0;
};

class SteadyClock final : public Clock {
public:
    std::int64_t nowMs() const override;
    static SteadyClock& instance();
};

// A clock that only moves when a test says so.
class ManualClock final : public Clock {
public:
    explicit ManualClock(std::int64_t startMs = 0) : now_(startMs) {}
    std::int64_t nowMs() const override { return now_.load(); }
    void advance(std::int64_t ms) { now_ += ms; }
    void set(std::int64_t ms) { now_ = ms; }

private:
    std::atomic<std::int64_t> now_;
};

} // namespace vantel
