#pragma once

#include <string>
#include <string_view>

namespace vantel {

// Input range codes, in the order of the range combo boxes.
namespace InputRange {
inline constexpr int Millivolt100 = 0;
inline constexpr int Volt1 = 1;
inline constexpr int Volt10 = 2;
inline constexpr int Volt30 = 3;
inline constexpr int Current250Ohm = 4;
inline constexpr int Current50Ohm = 5;
inline constexpr int Thermocouple = 6;
inline constexpr int Count = 7;
} // namespace InputRange

// Output modes of analog outputs: 1 is current, any other value voltage.
namespace OutputMode {
inline constexpr int Voltage = 0;
inline constexpr int Current = 1;
} // namespace OutputMode

// How a 16-bit raw value is scaled.
enum class ScaleKind {
    ByOutputMode = 0,    // signed, by output mode: output thresholds and set values
    ByRange = 1,         // signed, by input range: input thresholds
    UnsignedByRange = 2, // unsigned, by input range: digital-output alert level
};

// Text of a range code as the combo boxes list it; empty outside 0-6.
std::string_view RangeText(int range);
// Full scale of a range code. Codes outside the table count as ±30 V; the
// thermocouple range has no full scale and reports the same, so that a caller
// dividing by it stays finite.
double RangeFullScale(int range);
bool IsCurrentRange(int range);

// 24-bit converter reading to volts, milliamperes or degrees Celsius.
double ReadingToValue(int raw24, int range);
double RawToValue(int raw16, int rangeOrMode, ScaleKind kind);
// Entered values are first clamped to -4000…7000. The result is the raw word's
// low 16 bits (0-0xFFFF): a signed count of -16384 comes back as 0xC000.
int ValueToRaw(double value, int rangeOrMode, ScaleKind kind);
// Analog output set value read back with AY.
double OutputRawToValue(int mode, int raw16);
// Analog output set value for AO, signed and clamped to what the output
// accepts (current 0…32767, voltage -32768…32767).
int ValueToOutputRaw(int mode, double value);

// Long form: the width and precision that suit the range, for readings and
// thresholds. Short form: output set values, by output mode.
std::string FormatByRange(int rangeOrMode, double value, bool longForm);
// At most seven significant characters (eight with a minus sign), for the
// trend and the log.
std::string FormatCompact(double value);

} // namespace vantel
