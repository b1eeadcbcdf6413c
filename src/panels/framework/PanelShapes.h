#pragma once

#include "panels/framework/AutoFunction.h"
#include "panels/framework/PanelTexts.h"

#include <variant>

namespace vantel {

// What tells the analog-input classes apart.
struct AnalogInputShape {
    int inputs = 3;            // AI rows, 3 or 5
    int outputs = 2;           // DO rows, 2 or 0
    bool thermocouple = false; // the "熱電対" range and the 熱電対設定 buttons
    bool outputAlerts = false; // "DOアラート" per DO
    bool sampleRate = true;    // the "ADC sps" button
    PeriodRule periods{};      // how the 自動 period boxes are read
    const char* periodUnit = kTenthsPeriodUnit;
};

// What tells the analog-output classes apart.
struct AnalogOutputShape {
    int outputs = 3; // AO rows, 2 or 3
    int inputs = 3;  // DI rows, 2 or 3
    // Also log a line when the periodic DI read is sent, not only when it
    // is answered.
    bool lineWhenReadSent = true;
    PeriodRule periods{}; // how the DI period box is read
    const char* periodUnit = kTenthsPeriodUnit;
};

// The shape of a container kind's panel; none for the digital panels.
using ContainerShape = std::variant<std::monostate, AnalogInputShape, AnalogOutputShape>;

} // namespace vantel
