#include "comm/link/TraceHub.h"

#include <chrono>
#include <utility>
#include <vector>

namespace vantel {

namespace {

// Several sinks at once (the window open while --trace writes a file).
class TraceFanOut final : public TraceSink {
public:
    explicit TraceFanOut(std::vector<std::shared_ptr<TraceSink>> sinks) : sinks_(std::move(sinks)) {}
    void record(const TraceRecord& record) override
    {
        for (const auto& sink : sinks_)
            sink->record(record);
    }

private:
    const std::vector<std::shared_ptr<TraceSink>> sinks_;
};

} // namespace

std::int64_t SystemWallMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

TraceHub& TraceHub::process()
{
    static TraceHub hub;
    return hub;
}

int TraceHub::attach(std::shared_ptr<TraceSink> sink)
{
    const std::lock_guard lock(mutex_);
    const int id = nextId_++;
    sinks_.emplace(id, std::move(sink));
    rebuild();
    return id;
}

void TraceHub::detach(int id)
{
    const std::lock_guard lock(mutex_);
    if (sinks_.erase(id) > 0)
        rebuild();
}

void TraceHub::setWallClock(WallClock clock)
{
    const std::lock_guard lock(mutex_);
    wallClock_ = std::move(clock);
    rebuild();
}

TraceTarget TraceHub::target() const
{
    const std::lock_guard lock(mutex_);
    return target_;
}

void TraceHub::rebuild()
{
    target_.wallMs = wallClock_ ? wallClock_ : WallClock(SystemWallMs);
    if (sinks_.empty()) {
        target_.sink.reset();
    } else if (sinks_.size() == 1) {
        target_.sink = sinks_.begin()->second;
    } else {
        std::vector<std::shared_ptr<TraceSink>> all;
        for (const auto& [id, sink] : sinks_)
            all.push_back(sink);
        target_.sink = std::make_shared<TraceFanOut>(std::move(all));
    }
    generation_.fetch_add(1, std::memory_order_acq_rel);
}

} // namespace vantel
