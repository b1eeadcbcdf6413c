#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

namespace vantel::test {

// Collects the arguments of callbacks that arrive on a worker thread.
class CallRecorder {
public:
    using Call = std::vector<int>;

    template <typename... Values> void record(Values... values)
    {
        {
            std::lock_guard lock(mutex_);
            calls_.push_back(Call{values...});
        }
        arrived_.notify_all();
    }

    // The calls so far once `count` have arrived; a safety net stops a broken
    // build from hanging, it is not a timing requirement.
    std::vector<Call> waitFor(std::size_t count)
    {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(20), [&] { return calls_.size() >= count; });
        return calls_;
    }

    std::vector<Call> calls()
    {
        std::lock_guard lock(mutex_);
        return calls_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Call> calls_;
};

} // namespace vantel::test
