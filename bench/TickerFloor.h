#pragma once

#include "CpuUsage.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vantel::bench {

// One bare 100 ms timer: a thread of its own waiting for steady-clock
// deadlines and ticking nothing, as a panel's tick thread once was.
class BareTimer {
public:
    BareTimer()
        : thread_([this] {
              constexpr std::chrono::milliseconds kPeriod{100};
              auto deadline = std::chrono::steady_clock::now() + kPeriod;
              std::unique_lock lock(mutex_);
              while (!stopped_.wait_until(lock, deadline, [this] { return stopping_; }))
                  deadline += kPeriod;
          })
    {
    }
    ~BareTimer()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        stopped_.notify_all();
        thread_.join();
    }
    BareTimer(const BareTimer&) = delete;
    BareTimer& operator=(const BareTimer&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::thread thread_; // last: started once the rest exists
};

// The floor the figures are measured against: as many bare timers as units,
// for as long. It stays the same whatever the program's own ticking does.
// Returns their CPU time in seconds.
inline double BareTickerCpuSeconds(int count, std::chrono::seconds duration)
{
    std::vector<std::unique_ptr<BareTimer>> timers;
    const rusage before = OwnUsage();
    for (int i = 0; i < count; ++i)
        timers.push_back(std::make_unique<BareTimer>());
    std::this_thread::sleep_for(duration);
    timers.clear();
    return CpuSeconds(OwnUsage()) - CpuSeconds(before);
}

} // namespace vantel::bench
