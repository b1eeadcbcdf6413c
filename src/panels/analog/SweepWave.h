#pragma once

#include "dialogs/SweepSettings.h"
#include "platform/Clock.h"

#include <cstdint>
#include <mutex>
#include <optional>

namespace vantel {

// One tick of the wave.
struct SweepStep {
    std::optional<double> value;   // nothing on the tick that starts a new cycle
    std::int64_t cycleStartMs = 0; // cycle start in force after this tick
};

// The triangle wave at `nowMs` for a cycle that started at `cycleStartMs`.
// The position follows the elapsed time, so a late tick does not stretch the
// wave. Once a cycle is over the tick starts the next one at `nowMs` and sends
// nothing. A rise or fall of 0 ticks is an empty part of the cycle: the wave
// jumps between V1 and V2 there instead of dividing by a zero duration.
SweepStep SweepWaveAt(const SweepSettings& settings, std::int64_t cycleStartMs, std::int64_t nowMs);

// A row's sweep as the panel's tick drives it. The dialog's OK replaces the
// settings from the GUI thread while the tick reads them on the ticker thread.
class SweepWave {
public:
    explicit SweepWave(const Clock& clock) : clock_(clock) {}

    SweepSettings settings() const;
    // Takes effect from the next tick.
    void setSettings(const SweepSettings& settings);

    void start();
    void stop();
    bool sweeping() const;
    // The value to send on this tick, if any; nothing while not sweeping.
    std::optional<double> tick();

private:
    const Clock& clock_;
    mutable std::mutex mutex_;
    SweepSettings settings_;
    bool sweeping_ = false;
    std::int64_t cycleStartMs_ = 0;
};

} // namespace vantel
