#include "panels/analog/AnalogInputPanel.h"

#include "comm/protocol/AnalogRanges.h"
#include "comm/protocol/ValueConversion.h"
#include "panels/framework/PanelTexts.h"

#include <vector>

namespace vantel {
namespace {

using namespace AnalogInputId;

constexpr int kSignalNameCharacters = 20;
constexpr int kWideBarMaximum = 0xFFFFFF;
constexpr int kCurrentBarMaximum = 0x7FFFFF;
constexpr int kBarOffset = 0x800000;
constexpr int kThresholdShift = 8;
constexpr int kOutputMask = 0x3;

int SignExtend24(int raw)
{
    raw &= 0xFFFFFF;
    return raw >= 0x800000 ? raw - 0x1000000 : raw;
}

std::string UnitOfRange(int range)
{
    return std::string(InputRangeOf(range).unit);
}

GraphRange DefaultRange(int range)
{
    return InputRangeOf(range).defaultGraph;
}

} // namespace

AnalogInputPanel::~AnalogInputPanel()
{
    // Deleted without PanelDeleter: the threads still have to stop while
    // the rows exist.
    shutDown();
}

const Row& AnalogInputPanel::idsOf(int row)
{
    return Rows.at(static_cast<std::size_t>(row));
}

const Output& AnalogInputPanel::idsOfOutput(int output)
{
    return Outputs.at(static_cast<std::size_t>(output));
}

void AnalogInputPanel::start()
{
    markUnitOpen();
    showTitle(false);
    showStatus(statusText());
    restoreWindowPosition();
    fillRows();
    setUpGraph();
    openLog(csvHeader());
    startReads();
}

void AnalogInputPanel::startReads()
{
    send(shape_.outputs > 0 ? Step::Outputs : Step::SampleRate, 0);
    startTicking();
}

void AnalogInputPanel::fillRows()
{
    std::vector<std::string> ranges;
    const int rangeItems = shape_.thermocouple ? InputRange::Count : InputRange::Thermocouple;
    for (int code = 0; code < rangeItems; ++code)
        ranges.emplace_back(RangeText(code));
    const UnitRecord* unit = record();
    for (int row = 0; row < shape_.inputs; ++row) {
        const auto slot = static_cast<std::size_t>(row);
        const Row& ids = idsOf(row);
        view().setItems(ids.range, ranges);
        if (shape_.thermocouple)
            view().setEnabled(ids.thermocouple, false);
        view().setMaxLength(ids.name, kSignalNameCharacters);
        addNameBox(ids.name, SignalSide::Input, row);
        if (unit != nullptr) {
            const std::lock_guard guard(rowsMutex_);
            rows_[slot].formula = unit->inputFormulas[slot];
            rows_[slot].display = {unit->graphMin[slot], unit->graphMax[slot]};
        }
    }
    for (int output = 0; output < shape_.outputs; ++output) {
        const Output& ids = idsOfOutput(output);
        view().setMaxLength(ids.name, kSignalNameCharacters);
        addNameBox(ids.name, SignalSide::Output, output);
        outputAutos_[static_cast<std::size_t>(output)] =
            addAutoFunction({ids.autoBox, ids.period, {ids.button}, shape_.periods});
    }
    inputAuto_ = addAutoFunction({InputAuto, InputPeriod, {ReadInputs}, shape_.periods});
}

void AnalogInputPanel::setUpGraph()
{
    startGraph();
    for (int row = 0; row < shape_.inputs; ++row) {
        const std::string name = "AI" + std::to_string(row + 1);
        GraphRange display;
        {
            const std::lock_guard guard(rowsMutex_);
            display = rows_[static_cast<std::size_t>(row)].display;
        }
        if (!(display.max > display.min))
            display = DefaultRange(InputRange::Volt10);
        addSeries(row, name, display.min, display.max);
        labelGraphRow(row, name + ": " + signalName(SignalSide::Input, row));
    }
    for (int output = 0; output < shape_.outputs; ++output) {
        const std::string name = "DO" + std::to_string(output + 1);
        addDigitalSeries(outputSeries(output), name, output);
        labelGraphRow(outputSeries(output), name + ": " + signalName(SignalSide::Output, output));
    }
}

int AnalogInputPanel::startUpLength() const
{
    int length = 1 + 2 * shape_.inputs; // sample rate, ranges, thresholds
    if (shape_.outputs > 0)
        ++length;
    if (shape_.thermocouple)
        length += shape_.inputs;
    if (shape_.outputAlerts)
        length += shape_.outputs;
    return length;
}

// Each answer of the chain sends the next request; a failed one ends it.
void AnalogInputPanel::send(Step step, int row)
{
    switch (step) {
    case Step::Outputs:
        post(analog::ReadDigitalOutputs{guarded<std::optional<int>>([this](std::optional<int> bits) {
            if (startUpStepFailed(!bits))
                return;
            showOutputs(*bits);
            next(Step::Outputs, 0);
        })});
        return;
    case Step::SampleRate:
        post(analog::ReadConfigByte{guarded<std::optional<int>>([this](std::optional<int> rate) {
            if (startUpStepFailed(!rate))
                return;
            sampleRate_ = *rate;
            next(Step::SampleRate, 0);
        })});
        return;
    case Step::Range:
        post(analog::ReadRange{row, guarded<int, std::optional<analog::RangeSetting>>(
                                        [this, row](int, const std::optional<analog::RangeSetting>& setting) {
                                            if (startUpStepFailed(!setting))
                                                return;
                                            onRangeRead(row, setting->range);
                                            next(Step::Range, row);
                                        })});
        return;
    case Step::Threshold:
        post(analog::ReadThresholds{row, guarded<int, std::optional<analog::Thresholds>>(
                                             [this, row](int, const std::optional<analog::Thresholds>& thresholds) {
                                                 if (startUpStepFailed(!thresholds))
                                                     return;
                                                 onThresholdsRead(row, *thresholds);
                                                 next(Step::Threshold, row);
                                             })});
        return;
    case Step::Thermocouple:
        post(analog::ReadThermocouple{row, guarded<int, std::optional<analog::Thermocouple>>(
                                               [this, row](int, const std::optional<analog::Thermocouple>& settings) {
                                                   if (startUpStepFailed(!settings))
                                                       return;
                                                   storeThermocouple(row, *settings);
                                                   next(Step::Thermocouple, row);
                                               })});
        return;
    case Step::Alert:
        post(analog::ReadOutputAlert{row, guarded<int, std::optional<analog::OutputAlertState>>(
                                              [this, row](int, const std::optional<analog::OutputAlertState>& alert) {
                                                  if (startUpStepFailed(!alert))
                                                      return;
                                                  onAlertRead(row, *alert);
                                                  next(Step::Alert, row);
                                              })});
        return;
    case Step::Done:
        return;
    }
}

void AnalogInputPanel::next(Step step, int row)
{
    int rowsOfStep = 1;
    if (step == Step::Range || step == Step::Threshold || step == Step::Thermocouple)
        rowsOfStep = shape_.inputs;
    else if (step == Step::Alert)
        rowsOfStep = shape_.outputs;
    if (row + 1 < rowsOfStep) {
        send(step, row + 1);
        return;
    }
    Step following = static_cast<Step>(static_cast<int>(step) + 1);
    if (following == Step::Thermocouple && !shape_.thermocouple)
        following = Step::Alert;
    if (following == Step::Alert && !shape_.outputAlerts)
        following = Step::Done;
    send(following, 0);
}

bool AnalogInputPanel::startUpStepFailed(bool failed)
{
    if (failed) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        return true;
    }
    ++startUpAnswers_;
    return false;
}

