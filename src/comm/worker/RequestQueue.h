#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace vantel {

// A blocking first-in first-out queue of requests held by value. Closing it
// keeps what was queued before and refuses everything after.
template <typename Request> class RequestQueue {
public:
    // False once the queue is closed; the request is then dropped.
    bool push(Request request)
    {
        {
            std::lock_guard lock(mutex_);
            if (closed_) {
                return false;
            }
            items_.push_back(std::move(request));
        }
        ready_.notify_one();
        return true;
    }

    // Waits for the next request; nothing once the queue is closed and empty.
    std::optional<Request> pop()
    {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return closed_ || !items_.empty(); });
        if (items_.empty()) {
            return std::nullopt;
        }
        Request next = std::move(items_.front());
        items_.pop_front();
        return next;
    }

    void close()
    {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
        }
        ready_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Request> items_;
    bool closed_ = false;
};

} // namespace vantel
