#pragma once

#include "dialogs/DoAlertDiagram.h"
#include "ui/ControlView.h"

#include <array>

namespace vantel {

namespace DOAlertId {
inline constexpr int MonitoredAI = 1268;
inline constexpr int LedCondition = 1269;
inline constexpr int ThresholdCaption = 1278;
inline constexpr int High = 1270;
inline constexpr int Low = 1271;
inline constexpr int Width = 1272;
inline constexpr int Direction = 1273;
inline constexpr int Diagram = 1279;
// Switching-point label k (1-7): 1280-1286.
inline constexpr int LabelOf(int k)
{
    return Diagram + k;
}
} // namespace DOAlertId

// What the panel hands the dialog for one DO output.
struct DoAlertInputs {
    std::array<int, 3> rangeCodes{};
    int monitoredAI = 0;
    std::array<int, 3> ledConditions{}; // 0 inside the band, 1 outside
    std::array<int, 3> rawHigh{};       // signed 16-bit
    std::array<int, 3> rawLow{};
    int rawWidth = 0;  // unsigned 16-bit
    int direction = 0; // 0 the switch-off threshold wins, 1 the switch-on one
};

// What it takes back after OK: the settings of the monitored AI only.
struct DoAlertResult {
    int monitoredAI = 0;
    int ledCondition = 0;
    int rawHigh = 0; // signed 16-bit
    int rawLow = 0;
    int rawWidth = 0;
    int direction = 0;
};

// DO alert of one output: which analog input it follows, the band and its
// hysteresis, and the diagram that explains the resulting switching.
class CEditDOAlert : public DoAlertInputs {
public:
    explicit CEditDOAlert(ControlView& view) : view_(view) {}

    void onInitDialog();
    // List 1268 changed: show the newly monitored AI.
    void onMonitoredAIChanged();
    void onLedConditionChanged();
    void onDirectionChanged();
    // Change of box 1270, 1271 or 1272.
    void onNumberChanged(int controlId);

    DoAlertResult result() const;
    // The diagram in force and its labels; the window repaints it after each
    // of the calls above.
    const DoAlertDiagram& diagram() const { return diagram_; }
    double high() const { return high_; }
    double low() const { return low_; }
    double width() const { return width_; }

private:
    int rangeCode() const;
    void loadAI();
    void recompute();

    ControlView& view_;
    int ledCondition_ = 0;
    int high16_ = 0;
    int low16_ = 0;
    double high_ = 0;
    double low_ = 0;
    double width_ = 0;
    DoAlertDiagram diagram_;
};

// Clamping limits of the boxes by range code.
struct DoAlertLimits {
    double thresholdMin;
    double thresholdMax;
    double widthMax; // the width starts at 0
};
DoAlertLimits DoAlertLimitsOf(int rangeCode);

} // namespace vantel