void AnalogInputPanel::onRangeRead(int row, int range)
{
    {
        const std::lock_guard guard(rowsMutex_);
        InputRow& state = rows_[static_cast<std::size_t>(row)];
        state.range = range;
        if (!(state.display.max > state.display.min))
            applyDefaultRange(row, state);
        if (graphPage() != nullptr)
            graphPage()->SetRowUnit(row, range, state.formula.gain, state.formula.offset, state.formula.unit);
        showBar(row, state);
    }
    showRange(row, range);
}

// A code the unit should never report (7 and above) selects no item.
void AnalogInputPanel::showRange(int row, int range)
{
    const int items = shape_.thermocouple ? InputRange::Count : InputRange::Thermocouple;
    view().setCurrentIndex(idsOf(row).range, range >= 0 && range < items ? range : -1);
    if (shape_.thermocouple)
        view().setEnabled(idsOf(row).thermocouple, range == InputRange::Thermocouple);
}

void AnalogInputPanel::onThresholdsRead(int row, const analog::Thresholds& thresholds)
{
    const std::lock_guard guard(rowsMutex_);
    InputRow& state = rows_[static_cast<std::size_t>(row)];
    TakeThresholds(state, thresholds);
    showBar(row, state);
}

void AnalogInputPanel::onThresholdsWritten(int row, const std::optional<analog::Thresholds>& thresholds)
{
    if (!thresholds) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        return;
    }
    onThresholdsRead(row, *thresholds);
}

