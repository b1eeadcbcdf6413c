#include "panels/analog/AnalogWorkerLinks.h"

#include "panels/analog/AnalogInputPanel.h"
#include "panels/analog/AnalogOutputPanel.h"
#include "panels/framework/PanelTexts.h"
#include "registry/ModelCatalogue.h"

namespace vantel {

std::string WorkerStatusText(const UnitRecord& unit, int unitId)
{
    return ConnectedDeviceText(ModelAt(unit.modelRow).displayName, unit.host, unit.controlPort, unitId);
}

void InputWorkerLink::startReads()
{
    panel_->startUp_.send(0);
    panel_->startTicking();
}

void InputWorkerLink::sendOutputs(int bits, int changed, Caller)
{
    AnalogInputPanel& panel = *panel_;
    post(analog::WriteDigitalOutputs{
        bits, panel.guarded<std::optional<int>>([&panel, bits, changed](std::optional<int> written) {
            if (!written) {
                panel.outputWriteFailed(bits, changed);
                panel.reportCommunicationFailure(AfterFailure::KeepOpen);
                panel.stopPolling();
                return;
            }
            panel.paintOutputs(*written);
        })});
}

void InputWorkerLink::sendInputRead(Caller)
{
    AnalogInputPanel& panel = *panel_;
    post(analog::ReadAllInputs{panel.inputCount(), panel.guarded<std::optional<analog::InputReadings>>(
                                                       [&panel](const std::optional<analog::InputReadings>& readings) {
                                                           panel.onInputsRead(readings);
                                                       })});
}

void InputWorkerLink::sendRange(int row, int range, int previous)
{
    AnalogInputPanel& panel = *panel_;
    post(analog::SetRange{
        row, range, panel.guarded<int, std::optional<int>>([&panel, row, previous](int, std::optional<int> written) {
            panel.onRangeWritten(row, written, previous);
        })});
}

void InputWorkerLink::sendThresholds(int row, const RawThresholds& raw, int mode)
{
    AnalogInputPanel& panel = *panel_;
    post(analog::SetThresholds{row, raw.ledWhenOutside ? 1 : 0, mode, raw.high, raw.low,
                               panel.guarded<int, std::optional<analog::Thresholds>>(
                                   [&panel, row](int, const std::optional<analog::Thresholds>& thresholds) {
                                       panel.onThresholdsWritten(row, thresholds);
                                   })});
}

void InputWorkerLink::sendThermocouple(int row, const ThermocoupleSetting& setting)
{
    AnalogInputPanel& panel = *panel_;
    post(analog::SetThermocouple{row, setting.type, setting.setting,
                                 panel.guarded<int, std::optional<analog::Thermocouple>>(
                                     [&panel, row](int, const std::optional<analog::Thermocouple>& settings) {
                                         if (!settings) {
                                             panel.reportCommunicationFailure(AfterFailure::KeepOpen);
                                             return;
                                         }
                                         panel.storeThermocouple(row, *settings);
                                     })});
}

void OutputWorkerLink::startReads()
{
    panel_->startUp_.send(0);
    panel_->startTicking();
}

void OutputWorkerLink::sendOutput(int row, int mode, int raw, bool wasSweeping, Caller)
{
    AnalogOutputPanel& panel = *panel_;
    post(analog::SetOutput{
        row, mode, raw, panel.guarded<int, std::optional<int>>([&panel, wasSweeping](int, std::optional<int> written) {
            panel.onOutputWritten(written.has_value(), wasSweeping);
        })});
}

void OutputWorkerLink::sendInputRead(int flag, Caller)
{
    AnalogOutputPanel& panel = *panel_;
    post(analog::ReadDigitalInputs{flag,
                                   panel.guarded<std::optional<int>, int>([&panel, flag](std::optional<int> bits, int) {
                                       panel.onInputsRead(bits, flag);
                                   })});
}

void OutputWorkerLink::sendThresholds(int row, const RawThresholds& raw, int thresholdMode)
{
    AnalogOutputPanel& panel = *panel_;
    post(analog::SetThresholds{row, raw.ledWhenOutside ? 1 : 0, thresholdMode, raw.high, raw.low,
                               panel.guarded<int, std::optional<analog::Thresholds>>(
                                   [&panel, row](int, const std::optional<analog::Thresholds>& thresholds) {
                                       panel.onThresholdsWritten(row, thresholds);
                                   })});
}

} // namespace vantel
