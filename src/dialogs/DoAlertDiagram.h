#pragma once

#include <array>
#include <optional>
#include <string>

namespace vantel {

// Which of the 34 switching diagrams explains a DO alert setting, and the
// switching points written beside it. Label k (1-7, top to bottom) is at
// index k - 1.
struct DoAlertDiagram {
    int number = 143; // 143-176
    int group = 1;    // 1-6
    int variant = 1;  // 1-7 in groups 1-4, 0-2 in groups 5 and 6
    std::array<std::optional<double>, 7> labelValues;
    std::array<std::string, 7> labels; // blank where there is no value
};

inline constexpr int kFirstDoAlertDiagram = 143;
inline constexpr int kLastDoAlertDiagram = 176;

// rawHigh and rawLow are the thresholds as signed 16-bit words, rawWidth the
// hysteresis width as an unsigned one; ledCondition 0 lights the LED inside
// the band, 1 outside; direction 0 lets the switch-off threshold win, 1 the
// switch-on threshold.
DoAlertDiagram SelectDoAlertDiagram(int rawHigh, int rawLow, int rawWidth, int ledCondition, int direction,
                                    int rangeCode);

int DoAlertDiagramNumber(int group, int variant);

// A raw 16-bit threshold as a signed number.
int SignedWord(int raw);

// A switching point as the dialog writes it: millivolts, volts, milliamperes
// or degrees Celsius by the input's range code.
std::string DoAlertLabelText(double value, int rangeCode);

} // namespace vantel