void AnalogInputPanel::storeThermocouple(int row, const analog::Thermocouple& settings)
{
    const std::lock_guard guard(rowsMutex_);
    rows_[static_cast<std::size_t>(row)].thermocouple = {settings.type, settings.setting};
}

void AnalogInputPanel::showBar(int row, const InputRow& state)
{
    const bool current = IsCurrentRange(state.range);
    const bool inside = (state.low << kThresholdShift) <= state.raw && state.raw <= (state.high << kThresholdShift);
    LevelBar bar;
    bar.maximum = current ? kCurrentBarMaximum : kWideBarMaximum;
    bar.position = current ? std::max(0, state.raw) : state.raw + kBarOffset;
    bar.alarm = inside == (state.ledWhenOutside == 0);
    view().setLevelBar(idsOf(row).bar, bar);
}

void AnalogInputPanel::applyDefaultRange(int row, InputRow& state)
{
    state.display = DefaultRange(state.range);
    if (LECanvasSeries* trace = series(row))
        trace->SetScale(state.display.min, state.display.max);
}

void AnalogInputPanel::sendInputRead(Caller)
{
    post(analog::ReadAllInputs{
        shape_.inputs, guarded<std::optional<analog::InputReadings>>(
                           [this](const std::optional<analog::InputReadings>& readings) { onInputsRead(readings); })});
}

void AnalogInputPanel::onReadInputs()
{
    sendInputRead(Caller::GuiThread);
}

void AnalogInputPanel::onInputsRead(const std::optional<analog::InputReadings>& readings)
{
    if (!readings) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        stopPolling();
        return;
    }
    const double now = nowSeconds();
    for (int row = 0; row < shape_.inputs; ++row) {
        std::string shown;
        double converted = 0;
        {
            const std::lock_guard guard(rowsMutex_);
            InputRow& state = rows_[static_cast<std::size_t>(row)];
            state.raw = SignExtend24(readings->at(static_cast<std::size_t>(row)));
            const double value = ReadingToValue(state.raw, state.range);
            const double factor = InputRangeOf(state.range).shownFactor;
            const double measured = value * factor;
            state.converted = (state.formula.gain * value + state.formula.offset) * factor;
            converted = state.converted;
            shown = FormatByRange(state.range, converted, true);
            view().setText(idsOf(row).measured,
                           FormatByRange(state.range, measured, true) + " " + UnitOfRange(state.range));
            view().setText(idsOf(row).converted, shown + " " + state.formula.unit);
            showBar(row, state);
        }
        addSample(row, now, converted);
        showGraphValue(row, shown);
    }
    const int bits = outputs_.load();
    for (int output = 0; output < shape_.outputs; ++output) {
        const bool on = ((bits >> output) & 1) != 0;
        addSample(outputSeries(output), now, on ? 1 : 0);
        showGraphValue(outputSeries(output), on ? "ON" : "OFF");
    }
    refreshGraph();
    if (inputAutoOn())
        logValues(csvValues());
}

void AnalogInputPanel::stopPolling()
{
    switchOffAuto(inputAuto_);
    for (int output = 0; output < shape_.outputs; ++output)
        switchOffAuto(outputAutos_[static_cast<std::size_t>(output)]);
}

void AnalogInputPanel::onOutputButton(int output)
{
    if (validOutput(output))
        writeOutputs(outputs_.load() ^ (1 << output), Caller::GuiThread);
}

void AnalogInputPanel::writeOutputs(int bits, Caller caller)
{
    if (!outputsKnown())
        return;
    // The next toggle starts from what the unit was told, not from the last
    // answer: a click or a period that comes before the answer must not
    // send the same state again.
    const int changed = (outputs_.load() ^ bits) & kOutputMask;
    outputs_ = bits & kOutputMask;
    sendOutputs(bits & kOutputMask, changed, caller);
}

void AnalogInputPanel::sendOutputs(int bits, int changed, Caller)
{
    post(analog::WriteDigitalOutputs{bits,
                                     guarded<std::optional<int>>([this, bits, changed](std::optional<int> written) {
                                         if (!written) {
                                             outputWriteFailed(bits, changed);
                                             reportCommunicationFailure(AfterFailure::KeepOpen);
                                             stopPolling();
                                             return;
                                         }
                                         paintOutputs(*written);
                                     })});
}

