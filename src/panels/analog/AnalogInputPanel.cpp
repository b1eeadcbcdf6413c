#include "panels/analog/AnalogInputPanel.h"

#include "comm/protocol/AnalogRanges.h"
#include "comm/protocol/ValueConversion.h"
#include "panels/analog/AnalogRowFlows.h"
#include "panels/analog/AnalogWorkerLinks.h"
#include "panels/framework/PanelTexts.h"

#include <vector>

namespace vantel {
namespace {

using namespace AnalogInputId;

constexpr int kSignalNameCharacters = 20;
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

// What the alert dialog shows of an input it may monitor.
void PutMonitoredRow(DoAlertInputs& inputs, int row, const AnalogRow& state)
{
    const auto slot = static_cast<std::size_t>(row);
    inputs.rangeCodes[slot] = state.rangeCode;
    inputs.ledConditions[slot] = state.ledWhenOutside;
    inputs.rawHigh[slot] = state.high;
    inputs.rawLow[slot] = state.low;
}

} // namespace

AnalogInputPanel::AnalogInputPanel(PanelView& view, PanelContext context, ContainerPage page,
                                   std::unique_ptr<AnalogLink> link)
    : AnalogInputPanel(view, std::move(context), std::move(page), std::make_unique<InputWorkerLink>(std::move(link)))
{
}

AnalogInputPanel::AnalogInputPanel(PanelView& view, PanelContext context, ContainerPage page,
                                   std::unique_ptr<AnalogInputLink> link)
    : ContainerPanel(view, std::move(context), std::move(page), std::move(link)),
      inputLink_(static_cast<AnalogInputLink&>(unitLink())), shape_(std::get<AnalogInputShape>(containerShape()))
{
    inputLink_.attach(*this);
}

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
    openLog(logHeadings());
    startReads();
}

void AnalogInputPanel::fillRows()
{
    std::vector<std::string> ranges;
    const int rangeItems = shape_.thermocouple ? InputRange::Count : InputRange::Thermocouple;
    for (int code = 0; code < rangeItems; ++code)
        ranges.emplace_back(RangeText(code));
    const UnitRecord* unit = record();
    for (int row = 0; row < shape_.inputs; ++row) {
        const Row& ids = idsOf(row);
        view().setItems(ids.range, ranges);
        if (shape_.thermocouple)
            view().setEnabled(ids.thermocouple, false);
        view().setMaxLength(ids.name, kSignalNameCharacters);
        addNameBox(ids.name, SignalSide::Input, row);
        if (unit != nullptr)
            rows_.with(row, [&](InputRow& state) { RestoreFromRecord(state, *unit, false, row); });
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
        GraphRange display = rows_.read(row).display;
        if (!(display.max > display.min))
            display = kInputRowScale.defaultGraph(InputRange::Volt10);
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
    return static_cast<int>(startUp_.length());
}

// Outputs, sample rate, then per row its range, its thresholds and (where
// the unit has them) its thermocouple, then the outputs' alerts.
std::vector<StartUpChain<AnalogInputPanel>::Reads> AnalogInputPanel::startUpReads(const AnalogInputShape& shape)
{
    using Chain = StartUpChain<AnalogInputPanel>;
    return {
        {Chain::read<analog::ReadDigitalOutputs, &AnalogInputPanel::takeOutputs>, shape.outputs > 0 ? 1 : 0},
        {Chain::read<analog::ReadConfigByte, &AnalogInputPanel::takeSampleRate>, 1},
        {Chain::read<analog::ReadRange, &AnalogInputPanel::takeRange>, shape.inputs},
        {Chain::read<analog::ReadThresholds, &AnalogInputPanel::onThresholdsRead>, shape.inputs},
        {Chain::read<analog::ReadThermocouple, &AnalogInputPanel::storeThermocouple>,
         shape.thermocouple ? shape.inputs : 0},
        {Chain::read<analog::ReadOutputAlert, &AnalogInputPanel::onAlertRead>, shape.outputAlerts ? shape.outputs : 0},
    };
}

void AnalogInputPanel::onRangeRead(int row, int range)
{
    rows_.with(row, [&](InputRow& state) { storeRange(row, state, range); });
    showRange(row, range);
}

void AnalogInputPanel::storeRange(int row, InputRow& state, int range)
{
    state.rangeCode = range;
    if (!(state.display.max > state.display.min))
        ResetDisplay(state, series(row), kInputRowScale);
    if (graphPage() != nullptr)
        graphPage()->SetRowUnit(row, range, state.formula.gain, state.formula.offset, state.formula.unit);
    showBar(row, state);
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
    rows_.with(row, [&](InputRow& state) { storeThresholds(row, state, thresholds); });
}

void AnalogInputPanel::storeThresholds(int row, InputRow& state, const analog::Thresholds& thresholds)
{
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
    rows_.with(row, [&](InputRow& state) { state.thermocouple = {settings.type, settings.setting}; });
}

void AnalogInputPanel::showBar(int row, const InputRow& state)
{
    view().setLevelBar(idsOf(row).bar, BarOf(state, kInputRowScale));
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
        const int reading = readings->at(static_cast<std::size_t>(row));
        const Shown shown = rows_.with(row, [&](InputRow& state) { return takeReading(row, state, reading); });
        addSample(row, now, shown.value);
        showGraphValue(row, shown.text);
    }
    const int bits = outputs_.load();
    for (int output = 0; output < shape_.outputs; ++output) {
        const bool on = ((bits >> output) & 1) != 0;
        addSample(outputSeries(output), now, on ? 1 : 0);
        showGraphValue(outputSeries(output), on ? "ON" : "OFF");
    }
    refreshGraph();
    if (inputAutoOn())
        logValues(readingValues());
}

