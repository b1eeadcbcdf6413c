#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vantel {

// Calls a function periodically (100 ms unless told otherwise) on a thread of
// its own, on steady-clock deadlines so the period does not drift. A tick
// that overruns skips the deadlines it missed instead of bursting to catch
// up, and a tick never runs while the previous one is still running.
//
// stop() ends the thread and waits for it; after it returns no tick runs. It
// may be called from any thread; called from inside a tick it cannot wait for
// itself, so it only asks the thread to end after that tick (a later stop()
// from another thread then joins it).
//
// In manual mode no thread is started: tickNow() runs one tick on the
// caller's thread, which lets tests step time exactly.
class Ticker {
public:
    enum class Mode { Thread, Manual };
    using Tick = std::function<void()>;
    static constexpr std::chrono::milliseconds kDefaultPeriod{100};

    explicit Ticker(Mode mode = Mode::Thread) : mode_(mode) {}
    ~Ticker() { stop(); }
    Ticker(const Ticker&) = delete;
    Ticker& operator=(const Ticker&) = delete;

    // Starts ticking; ignored while already running or after stop().
    void start(Tick tick, std::chrono::milliseconds period = kDefaultPeriod);
    void stop();
    bool running() const;
    Mode mode() const { return mode_; }

    // Manual mode: one tick now, unless stopped or never started. False when
    // nothing ran.
    bool tickNow();

private:
    void run(std::chrono::milliseconds period);

    const Mode mode_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    Tick tick_;
    bool started_ = false;
    bool stopRequested_ = false;
    std::thread thread_;
};

} // namespace vantel
