#pragma once

#include "comm/link/TraceSink.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace vantel {

// What a traced link records into: the sink and the wall clock that stamps
// the records. No sink means tracing is off.
struct TraceTarget {
    std::shared_ptr<TraceSink> sink;
    std::function<std::int64_t()> wallMs;

    explicit operator bool() const { return sink != nullptr; }
};

// The process's trace switch: the sinks attached now (the window's ring while
// it is open, the --trace file). Links look at generation() before each
// exchange, one atomic load, and put their tracing decorator in place or take
// it away when it changed; with no sink attached nothing is decorated.
class TraceHub {
public:
    using WallClock = std::function<std::int64_t()>;

    static TraceHub& process();

    // Records go to `sink` until detach() with the returned id.
    int attach(std::shared_ptr<TraceSink> sink);
    void detach(int id);

    std::uint64_t generation() const { return generation_.load(std::memory_order_acquire); }
    // Every attached sink behind one, or an empty target when none is.
    TraceTarget target() const;

    // Milliseconds since 1970 UTC by default; tests put a clock of their own.
    void setWallClock(WallClock clock);

private:
    void rebuild();

    mutable std::mutex mutex_;
    std::map<int, std::shared_ptr<TraceSink>> sinks_;
    int nextId_ = 1;
    TraceTarget target_;
    WallClock wallClock_;
    std::atomic<std::uint64_t> generation_{0};
};

std::int64_t SystemWallMs();

} // namespace vantel
