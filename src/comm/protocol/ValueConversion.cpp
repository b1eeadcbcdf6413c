#include "comm/protocol/ValueConversion.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace vantel {

namespace {

constexpr double kCountsPerDegree = 2560.0;
constexpr double kTenthsPerDegree = 10.0;
constexpr double kPositive24 = 8388607.0;
constexpr double kNegative24 = 8388608.0;
constexpr double kPositive16 = 32767.0;
constexpr double kNegative16 = 32768.0;
constexpr double kUnsigned16 = 65535.0;
constexpr double kVoltageOutputSpan = 10.0;
constexpr double kCurrentOutputSpan = 20.0;
// Current set values count 32768 steps over 20 mA, unlike the read-back.
constexpr double kCurrentSetCountsPerMilliampere = 1638.4;
constexpr double kLowestEnteredValue = -4000.0;
constexpr double kHighestEnteredValue = 7000.0;

int SignExtend(int raw, int bits)
{
    const int mask = (1 << bits) - 1;
    const int value = raw & mask;
    return (value & (1 << (bits - 1))) != 0 ? value - (1 << bits) : value;
}

bool IsThermocouple(int range)
{
    return range == InputRange::Thermocouple;
}

bool IsCurrentMode(int mode)
{
    return mode == OutputMode::Current;
}

// Signed scaling: positive counts span `positiveFull`, negative ones one more.
double ScaleSigned(int raw, double fullScale)
{
    return raw > 0 ? raw * fullScale / kPositive16 : raw * fullScale / kNegative16;
}

// Truncation toward zero of an already rounded double, kept inside [low, high]
// before the conversion so that no out-of-range double reaches an int.
int TruncateClamped(double value, double low, double high)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(value, low, high)));
}

// Signed 16-bit count for `value` against a full scale: halves round away from zero.
double SignedCounts(double value, double fullScale)
{
    return value > 0 ? value / fullScale * kPositive16 + 0.5 : value / fullScale * kNegative16 - 0.5;
}

int LowWord(int raw)
{
    return raw & 0xFFFF;
}

int SignedToWord(double counts)
{
    return LowWord(TruncateClamped(counts, -kNegative16, kPositive16));
}

int UnsignedToWord(double value, int range)
{
    const double counts = IsThermocouple(range) ? value * kTenthsPerDegree * 0.5 + 0.5
                                                : value / RangeFullScale(range) * kUnsigned16 * 0.5 + 0.5;
    // An unsigned level has no negative counts; below zero means zero.
    return TruncateClamped(counts, 0.0, kUnsigned16);
}

int RangeToWord(double value, int range)
{
    if ((range == InputRange::Current250Ohm || range == InputRange::Current50Ohm) && value < 0)
        value = 0;
    if (IsThermocouple(range))
        return SignedToWord(value > 0 ? value * kTenthsPerDegree + 0.5 : value * kTenthsPerDegree - 0.5);
    return SignedToWord(SignedCounts(value, RangeFullScale(range)));
}

int ModeToWord(double value, int mode)
{
    if (IsCurrentMode(mode))
        return SignedToWord(value > 0 ? value / kCurrentOutputSpan * kPositive16 + 0.5 : 0.0);
    return SignedToWord(SignedCounts(value, kVoltageOutputSpan));
}

// printf's "%W.Pf", independent of the process locale so that logs always
// carry a decimal point.
std::string Fixed(double value, int width, int precision)
{
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, precision);
    std::string text(buffer.data(), result.ptr);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

} // namespace

double RangeFullScale(int range)
{
    return InputRangeOf(range).fullScale;
}

double ReadingToValue(int raw24, int range)
{
    const int raw = SignExtend(raw24, 24);
    if (IsThermocouple(range))
        return raw / kCountsPerDegree;
    const double fullScale = RangeFullScale(range);
    return raw > 0 ? raw * fullScale / kPositive24 : raw * fullScale / kNegative24;
}

double ReadingToShownValue(int raw24, int range)
{
    return ReadingToValue(raw24, range) * InputRangeOf(range).shownFactor;
}

double RawToValue(int raw16, int rangeOrMode, ScaleKind kind)
{
    switch (kind) {
    case ScaleKind::UnsignedByRange: {
        const int raw = LowWord(raw16);
        if (IsThermocouple(rangeOrMode))
            return raw / kTenthsPerDegree * 2;
        return raw * RangeFullScale(rangeOrMode) / kUnsigned16 * 2;
    }
    case ScaleKind::ByRange: {
        const int raw = SignExtend(raw16, 16);
        if (IsThermocouple(rangeOrMode))
            return raw / kTenthsPerDegree;
        return ScaleSigned(raw, RangeFullScale(rangeOrMode));
    }
    case ScaleKind::ByOutputMode:
        break;
    }
    const int raw = SignExtend(raw16, 16);
    if (raw > 0)
        return raw * (IsCurrentMode(rangeOrMode) ? kCurrentOutputSpan : kVoltageOutputSpan) / kPositive16;
    return raw * kVoltageOutputSpan / kNegative16;
}

int ValueToRaw(double value, int rangeOrMode, ScaleKind kind)
{
    const double entered = std::isnan(value) ? 0.0 : std::clamp(value, kLowestEnteredValue, kHighestEnteredValue);
    switch (kind) {
    case ScaleKind::UnsignedByRange:
        return UnsignedToWord(entered, rangeOrMode);
    case ScaleKind::ByRange:
        return RangeToWord(entered, rangeOrMode);
    case ScaleKind::ByOutputMode:
        break;
    }
    return ModeToWord(entered, rangeOrMode);
}

double OutputRawToValue(int mode, int raw16)
{
    if (IsCurrentMode(mode))
        return raw16 * kCurrentOutputSpan / kPositive16;
    const int raw = SignExtend(raw16, 16);
    return raw > 0 ? raw * kVoltageOutputSpan / kPositive16 : raw * kVoltageOutputSpan / kNegative16;
}

int ValueToOutputRaw(int mode, double value)
{
    if (IsCurrentMode(mode))
        return TruncateClamped(value * kCurrentSetCountsPerMilliampere + 0.5, 0.0, kPositive16);
    const double counts =
        value > 0 ? value * kPositive16 / kVoltageOutputSpan + 0.5 : value * kNegative16 / kVoltageOutputSpan - 0.5;
    return TruncateClamped(counts, -kNegative16, kPositive16);
}

std::string FormatByRange(int rangeOrMode, double value, bool longForm)
{
    const FixedFormat format = longForm ? InputRangeOf(rangeOrMode).format : OutputModeOf(rangeOrMode).format;
    return Fixed(value, format.width, format.precision);
}

std::string FormatCompact(double value)
{
    std::string text = Fixed(value, 0, 6);
    const auto point = text.find('.');
    if (point == std::string::npos)
        return text;
    const std::size_t limit = text.front() == '-' ? 7 : 6;
    text.resize(point < limit ? std::min(text.size(), limit + 1) : point);
    return text;
}

} // namespace vantel
