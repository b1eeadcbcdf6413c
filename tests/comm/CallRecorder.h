#pragma once

#include "comm/worker/DigitalRequests.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace vantel::test {

// Collects the arguments of callbacks that arrive on a worker thread, each
// call as one `Call` built from them.
template <typename CallType> class Recorder {
public:
    using Call = CallType;

    template <typename... Values> void record(Values... values)
    {
        {
            std::lock_guard lock(mutex_);
            calls_.push_back(Call{std::move(values)...});
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

using CallRecorder = Recorder<std::vector<int>>;

// A reply as a plain call for comparing: its values, or no values at all when
// the request failed.
inline CallRecorder::Call ValuesOf(std::optional<int> bits)
{
    return bits ? CallRecorder::Call{*bits} : CallRecorder::Call{};
}

inline CallRecorder::Call ValuesOf(std::optional<int> bits, int extra)
{
    return bits ? CallRecorder::Call{*bits, extra} : CallRecorder::Call{};
}

inline CallRecorder::Call ValuesOf(const digital::InputsResult& read)
{
    const int* bits = std::get_if<int>(&read);
    return bits ? CallRecorder::Call{*bits} : CallRecorder::Call{};
}

} // namespace vantel::test
