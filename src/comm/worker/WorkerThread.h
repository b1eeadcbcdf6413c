#pragma once

#include "comm/worker/RequestQueue.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace vantel {

// One thread that serves queued requests in order. quit() lets it finish what
// was posted before and refuses what comes after; stop() and destruction
// also wait for it, so the thread never outlives what its handler uses
// (declare the worker after everything the handler touches, and never stop
// it from one of its own requests).
template <typename Request> class WorkerThread {
public:
    using Handler = std::function<void(Request&)>;

    explicit WorkerThread(Handler handler) : handler_(std::move(handler)), thread_([this] { run(); }) {}

    ~WorkerThread() { stop(); }

    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Never waits; false after quit().
    bool post(Request request) { return queue_.push(std::move(request)); }
    void quit() { queue_.close(); }
    // After quit(): waits at most `limit` for the thread to serve what was
    // posted before; true when it has (stop() then returns at once).
    bool finishWithin(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(finishMutex_);
        return finished_.wait_for(lock, limit, [this] { return done_; });
    }
    // Quits and waits until every request posted before has been served.
    void stop()
    {
        quit();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

private:
    void run()
    {
        while (auto request = queue_.pop()) {
            handler_(*request);
        }
        {
            std::lock_guard lock(finishMutex_);
            done_ = true;
        }
        finished_.notify_all();
    }

    Handler handler_;
    RequestQueue<Request> queue_;
    std::mutex finishMutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread thread_;
};

} // namespace vantel
