#pragma once

#include "dialogs/SettingsDialogs.h"

#include <QPointer>
#include <QWidget>

namespace vantel {

// Opens the settings dialog a panel asks for, as a modal Qt window over
// `parent` (the panel's window).
class PanelSettingsDialog final : public SettingsDialogs {
public:
    explicit PanelSettingsDialog(QWidget* parent) : parent_(parent) {}

    std::optional<int> editADCsps(int rateIndex) override;
    std::optional<int> editRange(int mode, std::string_view output) override;
    std::optional<ThermocoupleSetting> editTCSetting(const ThermocoupleSetting& current) override;
    std::optional<ThresholdSettings> editThreshold(const ThresholdSettings& current) override;
    std::optional<DoAlertResult> editDOAlert(const DoAlertInputs& inputs) override;
    std::optional<SweepSettings> editSweep(const SweepSettings& current, std::string_view unit) override;
    std::optional<GraphRange> editAnalogCalc(const AnalogCalcRow& row, ControlView& messages) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace vantel
