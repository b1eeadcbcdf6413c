#include "OutputAlert.h"

#include "AnalogSignal.h"

namespace vantel::sim {
namespace {

constexpr int kThresholdShift = 8; // 16-bit thresholds against 24-bit readings
constexpr int kAlertInputs = 3;

int Signed16(std::uint16_t raw)
{
    return raw >= 0x8000 ? raw - 0x10000 : raw;
}

} // namespace

void ApplyOutputAlerts(UnitState& state, int outputCount, double seconds)
{
    for (int output = 0; output < outputCount && output < kMaxChannels; ++output) {
        const DoAlertState& alert = state.doAlerts[static_cast<std::size_t>(output)];
        if (alert.enabled == 0)
            continue;
        const int input = alert.firstSetting % kAlertInputs;
        const ThresholdState& band = state.thresholds[static_cast<std::size_t>(input)];
        const long long reading = AnalogReading(state, input, seconds);
        const bool lit = ((state.outputBits >> output) & 1u) != 0;
        const long long low = static_cast<long long>(Signed16(band.low)) << kThresholdShift;
        const long long high = static_cast<long long>(Signed16(band.high)) << kThresholdShift;
        // A lit output keeps its state over the hysteresis margin.
        const long long margin = lit ? static_cast<long long>(alert.level) << kThresholdShift : 0;
        const bool on = band.flag == 0 ? (low - margin <= reading && reading <= high + margin)
                                       : (reading < low + margin || reading > high - margin);
        const std::uint32_t bit = 1u << output;
        state.outputBits = on ? (state.outputBits | bit) : (state.outputBits & ~bit);
    }
}

} // namespace vantel::sim
