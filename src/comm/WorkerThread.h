#pragma once

#include "comm/RequestQueue.h"

#include <functional>
#include <thread>
#include <utility>

namespace vantel {

// One thread that serves queued requests in order. quit() lets it finish what
// was posted before and refuses what comes after; destruction quits and
// joins, so the thread never outlives what its handler uses (declare the
// worker after everything the handler touches).
template <typename Request> class WorkerThread {
public:
    using Handler = std::function<void(Request&)>;

    explicit WorkerThread(Handler handler) : handler_(std::move(handler)), thread_([this] { run(); }) {}

    ~WorkerThread()
    {
        quit();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Never waits; false after quit().
    bool post(Request request) { return queue_.push(std::move(request)); }
    void quit() { queue_.close(); }

private:
    void run()
    {
        while (auto request = queue_.pop()) {
            handler_(*request);
        }
    }

    Handler handler_;
    RequestQueue<Request> queue_;
    std::thread thread_;
};

} // namespace vantel
