#include "platform/TickScheduler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace vantel {
namespace {

using namespace std::chrono_literals;

// Records the clock time of every run of one tick; the test waits for a
// number of runs without assuming how long they take.
class RunLog {
public:
    explicit RunLog(const Clock& clock) : clock_(clock) {}
    void ran()
    {
        {
            const std::lock_guard lock(mutex_);
            times_.push_back(clock_.nowMs());
        }
        changed_.notify_all();
    }
    // `limit` is a safety net or, between steps of the clock, a pace: never
    // a timing requirement.
    bool waitFor(std::size_t runs, std::chrono::milliseconds limit = 30s)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return times_.size() >= runs; });
    }
    std::vector<std::int64_t> times()
    {
        const std::lock_guard lock(mutex_);
        return times_;
    }

private:
    const Clock& clock_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::int64_t> times_;
};

// Holds a tick until the test lets it go.
class Gate {
public:
    void enterAndWait()
    {
        std::unique_lock lock(mutex_);
        entered_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    bool waitUntilEntered()
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 30s, [this] { return entered_; });
    }
    void open()
    {
        {
            const std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool open_ = false;
};

// Removes `id` from another thread while its tick is held at `gate`, then
// lets the tick go: true when remove() returned only once the tick had ended.
bool RemoveReturnsOnlyAfterTheHeldTick(TickScheduler& scheduler, TickScheduler::TickId id, Gate& gate,
                                       const std::atomic<bool>& tickEnded)
{
    std::atomic<bool> endedWhenRemoved{false};
    std::thread remover([&] {
        scheduler.remove(id);
        endedWhenRemoved = tickEnded.load();
    });
    gate.open();
    remover.join();
    return endedWhenRemoved.load();
}

class TickSchedulerTest : public ::testing::Test {
protected:
    ManualClock clock;
    TickScheduler scheduler{clock};
};

TEST_F(TickSchedulerTest, TicksAddedTogetherRunAtPhasesOfTheirOwn)
{
    RunLog first(clock), second(clock), third(clock);
    const auto a = scheduler.add([&] { first.ran(); }, 100ms);
    const auto b = scheduler.add([&] { second.ran(); }, 100ms);
    const auto c = scheduler.add([&] { third.ran(); }, 100ms);
    // Slots 0, 3 and 6 of ten, each at least one period after the start:
    // the clock moves a millisecond at a time and each first run comes
    // exactly at its own deadline, never together with another.
    for (int ms = 1; ms < 200; ++ms) {
        clock.set(ms);
        if (ms == 100) {
            ASSERT_TRUE(first.waitFor(1));
        } else if (ms == 130) {
            ASSERT_TRUE(second.waitFor(1));
        } else if (ms == 160) {
            ASSERT_TRUE(third.waitFor(1));
        }
    }
    scheduler.remove(a);
    scheduler.remove(b);
    scheduler.remove(c);
    EXPECT_EQ(first.times(), (std::vector<std::int64_t>{100}));
    EXPECT_EQ(second.times(), (std::vector<std::int64_t>{130}));
    EXPECT_EQ(third.times(), (std::vector<std::int64_t>{160}));
}

TEST_F(TickSchedulerTest, AnOverrunSkipsTheMissedDeadlinesInsteadOfBursting)
{
    Gate gate;
    RunLog runs(clock);
    std::atomic<bool> first{true};
    const auto id = scheduler.add(
        [&] {
            runs.ran();
            if (first.exchange(false))
                gate.enterAndWait();
        },
        100ms);
    clock.set(100);
    ASSERT_TRUE(gate.waitUntilEntered());
    for (int ms = 200; ms <= 550; ms += 50)
        clock.set(ms); // five deadlines pass while the first tick hangs
    gate.open();
    // Time moves on a period at a time until two more runs came, however
    // long the hung tick takes to end.
    std::size_t steps = 0;
    for (std::int64_t ms = 600; runs.times().size() < 3 && steps < 3000; ms += 100, ++steps) {
        clock.set(ms);
        runs.waitFor(runs.times().size() + 1, 100ms);
    }
    scheduler.remove(id);
    const auto times = runs.times();
    ASSERT_GE(times.size(), 3U);
    EXPECT_EQ(times[0], 100);
    // At most one run per deadline after the hang: none to make up for the
    // deadlines the hung tick let pass.
    EXPECT_LE(times.size() - 1, steps);
}

TEST_F(TickSchedulerTest, RemoveWaitsForTheTickInProgressAndNoRunFollows)
{
    Gate gate;
    std::atomic<int> runs{0};
    std::atomic<bool> tickEnded{false};
    const auto id = scheduler.add(
        [&] {
            ++runs;
            gate.enterAndWait();
            tickEnded = true;
        },
        100ms);
    clock.set(100);
    ASSERT_TRUE(gate.waitUntilEntered());
    EXPECT_TRUE(RemoveReturnsOnlyAfterTheHeldTick(scheduler, id, gate, tickEnded));
    clock.set(1000);
    EXPECT_EQ(runs.load(), 1);
    EXPECT_EQ(scheduler.tickCount(), 0U);
}

TEST_F(TickSchedulerTest, RemoveFromInsideTheTickStopsLaterRunsAndALaterRemoveWaitsForIt)
{
    Gate gate;
    std::atomic<int> runs{0};
    std::atomic<bool> tickEnded{false};
    TickScheduler::TickId id = 0;
    std::mutex idMutex;
    {
        const std::lock_guard lock(idMutex);
        id = scheduler.add(
            [&] {
                ++runs;
                {
                    const std::lock_guard idLock(idMutex);
                    scheduler.remove(id); // returns at once
                }
                gate.enterAndWait();
                tickEnded = true;
            },
            100ms);
    }
    clock.set(100);
    ASSERT_TRUE(gate.waitUntilEntered());
    EXPECT_EQ(scheduler.tickCount(), 0U);
    EXPECT_TRUE(RemoveReturnsOnlyAfterTheHeldTick(scheduler, id, gate, tickEnded));
    clock.set(500);
    EXPECT_EQ(runs.load(), 1);
}

TEST_F(TickSchedulerTest, ATickRemovedByAnEarlierTickOfTheSameRoundDoesNotRun)
{
    // Both are due at the same deadline; the first to run closes the other,
    // as a container's tick may close one of its pages.
    std::atomic<int> secondRuns{0};
    RunLog firstRuns(clock);
    TickScheduler::TickId second = 0;
    std::mutex idMutex;
    TickScheduler::TickId first = 0;
    {
        const std::lock_guard lock(idMutex);
        first = scheduler.add(
            [&] {
                {
                    const std::lock_guard idLock(idMutex);
                    scheduler.remove(second);
                }
                firstRuns.ran();
            },
            100ms);
        for (int filler = 1; filler < TickScheduler::kPhaseSlots; ++filler)
            scheduler.remove(scheduler.add([] {}, 100ms)); // the next add lands in slot 0 again
        second = scheduler.add([&] { ++secondRuns; }, 100ms);
    }
    clock.set(100);
    const bool ranAtTheirDeadline = firstRuns.waitFor(1);
    // Then a period at a time until the first ran again: a deadline that
    // passes while it is still ending is skipped.
    for (std::int64_t ms = 200, steps = 0; firstRuns.times().size() < 2 && steps < 3000; ms += 100, ++steps) {
        clock.set(ms);
        firstRuns.waitFor(2, 100ms);
    }
    scheduler.remove(first);
    EXPECT_TRUE(ranAtTheirDeadline);
    EXPECT_GE(firstRuns.times().size(), 2U);
    EXPECT_EQ(secondRuns.load(), 0);
    EXPECT_EQ(scheduler.tickCount(), 0U);
}

} // namespace
} // namespace vantel