void AnalogInputPanel::outputWriteFailed(int requested, int changed)
{
    // The unit kept its states: so does the panel, for each output the
    // failed write was to change and no later one has changed since.
    int now = outputs_.load();
    int kept = now;
    do {
        const int stillRequested = ~(now ^ requested) & changed & kOutputMask;
        kept = now ^ stillRequested;
    } while (!outputs_.compare_exchange_weak(now, kept));
    paintOutputs(kept);
}

void AnalogInputPanel::showOutputs(int bits)
{
    outputs_ = bits & kOutputMask;
    paintOutputs(bits);
}

void AnalogInputPanel::paintOutputs(int bits)
{
    for (int output = 0; output < shape_.outputs; ++output)
        view().setIndicator(idsOfOutput(output).indicator, ((bits >> output) & 1) != 0);
}

void AnalogInputPanel::periodicWork()
{
    // Outputs whose periods run out on the same tick are toggled by one write.
    int toggled = 0;
    for (int output = 0; output < shape_.outputs; ++output)
        if (autoFunction(outputAutos_[static_cast<std::size_t>(output)]).advance())
            toggled |= 1 << output;
    if (toggled != 0)
        writeOutputs(outputs_.load() ^ toggled, Caller::Tick);
    if (autoFunction(inputAuto_).advance())
        sendInputRead(Caller::Tick);
}

void AnalogInputPanel::onRangeSelected(int row)
{
    if (!validRow(row))
        return;
    const int chosen = view().currentIndex(idsOf(row).range);
    const int previous = rangeCode(row);
    if (chosen < 0 || chosen == previous)
        return;
    if (!askModal(kRangeQuestion)) {
        showRange(row, previous);
        return;
    }
    sendRange(row, chosen, previous);
}

void AnalogInputPanel::sendRange(int row, int range, int previous)
{
    post(analog::SetRange{row, range,
                          guarded<int, std::optional<int>>([this, row, previous](int, std::optional<int> written) {
                              onRangeWritten(row, written, previous);
                          })});
}

void AnalogInputPanel::onRangeWritten(int row, std::optional<int> written, int previous)
{
    if (!written) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        showRange(row, previous);
        return;
    }
    const int range = *written;
    GraphRange display;
    {
        const std::lock_guard guard(rowsMutex_);
        InputRow& state = rows_[static_cast<std::size_t>(row)];
        state.range = range;
        state.formula = {};
        applyDefaultRange(row, state);
        display = state.display;
        LevelBar empty;
        empty.maximum = IsCurrentRange(range) ? kCurrentBarMaximum : kWideBarMaximum;
        view().setLevelBar(idsOf(row).bar, empty);
    }
    showRange(row, range);
    view().setText(idsOf(row).measured, "");
    view().setText(idsOf(row).converted, "");
    if (graphPage() != nullptr)
        graphPage()->SetRowUnit(row, range, 1.0, 0.0, "");
    if (LECanvasSeries* trace = series(row))
        trace->ClearSamples();
    refreshGraph();
    // The formula and the graph range belong to the unit record.
    runOnGuiThread([this, row, display] {
        if (UnitRecord* unit = record()) {
            const auto slot = static_cast<std::size_t>(row);
            unit->inputFormulas[slot] = {};
            unit->graphMin[slot] = display.min;
            unit->graphMax[slot] = display.max;
        }
    });
}

void AnalogInputPanel::onAlertRead(int output, const analog::OutputAlertState& alert)
{
    const bool on = alert.statusBit != 0;
    {
        const std::lock_guard guard(rowsMutex_);
        alerts_[static_cast<std::size_t>(output)] = {on, alert.settings.firstSetting, alert.settings.secondSetting,
                                                     alert.settings.alertRaw};
    }
    view().setChecked(idsOfOutput(output).alert, on);
    lockOutput(output, on);
}

void AnalogInputPanel::lockOutput(int output, bool alertOn)
{
    const Output& ids = idsOfOutput(output);
    // The unit drives an output whose alert is on: nothing toggles it from here.
    if (alertOn)
        switchOffAuto(outputAutos_[static_cast<std::size_t>(output)]);
    view().setEnabled(ids.button, !alertOn);
    view().setEnabled(ids.autoBox, !alertOn);
    view().setEnabled(ids.period, !alertOn);
}

