#pragma once

#include "comm/protocol/AnalogRanges.h"

#include <string>
#include <string_view>

namespace vantel {

// How a 16-bit raw value is scaled.
enum class ScaleKind {
    ByOutputMode = 0,    // signed, by output mode: output thresholds and set values
    ByRange = 1,         // signed, by input range: input thresholds
    UnsignedByRange = 2, // unsigned, by input range: digital-output alert level
};

// Full scale of a range code. Codes outside the table count as ±30 V; the
// thermocouple range has no full scale and reports the same, so that a caller
// dividing by it stays finite.
double RangeFullScale(int range);

// 24-bit converter reading to volts, milliamperes or degrees Celsius.
double ReadingToValue(int raw24, int range);
// The same as the panels show it: millivolts for the ±100 mV range.
double ReadingToShownValue(int raw24, int range);
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
