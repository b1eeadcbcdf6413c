#include "panels/analog/SweepWave.h"

#include <algorithm>
#include <cmath>

namespace vantel {

namespace {

constexpr std::int64_t kTickMs = 100;

} // namespace

SweepStep SweepWaveAt(const SweepSettings& settings, std::int64_t cycleStartMs, std::int64_t nowMs)
{
    const std::int64_t rise = std::max(settings.t1, 0) * kTickMs;
    const std::int64_t fall = std::max(settings.t2, 0) * kTickMs;
    const std::int64_t peak = cycleStartMs + rise;
    const std::int64_t end = peak + fall;
    if (end < nowMs)
        return {std::nullopt, nowMs};
    // A clock read before the cycle start counts as the start.
    const std::int64_t now = std::max(nowMs, cycleStartMs);
    double toward = 1; // share of the way from V1 to V2; V2 at the top of an empty part
    if (now < peak)
        toward = static_cast<double>(now - cycleStartMs) / static_cast<double>(rise);
    else if (fall > 0)
        toward = static_cast<double>(end - now) / static_cast<double>(fall);
    return {std::lerp(settings.v1, settings.v2, toward), cycleStartMs};
}

SweepSettings SweepWave::settings() const
{
    const std::lock_guard lock(mutex_);
    return settings_;
}

void SweepWave::setSettings(const SweepSettings& settings)
{
    const std::lock_guard lock(mutex_);
    settings_ = settings;
}

void SweepWave::start()
{
    const std::lock_guard lock(mutex_);
    sweeping_ = true;
    cycleStartMs_ = clock_.nowMs();
}

void SweepWave::stop()
{
    const std::lock_guard lock(mutex_);
    sweeping_ = false;
}

bool SweepWave::sweeping() const
{
    const std::lock_guard lock(mutex_);
    return sweeping_;
}

std::optional<double> SweepWave::tick()
{
    const std::lock_guard lock(mutex_);
    if (!sweeping_)
        return std::nullopt;
    const SweepStep step = SweepWaveAt(settings_, cycleStartMs_, clock_.nowMs());
    cycleStartMs_ = step.cycleStartMs;
    return step.value;
}

} // namespace vantel