void AnalogInputPanel::onAlertClicked(int output)
{
    if (!validOutput(output) || !shape_.outputAlerts)
        return;
    const int state = view().isChecked(idsOfOutput(output).alert) ? 1 : 0;
    post(analog::SwitchOutput{output, state,
                              guarded<int, std::optional<analog::SwitchedOutput>>(
                                  [this, output](int, const std::optional<analog::SwitchedOutput>& switched) {
                                      onAlertSwitched(output, switched);
                                  })});
}

void AnalogInputPanel::onAlertSwitched(int output, const std::optional<analog::SwitchedOutput>& switched)
{
    if (!switched) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        view().setChecked(idsOfOutput(output).alert, alertOn(output));
        return;
    }
    const bool on = switched->state != 0;
    {
        const std::lock_guard guard(rowsMutex_);
        alerts_[static_cast<std::size_t>(output)].on = on;
    }
    view().setChecked(idsOfOutput(output).alert, on);
    lockOutput(output, on);
    showOutputs(switched->outputs);
}

bool AnalogInputPanel::onControlClicked(int controlId)
{
    if (controlId == ReadInputs) {
        onReadInputs();
        return true;
    }
    if (controlId == SampleRate && shape_.sampleRate) {
        onSampleRateButton();
        return true;
    }
    for (int output = 0; output < shape_.outputs; ++output) {
        const Output& ids = idsOfOutput(output);
        if (controlId == ids.button)
            onOutputButton(output);
        else if (controlId == ids.alert)
            onAlertClicked(output);
        else if (controlId == ids.alertSettings)
            onAlertSettingsButton(output);
        else
            continue;
        return true;
    }
    for (int row = 0; row < shape_.inputs; ++row) {
        const Row& ids = idsOf(row);
        if (controlId == ids.formula)
            openScaleDialog(row);
        else if (controlId == ids.threshold)
            onThresholdButton(row);
        else if (controlId == ids.thermocouple)
            onThermocoupleButton(row);
        else
            continue;
        return true;
    }
    return false;
}

void AnalogInputPanel::onThresholdButton(int row)
{
    if (!validRow(row) || dialogs() == nullptr)
        return;
    RawThresholds raw;
    int range = 0;
    int mode = 0;
    {
        const std::lock_guard guard(rowsMutex_);
        const InputRow& state = rows_[static_cast<std::size_t>(row)];
        raw = {state.low, state.high, state.ledWhenOutside != 0};
        range = state.range;
        mode = state.thresholdMode;
    }
    const auto values = dialogs()->editThreshold(ThresholdsFromRaw(raw, range, ScaleKind::ByRange));
    if (!values)
        return;
    sendThresholds(row, ThresholdsToRaw(*values, range, ScaleKind::ByRange), mode);
}

void AnalogInputPanel::sendThresholds(int row, const RawThresholds& raw, int mode)
{
    post(analog::SetThresholds{row, raw.ledWhenOutside ? 1 : 0, mode, raw.high, raw.low,
                               guarded<int, std::optional<analog::Thresholds>>(
                                   [this, row](int, const std::optional<analog::Thresholds>& thresholds) {
                                       onThresholdsWritten(row, thresholds);
                                   })});
}

void AnalogInputPanel::onThermocoupleButton(int row)
{
    if (!validRow(row) || dialogs() == nullptr || rangeCode(row) != InputRange::Thermocouple)
        return;
    ThermocoupleSetting current;
    {
        const std::lock_guard guard(rowsMutex_);
        current = rows_[static_cast<std::size_t>(row)].thermocouple;
    }
    if (const auto chosen = dialogs()->editTCSetting(current))
        sendThermocouple(row, *chosen);
}

void AnalogInputPanel::sendThermocouple(int row, const ThermocoupleSetting& setting)
{
    post(analog::SetThermocouple{row, setting.type, setting.setting,
                                 guarded<int, std::optional<analog::Thermocouple>>(
                                     [this, row](int, const std::optional<analog::Thermocouple>& settings) {
                                         if (!settings) {
                                             reportCommunicationFailure(AfterFailure::KeepOpen);
                                             return;
                                         }
                                         storeThermocouple(row, *settings);
                                     })});
}

