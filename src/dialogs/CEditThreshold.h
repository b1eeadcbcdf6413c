#pragma once

#include "comm/protocol/ValueConversion.h"
#include "ui/ControlView.h"

namespace vantel {

namespace ThresholdId {
inline constexpr int Low = 1023;
inline constexpr int High = 1024;
inline constexpr int LedWhenOutside = 1035;
} // namespace ThresholdId

// LED thresholds of one channel in engineering values.
struct ThresholdSettings {
    double low = 0;
    double high = 0;
    bool ledWhenOutside = false;
};

// The same thresholds as the unit holds them: raw 16-bit words.
struct RawThresholds {
    int low = 0;
    int high = 0;
    bool ledWhenOutside = false;
};

// LED thresholds of one channel. The caption speaks of raw values, but the
// boxes hold engineering values; the panel converts.
class CEditThreshold : public ThresholdSettings {
public:
    explicit CEditThreshold(ControlView& view) : view_(view) {}

    void onInitDialog();
    // Change of box 1023 or 1024.
    void onNumberChanged(int controlId);
    void onOK();

private:
    ControlView& view_;
};

// Inputs scale by their range code (ScaleKind::ByRange), outputs by their
// output mode (ScaleKind::ByOutputMode).
ThresholdSettings ThresholdsFromRaw(const RawThresholds& raw, int rangeOrMode, ScaleKind kind);
// Values beyond the scale are clamped by the conversion, not refused.
RawThresholds ThresholdsToRaw(const ThresholdSettings& values, int rangeOrMode, ScaleKind kind);

} // namespace vantel
