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

TEST(Ticker, ThreadTicksUntilStoppedAndNeverAfter)
{
    TickCounter counter;
    Ticker ticker;
    ticker.start([&] { counter.tick(); }, 1ms);
    ASSERT_TRUE(counter.waitFor(20));
    ticker.stop();
    const int atStop = counter.count();
    ticker.stop(); // twice is harmless
    EXPECT_EQ(counter.count(), atStop);
    EXPECT_FALSE(counter.overlapped());
}

TEST(Ticker, SlowTicksNeverOverlap)
{
    TickCounter counter;
    Ticker ticker;
    ticker.start(
        [&] {
            counter.tick();
            std::this_thread::sleep_for(3ms); // longer than the period
        },
        1ms);
    ASSERT_TRUE(counter.waitFor(5));
    ticker.stop();
    EXPECT_FALSE(counter.overlapped());
}

TEST(Ticker, StopFromInsideTheTickEndsTheThreadAfterThatTick)
{
    TickCounter counter;
    Ticker ticker;
    ticker.start(
        [&] {
            counter.tick();
            ticker.stop();
        },
        1ms);
    ASSERT_TRUE(counter.waitFor(1));
    ticker.stop(); // joins
    EXPECT_EQ(counter.count(), 1);
    EXPECT_FALSE(ticker.running());
}

TEST(Ticker, StopsPromptlyWithALongPeriod)
{
    // Would hang the test for an hour if stop() waited for the deadline.
    Ticker ticker;
    ticker.start([] {}, std::chrono::hours(1));
    ticker.stop();
    EXPECT_FALSE(ticker.running());
}

} // namespace
} // namespace vantel
