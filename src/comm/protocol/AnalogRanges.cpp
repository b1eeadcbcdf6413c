#include "comm/protocol/AnalogRanges.h"

#include <array>

namespace vantel {

namespace {

constexpr FixedFormat kMilli{7, 3};
constexpr FixedFormat kVolt1{7, 5};
constexpr FixedFormat kVolts{7, 4};
constexpr FixedFormat kDegrees{7, 2};

constexpr std::array<InputRangeInfo, InputRange::Count> kInputRanges{{
    {true, "±100mV", "mV", 0.1, 1000.0, kMilli, {-100, 100}},
    {true, "±1V", "V", 1.0, 1.0, kVolt1, {-1, 1}},
    {true, "±10V", "V", 10.0, 1.0, kVolts, {-10, 10}},
    {true, "±30V", "V", 30.0, 1.0, kVolts, {-30, 30}},
    {true, "0-20mA (外付け250Ω)", "mA", 20.0, 1.0, kMilli, {0, 20}},
    {true, "0-20mA (外付け50Ω)", "mA", 20.0, 1.0, kMilli, {0, 20}},
    // Readings count per degree instead of against a full scale.
    {true, "熱電対", "℃", 30.0, 1.0, kDegrees, {0, 100}},
}};
constexpr InputRangeInfo kUnknownRange{false, "", "V", 30.0, 1.0, kVolts, {-30, 30}};

constexpr std::array<OutputModeInfo, OutputMode::Count> kOutputModes{{
    {true, "±10V", "V", {1, 4}, {-10, 10}},
    {true, "0-20mA", "mA", {2, 3}, {0, 20}},
}};

} // namespace

const InputRangeInfo& InputRangeOf(int range)
{
    if (range < 0 || range >= InputRange::Count)
        return kUnknownRange;
    return kInputRanges[static_cast<std::size_t>(range)];
}

const OutputModeInfo& OutputModeOf(int mode)
{
    if (mode == OutputMode::Current)
        return kOutputModes[OutputMode::Current];
    if (mode == OutputMode::Voltage)
        return kOutputModes[OutputMode::Voltage];
    static constexpr OutputModeInfo kOtherMode = [] {
        OutputModeInfo other = kOutputModes[OutputMode::Voltage];
        other.known = false;
        return other;
    }();
    return kOtherMode;
}

std::string_view RangeText(int range)
{
    return InputRangeOf(range).text;
}

bool IsCurrentRange(int range)
{
    return range == InputRange::Current250Ohm || range == InputRange::Current50Ohm;
}

} // namespace vantel
