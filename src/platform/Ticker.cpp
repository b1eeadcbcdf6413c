#include "platform/Ticker.h"

namespace vantel {

void Ticker::start(Tick tick, std::chrono::milliseconds period, Waits waits)
{
    const std::lock_guard lock(mutex_);
    if (started_ || stopRequested_)
        return;
    started_ = true;
    if (mode_ == Mode::Thread && waits == Waits::Never) {
        if (scheduler_ == nullptr)
            scheduler_ = &TickScheduler::Shared();
        scheduled_ = scheduler_->add(std::move(tick), period);
        return;
    }
    tick_ = std::move(tick);
    if (mode_ == Mode::Thread)
        thread_ = std::thread([this, period] { runOwnThread(period); });
}

void Ticker::stop()
{
    TickScheduler::TickId scheduled = 0;
    {
        const std::lock_guard lock(mutex_);
        stopRequested_ = true;
        scheduled = scheduled_;
    }
    wake_.notify_all();
    // Not under mutex_: the tick it may wait for can ask running().
    if (scheduled != 0)
        scheduler_->remove(scheduled);
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

void Ticker::runOwnThread(std::chrono::milliseconds period)
{
    using Steady = std::chrono::steady_clock;
    auto deadline = Steady::now() + period;
    std::unique_lock lock(mutex_);
    while (!wake_.wait_until(lock, deadline, [this] { return stopRequested_; })) {
        lock.unlock();
        tick_();
        lock.lock();
        deadline += period;
        const auto now = Steady::now();
        if (deadline <= now)
            deadline += period * ((now - deadline) / period + 1);
    }
}

} // namespace vantel
