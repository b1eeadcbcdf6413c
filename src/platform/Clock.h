#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

namespace vantel {

// Milliseconds since an arbitrary start, like the tick count the original
// program used. Injected so deadlines and waves are testable without waiting.
class Clock {
public:
    using JumpListener = std::function<void()>;

    virtual ~Clock() = default;
    virtual std::int64_t nowMs() const = 0;

    // A clock that jumps instead of flowing (the manual clock of tests) calls
    // every listener after each jump, so a thread waiting for a deadline on a
    // condition variable can look at the time again. The real clock flows by
    // itself and never calls them: waiters use timed waits. Listeners run on
    // the thread that moves the clock and must not move it themselves.
    // removeJumpListener() returns once a call in progress has finished.
    virtual int addJumpListener(JumpListener /*listener*/) { return 0; }
    virtual void removeJumpListener(int /*id*/) {}
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
    void advance(std::int64_t ms);
    void set(std::int64_t ms);

    int addJumpListener(JumpListener listener) override;
    void removeJumpListener(int id) override;

private:
    void jumped();

    std::atomic<std::int64_t> now_;
    std::mutex listenersMutex_;
    std::map<int, JumpListener> listeners_;
    int nextListenerId_ = 1;
};

} // namespace vantel
