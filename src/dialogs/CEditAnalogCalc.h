#pragma once

#include "ui/ControlView.h"

#include <cstddef>
#include <string>

namespace vantel {

namespace AnalogCalcId {
inline constexpr int LeftLabel = 1077;
inline constexpr int Multiplier = 1007;
inline constexpr int Offset = 1008;
inline constexpr int RightLabel = 1078;
inline constexpr int UnitLabel = 1079;
inline constexpr int Unit = 1009;
inline constexpr int GraphMin = 1102;
inline constexpr int GraphMax = 1103;
} // namespace AnalogCalcId

// Conversion formula and unit of one analog channel, with the graph range of
// its trace. The caller fills the public values, runs the dialog and reads
// them back only after OK.
class CEditAnalogCalc {
public:
    // Unit box limit, in bytes of the file code page.
    static constexpr std::size_t kUnitMaxBytes = 8;

    explicit CEditAnalogCalc(ControlView& view) : view_(view) {}

    double multiplier = 0;
    double offset = 0;
    double graphMin = 0;
    double graphMax = 0;
    std::string unit;
    std::string leftLabel;
    std::string rightLabel;
    std::string unitLabel;

    void onInitDialog();
    // Change of one of the four number boxes.
    void onNumberChanged(int controlId);
    // Change of the unit box: cut back to its byte limit.
    void onUnitChanged();
    // Reads the boxes into the values; the caller then closes with OK.
    void onOK();

private:
    ControlView& view_;
};

} // namespace vantel
