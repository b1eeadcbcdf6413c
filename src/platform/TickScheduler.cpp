#include "platform/TickScheduler.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace vantel {

namespace {

constexpr std::int64_t kNoDeadline = std::numeric_limits<std::int64_t>::max();
// Consecutive ticks land this many slots apart, so that units added in a row
// spread over the whole period (3 and 10 have no common divisor).
constexpr TickScheduler::TickId kSlotStride = 3;

// The first deadline at `phaseMs` into the period (counted from `epochMs`)
// that is at least one period after `nowMs`.
std::int64_t FirstDeadline(std::int64_t epochMs, std::int64_t phaseMs, std::int64_t periodMs, std::int64_t nowMs)
{
    const std::int64_t earliest = nowMs + periodMs;
    const std::int64_t sinceFirst = earliest - (epochMs + phaseMs);
    const std::int64_t periods = sinceFirst <= 0 ? 0 : (sinceFirst + periodMs - 1) / periodMs;
    return epochMs + phaseMs + periods * periodMs;
}

} // namespace

TickScheduler::TickScheduler(Clock& clock) : clock_(clock), epochMs_(clock.nowMs())
{
    jumpListener_ = clock_.addJumpListener([this] {
        const std::lock_guard lock(mutex_);
        timerWake_.notify_all();
    });
    timer_ = std::thread([this] { runTimer(); });
}

TickScheduler::~TickScheduler()
{
    clock_.removeJumpListener(jumpListener_);
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    timerWake_.notify_all();
    timer_.join();
}

TickScheduler& TickScheduler::Shared()
{
    // Made after the clock, so it goes before it.
    static TickScheduler scheduler(SteadyClock::instance());
    return scheduler;
}

TickScheduler::TickId TickScheduler::add(Tick tick, std::chrono::milliseconds period)
{
    const std::int64_t periodMs = std::max<std::int64_t>(1, period.count());
    auto entry = std::make_shared<Entry>();
    entry->tick = std::move(tick);
    entry->periodMs = periodMs;
    const std::lock_guard lock(mutex_);
    const TickId id = nextId_++;
    const auto slot = static_cast<std::int64_t>((id - 1) * kSlotStride % kPhaseSlots);
    entry->deadlineMs = FirstDeadline(epochMs_, slot * periodMs / kPhaseSlots, periodMs, clock_.nowMs());
    entries_.emplace(id, std::move(entry));
    timerWake_.notify_all();
    return id;
}

void TickScheduler::remove(TickId id)
{
    std::unique_lock lock(mutex_);
    const auto found = entries_.find(id);
    if (found == entries_.end())
        return;
    found->second->removed = true;
    if (running_ == id && std::this_thread::get_id() == timer_.get_id())
        return; // runTimer() lets it go once this tick ends
    tickEnded_.wait(lock, [&] { return running_ != id; });
    entries_.erase(id);
}

std::size_t TickScheduler::tickCount() const
{
    const std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const auto& entry) { return !entry.second->removed; }));
}

std::vector<TickScheduler::TickId> TickScheduler::takeDue(std::int64_t nowMs)
{
    std::vector<std::pair<std::int64_t, TickId>> due;
    for (const auto& [id, entry] : entries_) {
        if (entry->removed || entry->deadlineMs > nowMs)
            continue;
        due.emplace_back(entry->deadlineMs, id);
        const std::int64_t missed = (nowMs - entry->deadlineMs) / entry->periodMs;
        entry->deadlineMs += (missed + 1) * entry->periodMs;
    }
    std::sort(due.begin(), due.end());
    std::vector<TickId> ids;
    ids.reserve(due.size());
    for (const auto& [deadline, id] : due)
        ids.push_back(id);
    return ids;
}

void TickScheduler::skipDeadlinesOverrun(Entry& entry, std::int64_t startMs, std::int64_t endMs)
{
    // Only the deadlines that passed while the tick itself ran: one that came
    // while earlier ticks of the round ran is still due, late.
    if (entry.deadlineMs > startMs && entry.deadlineMs <= endMs)
        entry.deadlineMs += entry.periodMs * ((endMs - entry.deadlineMs) / entry.periodMs + 1);
}

std::int64_t TickScheduler::nextDeadline() const
{
    std::int64_t next = kNoDeadline;
    for (const auto& [id, entry] : entries_)
        if (!entry->removed)
            next = std::min(next, entry->deadlineMs);
    return next;
}

void TickScheduler::runTimer()
{
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        for (const TickId id : takeDue(clock_.nowMs())) {
            const auto found = entries_.find(id);
            // Removed by an earlier tick of this round.
            if (found == entries_.end() || found->second->removed)
                continue;
            const std::shared_ptr<Entry> entry = found->second;
            running_ = id;
            const std::int64_t startMs = clock_.nowMs();
            lock.unlock();
            entry->tick();
            lock.lock();
            running_ = 0;
            skipDeadlinesOverrun(*entry, startMs, clock_.nowMs());
            // Removed from inside its own tick: nobody else lets it go.
            if (entry->removed)
                entries_.erase(id);
            tickEnded_.notify_all();
        }
        const std::int64_t next = nextDeadline();
        const std::int64_t nowMs = clock_.nowMs();
        if (next == kNoDeadline)
            timerWake_.wait(lock);
        else if (next > nowMs)
            timerWake_.wait_for(lock, std::chrono::milliseconds(next - nowMs));
    }
}

} // namespace vantel
