#include "LineStamps.h"

namespace vantel::bench {

LocalDateTime LineStamps::now() const
{
    {
        const std::lock_guard guard(mutex_);
        stamps_.push_back(Clock::now());
    }
    return SystemLocalTime::instance().now();
}

std::vector<LineStamps::Clock::time_point> LineStamps::stamps() const
{
    const std::lock_guard guard(mutex_);
    return stamps_;
}

TickCount CountTicks(const std::vector<LineStamps::Clock::time_point>& stamps, LineStamps::Clock::time_point from,
                     LineStamps::Clock::time_point to, std::chrono::milliseconds period,
                     std::chrono::milliseconds slack)
{
    TickCount count;
    count.expected = static_cast<long>((to - from) / period);
    auto previous = from;
    for (const auto stamp : stamps) {
        if (stamp <= from || stamp > to)
            continue;
        ++count.logged;
        if (stamp - previous > period + slack)
            ++count.late;
        previous = stamp;
    }
    count.missed = count.expected > count.logged ? count.expected - count.logged : 0;
    return count;
}

} // namespace vantel::bench
