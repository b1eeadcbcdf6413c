#include "AnalogSignal.h"

#include <cmath>
#include <numbers>

namespace vantel::sim {
namespace {

constexpr double kPeriodSeconds = 20.0;
constexpr double kPositiveFullScale = 8388607.0;
constexpr double kCountsPerDegree = 2560.0;

double Wave(int channel, double seconds)
{
    const double phase = channel * std::numbers::pi / 3.0;
    return std::sin(2.0 * std::numbers::pi * seconds / kPeriodSeconds + phase);
}

std::int32_t Counts(double value)
{
    return static_cast<std::int32_t>(std::lround(value));
}

} // namespace

std::int32_t AnalogReading(const UnitState& state, int channel, double seconds)
{
    if (state.pinnedReadings[channel])
        return *state.pinnedReadings[channel];
    const double wave = Wave(channel, seconds);
    switch (state.rangeCodes[channel]) {
    case 4:
    case 5: // 4-20 mA loop around mid scale, as a 0-20 mA input sees it
        return Counts((12.0 + 6.0 * wave) / 20.0 * kPositiveFullScale);
    case 6: // thermocouple near room temperature
        return Counts((25.0 + 3.0 * wave) * kCountsPerDegree);
    default: // voltage ranges swing over 60 % of full scale
        return Counts(0.6 * wave * kPositiveFullScale);
    }
}

} // namespace vantel::sim
