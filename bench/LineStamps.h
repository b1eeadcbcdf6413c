#pragma once

#include "logging/LocalTime.h"

#include <chrono>
#include <mutex>
#include <vector>

namespace vantel::bench {

// A panel's source of local time that also notes when it was asked. A panel
// asks once for every log line it writes, so with input polling at period 1
// the notes tell when each tick acted.
class LineStamps final : public LocalTimeSource {
public:
    using Clock = std::chrono::steady_clock;

    LocalDateTime now() const override;
    std::vector<Clock::time_point> stamps() const;

private:
    mutable std::mutex mutex_;
    mutable std::vector<Clock::time_point> stamps_;
};

// Ticks of one unit between `from` and `to` at one per `period`, judged by
// the stamps: those that never came, and those that came more than `slack`
// after the previous one was due.
struct TickCount {
    long expected = 0;
    long logged = 0;
    long missed = 0;
    long late = 0;
};
TickCount CountTicks(const std::vector<LineStamps::Clock::time_point>& stamps, LineStamps::Clock::time_point from,
                     LineStamps::Clock::time_point to, std::chrono::milliseconds period,
                     std::chrono::milliseconds slack);

} // namespace vantel::bench
