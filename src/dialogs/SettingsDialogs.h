#pragma once

#include "dialogs/AnalogCalcResult.h"
#include "dialogs/CEditDOAlert.h"
#include "dialogs/CEditTCSetting.h"
#include "dialogs/CEditThreshold.h"
#include "dialogs/SweepSettings.h"
#include "ui/ControlView.h"

#include <optional>
#include <string_view>

namespace vantel {

// The settings dialogs a panel opens, as one service: the panel passes the
// values it holds, the dialog runs modally, and the new values come back only
// when the user pressed OK (nothing after Cancel). Windows implement it with
// the Qt dialogs, tests with scripted answers, so panel logic never opens a
// window itself. GUI thread only.
class SettingsDialogs {
public:
    virtual ~SettingsDialogs() = default;

    // Sample-rate index of the converter; OK with no rate chosen counts as Cancel.
    virtual std::optional<int> editADCsps(int rateIndex) = 0;
    // Output mode of an analog output (0 voltage, 1 current); `output` names
    // it in the dialog. OK with no mode chosen counts as Cancel.
    virtual std::optional<int> editRange(int mode, std::string_view output) = 0;
    // Type and setting byte as TJ reports them; the result is what TC sends.
    virtual std::optional<ThermocoupleSetting> editTCSetting(const ThermocoupleSetting& current) = 0;
    // LED thresholds in engineering values (ThresholdsFromRaw/ThresholdsToRaw).
    virtual std::optional<ThresholdSettings> editThreshold(const ThresholdSettings& current) = 0;
    virtual std::optional<DoAlertResult> editDOAlert(const DoAlertInputs& inputs) = 0;
    // `unit` is "V" or "mA", by the row's range.
    virtual std::optional<SweepSettings> editSweep(const SweepSettings& current, std::string_view unit) = 0;
    // Conversion formula and graph range of a row; applied to the row on OK
    // (ApplyAnalogCalcResult), which reports an invalid range to `messages`.
    virtual std::optional<GraphRange> editAnalogCalc(const AnalogCalcRow& row, ControlView& messages) = 0;
};

} // namespace vantel
