#include "dialogs/PanelSettingsDialog.h"

#include "dialogs/EditAnalogCalcDialog.h"
#include "dialogs/EditDOAlertDialog.h"
#include "dialogs/EditTCSettingDialog.h"
#include "dialogs/EditThresholdDialog.h"
#include "dialogs/ListChoiceWindow.h"
#include "dialogs/ListDialogs.h"
#include "dialogs/SweepDialog.h"

namespace vantel {

namespace {

template <typename Logic> std::optional<int> RunListChoice(QWidget* parent, int index, std::string_view subject = {})
{
    ListChoiceWindow<Logic> window(parent);
    window.logic().index = index;
    window.logic().subject = std::string(subject);
    if (window.exec() != QDialog::Accepted || window.logic().index < 0)
        return std::nullopt;
    return window.logic().index;
}

} // namespace

std::optional<int> PanelSettingsDialog::editADCsps(int rateIndex)
{
    return RunListChoice<CEditADCsps>(parent_, rateIndex);
}

std::optional<int> PanelSettingsDialog::editRange(int mode, std::string_view output)
{
    return RunListChoice<CEditRange>(parent_, mode, output);
}

std::optional<ThermocoupleSetting> PanelSettingsDialog::editTCSetting(const ThermocoupleSetting& current)
{
    EditTCSettingDialog window(parent_);
    PrepareTCSetting(window.logic(), current);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return TCSettingAfterOK(window.logic(), current);
}

std::optional<ThresholdSettings> PanelSettingsDialog::editThreshold(const ThresholdSettings& current)
{
    EditThresholdDialog window(parent_);
    static_cast<ThresholdSettings&>(window.logic()) = current;
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return static_cast<const ThresholdSettings&>(window.logic());
}

std::optional<DoAlertResult> PanelSettingsDialog::editDOAlert(const DoAlertInputs& inputs)
{
    EditDOAlertDialog window(parent_);
    static_cast<DoAlertInputs&>(window.logic()) = inputs;
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.logic().result();
}

std::optional<SweepSettings> PanelSettingsDialog::editSweep(const SweepSettings& current, std::string_view unit)
{
    SweepDialog window(parent_);
    static_cast<SweepSettings&>(window.logic()) = current;
    window.logic().unit = std::string(unit);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return static_cast<const SweepSettings&>(window.logic());
}

std::optional<GraphRange> PanelSettingsDialog::editAnalogCalc(const AnalogCalcRow& row, ControlView& messages)
{
    return EditAnalogCalcDialog::RunForRow(parent_, row, messages);
}

} // namespace vantel
