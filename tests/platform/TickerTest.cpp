#include "platform/Ticker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace vantel {
namespace {

using namespace std::chrono_literals;

// Counts ticks and lets the test wait for a number of them without
// assuming how long they take.
class TickCounter {
public:
    void tick()
    {
        if (inTick_.exchange(true))
            overlapped_ = true;
        {
            const std::lock_guard lock(mutex_);
            ++count_;
        }
        changed_.notify_all();
        inTick_ = false;
    }
    bool waitFor(int count)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 30s, [&] { return count_ >= count; });
    }
    int count()
    {
        const std::lock_guard lock(mutex_);
        return count_;
    }
    bool overlapped() const { return overlapped_.load(); }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
    std::atomic<bool> inTick_{false};
    std::atomic<bool> overlapped_{false};
};

TEST(Ticker, ManualModeTicksOnlyWhenToldAndOnlyWhileRunning)
{
    Ticker ticker(Ticker::Mode::Manual);
    int ticks = 0;
    EXPECT_FALSE(ticker.tickNow()) << "not started";
    ticker.start([&] { ++ticks; });
    EXPECT_TRUE(ticker.running());
    EXPECT_TRUE(ticker.tickNow());
    EXPECT_TRUE(ticker.tickNow());
    ticker.stop();
    EXPECT_FALSE(ticker.tickNow());
    ticker.start([&] { ++ticks; });
    EXPECT_FALSE(ticker.running()) << "a stopped ticker does not start again";
    EXPECT_EQ(ticks, 2);
}

// The same rules on the shared tick thread and on a thread of the ticker's own.
class ThreadTicker : public ::testing::TestWithParam<Ticker::Waits> {};

INSTANTIATE_TEST_SUITE_P(Ticker, ThreadTicker, ::testing::Values(Ticker::Waits::Never, Ticker::Waits::MayWait),
                         [](const auto& param) {
                             return param.param == Ticker::Waits::Never ? "Shared" : "OwnThread";
                         });

TEST_P(ThreadTicker, TicksUntilStoppedAndNeverAfter)
{
    TickCounter counter;
    Ticker ticker;
    ticker.start([&] { counter.tick(); }, 1ms, GetParam());
    ASSERT_TRUE(counter.waitFor(20));
    ticker.stop();
    const int atStop = counter.count();
    ticker.stop(); // twice is harmless
    EXPECT_EQ(counter.count(), atStop);
    EXPECT_FALSE(counter.overlapped());
}

TEST_P(ThreadTicker, SlowTicksNeverOverlap)
{
    TickCounter counter;
    Ticker ticker;
    ticker.start(
        [&] {
            counter.tick();
            std::this_thread::sleep_for(3ms); // longer than the period
        },
        1ms, GetParam());
    ASSERT_TRUE(counter.waitFor(5));
    ticker.stop();
    EXPECT_FALSE(counter.overlapped());
}

TEST_P(ThreadTicker, StopFromInsideTheTickEndsTheTickingAfterThatTick)
{
    TickCounter counter;
    Ticker ticker;
    ticker.start(
        [&] {
            counter.tick();
            ticker.stop();
        },
        1ms, GetParam());
    ASSERT_TRUE(counter.waitFor(1));
    ticker.stop(); // joins
    EXPECT_EQ(counter.count(), 1);
    EXPECT_FALSE(ticker.running());
}

TEST_P(ThreadTicker, StopsPromptlyWithALongPeriod)
{
    // Would hang the test for an hour if stop() waited for the deadline.
    Ticker ticker;
    ticker.start([] {}, std::chrono::hours(1), GetParam());
    ticker.stop();
    EXPECT_FALSE(ticker.running());
}

TEST(Ticker, ATickThatWaitsHoldsUpNoTickOnTheSharedThread)
{
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;
    Ticker waiting;
    waiting.start(
        [&] {
            std::unique_lock lock(mutex);
            entered = true;
            changed.notify_all();
            changed.wait(lock, [&] { return released; });
        },
        1ms, Ticker::Waits::MayWait);
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 30s, [&] { return entered; }));
    }
    TickCounter shared;
    Ticker brief;
    brief.start([&] { shared.tick(); }, 1ms);
    EXPECT_TRUE(shared.waitFor(5));
    brief.stop();
    {
        const std::lock_guard lock(mutex);
        released = true;
    }
    changed.notify_all();
    waiting.stop();
}

} // namespace
} // namespace vantel
