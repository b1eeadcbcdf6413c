#include "platform/Ticker.h"

namespace vantel {

void Ticker::start(Tick tick, std::chrono::milliseconds period)
{
    const std::lock_guard lock(mutex_);
    if (started_ || stopRequested_)
        return;
    started_ = true;
    tick_ = std::move(tick);
    if (mode_ == Mode::Thread)
        thread_ = std::thread([this, period] { run(period); });
}

void Ticker::stop()
{
    {
        const std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

bool Ticker::running() const
{
    const std::lock_guard lock(mutex_);
    return started_ && !stopRequested_;
}

bool Ticker::tickNow()
{
    if (mode_ != Mode::Manual || !running())
        return false;
    tick_();
    return true;
}

void Ticker::run(std::chrono::milliseconds period)
{
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + period;
    std::unique_lock lock(mutex_);
    while (!wake_.wait_until(lock, deadline, [this] { return stopRequested_; })) {
        lock.unlock();
        tick_();
        lock.lock();
        deadline += period;
        const auto now = Clock::now();
        if (deadline <= now)
            deadline += period * ((now - deadline) / period + 1);
    }
}

} // namespace vantel
