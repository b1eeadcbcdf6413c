#pragma once

#include "platform/Clock.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vantel {

// One timer thread for the periodic ticks of every panel of the process, in
// place of a thread per panel: a thread that wakes ten times a second costs
// as much as the work a tick posts. The ticks run on the timer thread itself,
// one after the other, so a tick added here must only look at its state and
// post work, never wait for a unit (such ticks keep a thread of their own,
// see Ticker).
//
// The ticks added one after another fall into different slots of their
// period (kPhaseSlots of them), so many panels never wake in the same
// millisecond and the thread wakes at most kPhaseSlots times a period. A tick
// never runs while it is still running; deadlines it overran are skipped,
// not made up in a burst.
//
// remove() returns once the tick is not running and never will again;
// called from inside the tick itself it cannot wait for itself, so it only
// stops later runs (a remove() from another thread afterwards waits for the
// tick in progress).
//
// The deadlines are in the clock's milliseconds: a test's manual clock moves
// them exactly (the scheduler wakes at each jump).
class TickScheduler {
public:
    using Tick = std::function<void()>;
    using TickId = std::uint64_t;
    static constexpr int kPhaseSlots = 10;

    explicit TickScheduler(Clock& clock);
    // Finishes the tick in progress; remove every tick before.
    ~TickScheduler();
    TickScheduler(const TickScheduler&) = delete;
    TickScheduler& operator=(const TickScheduler&) = delete;

    // The first run is at least one period away, in the tick's slot: the
    // n-th tick added runs (3 n mod kPhaseSlots) tenths of the period into it.
    TickId add(Tick tick, std::chrono::milliseconds period);
    void remove(TickId id);
    // Ticks added and not yet removed.
    std::size_t tickCount() const;

    // The scheduler of the process, on the steady clock.
    static TickScheduler& Shared();

private:
    struct Entry {
        Tick tick;
        std::int64_t periodMs = 0;
        std::int64_t deadlineMs = 0;
        bool removed = false;
    };

    void runTimer();
    // With mutex_ held: the due ticks in the order of their deadlines, each
    // moved on past `nowMs`.
    std::vector<TickId> takeDue(std::int64_t nowMs);
    // With mutex_ held, after a run from `startMs` to `endMs`: a tick that
    // overran its own next deadline skips it instead of running again at once.
    static void skipDeadlinesOverrun(Entry& entry, std::int64_t startMs, std::int64_t endMs);
    std::int64_t nextDeadline() const;

    Clock& clock_;
    mutable std::mutex mutex_;
    std::condition_variable timerWake_;
    std::condition_variable tickEnded_;
    std::map<TickId, std::shared_ptr<Entry>> entries_;
    const std::int64_t epochMs_;
    TickId nextId_ = 1;
    TickId running_ = 0; // the tick in progress on the timer thread, 0: none
    bool stopping_ = false;
    int jumpListener_ = 0;
    std::thread timer_; // last: started once the rest exists
};

} // namespace vantel