AnalogInputPanel::Shown AnalogInputPanel::takeReading(int row, InputRow& state, int reading)
{
    state.raw = SignExtend24(reading);
    const double value = ReadingToValue(state.raw, state.rangeCode);
    const double factor = InputRangeOf(state.rangeCode).shownFactor;
    const double measured = value * factor;
    state.converted = (state.formula.gain * value + state.formula.offset) * factor;
    const std::string shown = FormatByRange(state.rangeCode, state.converted, true);
    view().setText(idsOf(row).measured,
                   FormatByRange(state.rangeCode, measured, true) + " " + UnitOfRange(state.rangeCode));
    view().setText(idsOf(row).converted, shown + " " + state.formula.unit);
    showBar(row, state);
    return {state.converted, shown};
}

void AnalogInputPanel::stopPolling()
{
    switchOffAuto(inputAuto_);
    for (int output = 0; output < shape_.outputs; ++output)
        switchOffAuto(outputAutoIndex(output));
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
        if (autoFunction(outputAutoIndex(output)).advance())
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

void AnalogInputPanel::onRangeWritten(int row, std::optional<int> written, int previous)
{
    if (!written) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        showRange(row, previous);
        return;
    }
    const int range = *written;
    const GraphRange display = rows_.with(row, [&](InputRow& state) { return resetRow(row, state, range); });
    showRange(row, range);
    view().setText(idsOf(row).measured, "");
    view().setText(idsOf(row).converted, "");
    if (graphPage() != nullptr)
        graphPage()->SetRowUnit(row, range, 1.0, 0.0, "");
    if (LECanvasSeries* trace = series(row))
        trace->ClearSamples();
    refreshGraph();
    // The formula and the graph range belong to the unit record.
    runOnGuiThread([this, row, display] { forgetRecordedFormula(row, display); });
}

GraphRange AnalogInputPanel::resetRow(int row, InputRow& state, int range)
{
    state.rangeCode = range;
    state.formula = {};
    ResetDisplay(state, series(row), kInputRowScale);
    view().setLevelBar(idsOf(row).bar, EmptyBarOf(range, kInputRowScale));
    return state.display;
}

void AnalogInputPanel::forgetRecordedFormula(int row, GraphRange display)
{
    if (UnitRecord* unit = record()) {
        const auto slot = static_cast<std::size_t>(row);
        unit->inputFormulas[slot] = {};
        unit->graphMin[slot] = display.min;
        unit->graphMax[slot] = display.max;
    }
}

void AnalogInputPanel::onAlertRead(int output, const analog::OutputAlertState& alert)
{
    const bool on = alert.statusBit != 0;
    alerts_.with(output, [&](Alert& stored) {
        stored = {on, alert.settings.firstSetting, alert.settings.secondSetting, alert.settings.alertRaw};
    });
    view().setChecked(idsOfOutput(output).alert, on);
    lockOutput(output, on);
}

void AnalogInputPanel::lockOutput(int output, bool alertOn)
{
    const Output& ids = idsOfOutput(output);
    // The unit drives an output whose alert is on: nothing toggles it from here.
    if (alertOn)
        switchOffAuto(outputAutoIndex(output));
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
    alerts_.with(output, [on](Alert& stored) { stored.on = on; });
    view().setChecked(idsOfOutput(output).alert, on);
    lockOutput(output, on);
    showOutputs(switched->outputs);
}

bool AnalogInputPanel::onControlClicked(int controlId)
{
    return clicks_.dispatch(controlId);
}

ClickTable AnalogInputPanel::clickTable()
{
    ClickTable table;
    table.add(ReadInputs, [this] { onReadInputs(); });
    if (shape_.sampleRate)
        table.add(SampleRate, [this] { onSampleRateButton(); });
    table.addRows(*this, Outputs, shape_.outputs,
                  {{&Output::button, &AnalogInputPanel::onOutputButton},
                   {&Output::alert, &AnalogInputPanel::onAlertClicked},
                   {&Output::alertSettings, &AnalogInputPanel::onAlertSettingsButton}});
    table.addRows(*this, Rows, shape_.inputs,
                  {{&Row::formula, &AnalogInputPanel::openScaleDialog},
                   {&Row::threshold, &AnalogInputPanel::onThresholdButton},
                   {&Row::thermocouple, &AnalogInputPanel::onThermocoupleButton}});
    return table;
}

