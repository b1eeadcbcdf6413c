#pragma once

#include "graph/LogLoader.h"

#include <atomic>
#include <functional>
#include <thread>

namespace vantel {

// Loads logs on a thread of its own. Both callbacks run on that thread; the
// last one called is `done`, unless the job is destroyed first, which cancels
// the load and waits for the thread.
class LogLoadJob {
public:
    LogLoadJob(LogLoadRequest request, LogLoadProgress progress, std::function<void(LogLoadOutcome)> done);
    ~LogLoadJob();
    LogLoadJob(const LogLoadJob&) = delete;
    LogLoadJob& operator=(const LogLoadJob&) = delete;

    void cancel() { cancel_.store(true); }

private:
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

} // namespace vantel
