#pragma once

#include <string_view>

// What the program shows for an analog input range or output mode: the names
// the combo boxes list, the unit of the shown value, the number format and the
// graph range a channel starts with. Panels, the graph page, the settings
// dialogs, the log and vantelctl all read them from here, so they agree.
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
inline constexpr int Count = 2;
} // namespace OutputMode

// The value span a trace is drawn in.
struct GraphRange {
    double min = 0;
    double max = 0;
    bool operator==(const GraphRange&) const = default;
};

// printf's "%W.Pf".
struct FixedFormat {
    int width = 0;
    int precision = 0;
};

struct InputRangeInfo {
    // False for a code outside the table: units may report 7 and above.
    // Such a code converts as ±30 V and is shown without a range name.
    bool known = false;
    std::string_view text; // the range combo's item; empty when not known
    std::string_view unit; // of the shown value
    // Of the converted reading, in V or mA. The thermocouple range has none and
    // carries the ±30 V of unknown codes, so that a division by it stays finite.
    double fullScale = 0;
    // Shown value = converted reading × this: the ±100 mV range is shown in mV.
    double shownFactor = 1;
    FixedFormat format; // long form: readings and thresholds
    GraphRange defaultGraph;
};

struct OutputModeInfo {
    // False for a mode other than 0 and 1, which drives the output as voltage.
    bool known = false;
    std::string_view text; // the V/I combo's item
    std::string_view unit;
    FixedFormat format; // short form: output set values
    GraphRange defaultGraph;
};

// Any code is safe: one outside the table gets the entry of unknown codes.
const InputRangeInfo& InputRangeOf(int range);
const OutputModeInfo& OutputModeOf(int mode);

// Text of a range code as the combo boxes list it; empty outside 0-6.
std::string_view RangeText(int range);
bool IsCurrentRange(int range);

} // namespace vantel