void AnalogInputPanel::onThresholdButton(int row)
{
    if (!validRow(row) || dialogs() == nullptr)
        return;
    const InputRow state = rows_.read(row);
    if (const auto raw = EditThresholds(*dialogs(), state, kInputRowScale))
        sendThresholds(row, *raw, state.thresholdMode);
}

void AnalogInputPanel::onThermocoupleButton(int row)
{
    if (!validRow(row) || dialogs() == nullptr || rangeCode(row) != InputRange::Thermocouple)
        return;
    const ThermocoupleSetting current = rows_.read(row).thermocouple;
    if (const auto chosen = dialogs()->editTCSetting(current))
        sendThermocouple(row, *chosen);
}

void AnalogInputPanel::onSampleRateButton()
{
    if (dialogs() == nullptr)
        return;
    const auto rate = dialogs()->editADCsps(sampleRate_.load());
    if (!rate)
        return;
    post(analog::SetSampleRate{
        *rate, guarded<std::optional<int>>([this](std::optional<int> written) { onSampleRateWritten(written); })});
}

void AnalogInputPanel::onSampleRateWritten(std::optional<int> written)
{
    if (!written) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        return;
    }
    sampleRate_ = *written;
}

void AnalogInputPanel::onAlertSettingsButton(int output)
{
    if (!validOutput(output) || !shape_.outputAlerts || dialogs() == nullptr)
        return;
    DoAlertInputs inputs;
    rows_.forEach(static_cast<int>(inputs.rangeCodes.size()),
                  [&inputs](int row, const InputRow& state) { PutMonitoredRow(inputs, row, state); });
    const Alert alert = alerts_.read(output);
    inputs.monitoredAI = alert.monitoredInput;
    inputs.rawWidth = alert.width;
    inputs.direction = alert.direction;
    const auto result = dialogs()->editDOAlert(inputs);
    if (!result)
        return;
    post(analog::SetOutputAlert{output, result->monitoredAI, result->rawWidth, result->direction,
                                guarded<int, std::optional<analog::OutputAlertSettings>>(
                                    [this, output](int, const std::optional<analog::OutputAlertSettings>& settings) {
                                        onAlertSettingsWritten(output, settings);
                                    })});
    sendAlertThresholds(*result);
}

void AnalogInputPanel::onAlertSettingsWritten(int output, const std::optional<analog::OutputAlertSettings>& settings)
{
    if (!settings) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        return;
    }
    alerts_.with(output, [&settings](Alert& stored) {
        stored = {stored.on, settings->firstSetting, settings->secondSetting, settings->alertRaw};
    });
}

// The monitored input's LED thresholds, as the alert dialog set them.
void AnalogInputPanel::sendAlertThresholds(const DoAlertResult& result)
{
    const int row = result.monitoredAI;
    const int mode = rows_.read(row).thresholdMode;
    post(analog::SetThresholds{row, result.ledCondition, mode, result.rawHigh, result.rawLow,
                               guarded<int, std::optional<analog::Thresholds>>(
                                   [this, row](int, const std::optional<analog::Thresholds>& thresholds) {
                                       onThresholdsWritten(row, thresholds);
                                   })});
}

void AnalogInputPanel::openScaleDialog(int row)
{
    if (!validRow(row))
        return;
    const int code = rangeCode(row);
    editFormula(row, false, rows_.formulaState<FormulaState>(row), kInputRowScale.defaultGraph(code));
}

int AnalogInputPanel::rangeCode(int row) const
{
    return rows_.read(row).rangeCode;
}

double AnalogInputPanel::convertedValue(int row) const
{
    return rows_.read(row).converted;
}

bool AnalogInputPanel::alertOn(int output) const
{
    return alerts_.read(output).on;
}

std::vector<ColumnHeading> AnalogInputPanel::logHeadings()
{
    std::vector<ColumnHeading> headings;
    for (int row = 0; row < shape_.inputs; ++row)
        headings.push_back({view().text(idsOf(row).name), true});
    for (int output = 0; output < shape_.outputs; ++output)
        headings.push_back({view().text(idsOfOutput(output).name), false});
    return headings;
}

ReadingValues AnalogInputPanel::readingValues() const
{
    ReadingValues values;
    rows_.forEach(shape_.inputs, [&values](int, const InputRow& state) {
        values.push_back(ValueColumnOf(state, state.converted, kInputRowScale));
    });
    const ReadingValues bits = BitColumns(outputs_.load(), shape_.outputs);
    values.insert(values.end(), bits.begin(), bits.end());
    return values;
}

} // namespace vantel
