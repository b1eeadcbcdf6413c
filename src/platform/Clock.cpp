#include "platform/Clock.h"

#include <chrono>
#include <utility>

namespace vantel {

std::int64_t SteadyClock::nowMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

SteadyClock& SteadyClock::instance()
{
    static SteadyClock clock;
    return clock;
}

void ManualClock::advance(std::int64_t ms)
{
    now_ += ms;
    jumped();
}

void ManualClock::set(std::int64_t ms)
{
    now_ = ms;
    jumped();
}

int ManualClock::addJumpListener(JumpListener listener)
{
    const std::lock_guard lock(listenersMutex_);
    const int id = nextListenerId_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void ManualClock::removeJumpListener(int id)
{
    const std::lock_guard lock(listenersMutex_);
    listeners_.erase(id);
}

void ManualClock::jumped()
{
    // Held while calling, so a listener being removed is never called after
    // its removal has returned.
    const std::lock_guard lock(listenersMutex_);
    for (const auto& [id, listener] : listeners_)
        listener();
}

} // namespace vantel