void AnalogInputPanel::onSampleRateButton()
{
    if (dialogs() == nullptr)
        return;
    const auto rate = dialogs()->editADCsps(sampleRate_.load());
    if (!rate)
        return;
    post(analog::SetSampleRate{*rate, guarded<std::optional<int>>([this](std::optional<int> written) {
                                   if (!written) {
                                       reportCommunicationFailure(AfterFailure::KeepOpen);
                                       return;
                                   }
                                   sampleRate_ = *written;
                               })});
}

void AnalogInputPanel::onAlertSettingsButton(int output)
{
    if (!validOutput(output) || !shape_.outputAlerts || dialogs() == nullptr)
        return;
    DoAlertInputs inputs;
    Alert alert;
    {
        const std::lock_guard guard(rowsMutex_);
        alert = alerts_[static_cast<std::size_t>(output)];
        for (std::size_t row = 0; row < inputs.rangeCodes.size(); ++row) {
            inputs.rangeCodes[row] = rows_[row].range;
            inputs.ledConditions[row] = rows_[row].ledWhenOutside;
            inputs.rawHigh[row] = rows_[row].high;
            inputs.rawLow[row] = rows_[row].low;
        }
    }
    inputs.monitoredAI = alert.monitoredInput;
    inputs.rawWidth = alert.width;
    inputs.direction = alert.direction;
    const auto result = dialogs()->editDOAlert(inputs);
    if (!result)
        return;
    post(analog::SetOutputAlert{output, result->monitoredAI, result->rawWidth, result->direction,
                                guarded<int, std::optional<analog::OutputAlertSettings>>(
                                    [this, output](int, const std::optional<analog::OutputAlertSettings>& settings) {
                                        if (!settings) {
                                            reportCommunicationFailure(AfterFailure::KeepOpen);
                                            return;
                                        }
                                        const std::lock_guard guard(rowsMutex_);
                                        Alert& stored = alerts_[static_cast<std::size_t>(output)];
                                        stored.monitoredInput = settings->firstSetting;
                                        stored.direction = settings->secondSetting;
                                        stored.width = settings->alertRaw;
                                    })});
    const int row = result->monitoredAI;
    int mode = 0;
    {
        const std::lock_guard guard(rowsMutex_);
        mode = rows_.at(static_cast<std::size_t>(row)).thresholdMode;
    }
    post(analog::SetThresholds{row, result->ledCondition, mode, result->rawHigh, result->rawLow,
                               guarded<int, std::optional<analog::Thresholds>>(
                                   [this, row](int, const std::optional<analog::Thresholds>& thresholds) {
                                       onThresholdsWritten(row, thresholds);
                                   })});
}

void AnalogInputPanel::openScaleDialog(int row)
{
    if (!validRow(row))
        return;
    auto& state = rows_[static_cast<std::size_t>(row)];
    const int code = rangeCode(row);
    editFormula(row, false, {rowsMutex_, state.range, state.formula, state.display}, DefaultRange(code));
}

int AnalogInputPanel::rangeCode(int row) const
{
    const std::lock_guard guard(rowsMutex_);
    return rows_.at(static_cast<std::size_t>(row)).range;
}

double AnalogInputPanel::convertedValue(int row) const
{
    const std::lock_guard guard(rowsMutex_);
    return rows_.at(static_cast<std::size_t>(row)).converted;
}

bool AnalogInputPanel::alertOn(int output) const
{
    const std::lock_guard guard(rowsMutex_);
    return alerts_.at(static_cast<std::size_t>(output)).on;
}

std::string AnalogInputPanel::csvHeader()
{
    std::string header = "日付,時刻";
    for (int row = 0; row < shape_.inputs; ++row)
        header += "," + view().text(idsOf(row).name) + ",単位" + std::to_string(row + 1);
    for (int output = 0; output < shape_.outputs; ++output)
        header += "," + view().text(idsOfOutput(output).name);
    return header + "\n";
}

std::string AnalogInputPanel::csvValues() const
{
    std::string values;
    {
        const std::lock_guard guard(rowsMutex_);
        for (int row = 0; row < shape_.inputs; ++row) {
            const InputRow& state = rows_[static_cast<std::size_t>(row)];
            values += "," + FormatCompact(state.converted) + ",";
            values += state.formula.unit.empty() ? UnitOfRange(state.range) : state.formula.unit;
        }
    }
    const int bits = outputs_.load();
    for (int output = 0; output < shape_.outputs; ++output)
        values += ((bits >> output) & 1) != 0 ? ",1" : ",0";
    return values;
}

} // namespace vantel
