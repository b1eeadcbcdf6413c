#pragma once

#include "platform/TickScheduler.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vantel {

// Calls a function periodically (100 ms unless told otherwise), on
// steady-clock deadlines so the period does not drift. A tick that overruns
// skips the deadlines it missed instead of bursting to catch up, and a tick
// never runs while the previous one is still running.
//
// A tick that only posts work and returns runs on the process's
// TickScheduler, beside every other such tick; one that may wait for a unit
// gets a thread of its own, so that it holds up no other tick.
//
// stop() returns once no tick runs and none will again. It may be called
// from any thread; called from inside a tick it cannot wait for itself, so
// it only stops the later ticks (a later stop() from another thread then
// waits for that tick to end).
//
// In manual mode nothing is scheduled: tickNow() runs one tick on the
// caller's thread, which lets tests step time exactly.
class Ticker {
public:
    enum class Mode { Thread, Manual };
    enum class Waits { Never, MayWait };
    using Tick = std::function<void()>;
    static constexpr std::chrono::milliseconds kDefaultPeriod{100};

    // `scheduler`: the process's own when none is given.
    explicit Ticker(Mode mode = Mode::Thread, TickScheduler* scheduler = nullptr) : mode_(mode), scheduler_(scheduler)
    {
    }
    ~Ticker() { stop(); }
    Ticker(const Ticker&) = delete;
    Ticker& operator=(const Ticker&) = delete;

    // Starts ticking; ignored while already running or after stop().
    void start(Tick tick, std::chrono::milliseconds period = kDefaultPeriod, Waits waits = Waits::Never);
    void stop();
    bool running() const;
    Mode mode() const { return mode_; }

    // Manual mode: one tick now, unless stopped or never started. False when
    // nothing ran.
    bool tickNow();

private:
    void runOwnThread(std::chrono::milliseconds period);

    const Mode mode_;
    TickScheduler* scheduler_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    Tick tick_; // manual mode and own thread
    bool started_ = false;
    bool stopRequested_ = false;
    TickScheduler::TickId scheduled_ = 0; // 0: not on the scheduler
    std::thread thread_;
};

} // namespace vantel
