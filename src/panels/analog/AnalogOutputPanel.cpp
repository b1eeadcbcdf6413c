#include "panels/analog/AnalogOutputPanel.h"

#include "comm/protocol/AnalogRanges.h"
#include "comm/protocol/ValueConversion.h"
#include "dialogs/NumberBoxFilter.h"
#include "panels/analog/AnalogRowFlows.h"
#include "panels/analog/AnalogWorkerLinks.h"
#include "panels/framework/PanelTexts.h"

#include <cmath>

namespace vantel {
namespace {

using namespace AnalogOutputId;

constexpr int kSignalNameCharacters = 20;

bool IsCurrent(int mode)
{
    return mode == OutputMode::Current;
}

std::string UnitOfMode(int mode)
{
    return std::string(OutputModeOf(mode).unit);
}

std::string SettingText(int mode, double native)
{
    return FormatByRange(mode, native, false) + " " + UnitOfMode(mode);
}

// The output in V or mA for a converted value. A gain of 0 maps every output
// to the offset, so no output can be told from it: the output is 0.
double NativeOf(const ChannelFormula& formula, double converted)
{
    if (formula.gain == 0.0)
        return 0.0;
    const double native = (converted - formula.offset) / formula.gain;
    return std::isfinite(native) ? native : 0.0;
}

} // namespace

AnalogOutputPanel::AnalogOutputPanel(PanelView& view, PanelContext context, ContainerPage page,
                                     std::unique_ptr<AnalogLink> link)
    : AnalogOutputPanel(view, std::move(context), std::move(page), std::make_unique<OutputWorkerLink>(std::move(link)))
{
}

AnalogOutputPanel::AnalogOutputPanel(PanelView& view, PanelContext context, ContainerPage page,
                                     std::unique_ptr<AnalogOutputLink> link)
    : ContainerPanel(view, std::move(context), std::move(page), std::move(link)),
      outputLink_(static_cast<AnalogOutputLink&>(unitLink())), shape_(std::get<AnalogOutputShape>(containerShape()))
{
    for (auto& sweep : sweeps_)
        sweep = std::make_unique<SweepWave>(clock());
    outputLink_.attach(*this);
}

AnalogOutputPanel::~AnalogOutputPanel()
{
    // Deleted without PanelDeleter: the threads still have to stop while
    // the rows exist.
    shutDown();
}

const AnalogOutputId::Row& AnalogOutputPanel::idsOf(int row)
{
    return Rows.at(static_cast<std::size_t>(row));
}

void AnalogOutputPanel::start()
{
    markUnitOpen();
    showTitle(false);
    showStatus(statusText());
    restoreWindowPosition();
    setUpGraph();
    // The rows hold their formulas before the first answer converts with them.
    fillRows();
    inputAuto_ = addAutoFunction({InputAuto, InputPeriod, {ReadInputs, InputPeriodLabel}, shape_.periods});
    openLog(logHeadings());
    view().setText(InputPeriodLabel, shape_.periodUnit);
    for (int row = 0; row < shape_.outputs; ++row) {
        view().setVisible(idsOf(row).sweepSettings, true);
        view().setVisible(idsOf(row).sweep, true);
    }
    view().setVisible(SweepHeading, true);
    startReads();
}

void AnalogOutputPanel::setUpGraph()
{
    startGraph();
    for (int row = 0; row < shape_.outputs; ++row) {
        const std::string name = "AO" + std::to_string(row + 1);
        addSeries(row, name, -10, 10);
        labelGraphRow(row, name + ": " + signalName(SignalSide::Output, row));
    }
    for (int input = 0; input < shape_.inputs; ++input) {
        const std::string name = "DI" + std::to_string(input + 1);
        addDigitalSeries(inputSeries(input), name, input);
        labelGraphRow(inputSeries(input), name + ": " + signalName(SignalSide::Input, input));
    }
}

void AnalogOutputPanel::fillRows()
{
    const UnitRecord* unit = record();
    for (int row = 0; row < shape_.outputs; ++row) {
        const AnalogOutputId::Row& ids = idsOf(row);
        view().setText(ids.output, "");
        rows_.with(row, [&](OutputRow& state) { restoreRow(row, state, unit); });
        view().setMaxLength(ids.name, kSignalNameCharacters);
        addNameBox(ids.name, SignalSide::Output, row);
    }
    for (int input = 0; input < shape_.inputs; ++input) {
        const int name = InputNames.at(static_cast<std::size_t>(input));
        view().setMaxLength(name, kSignalNameCharacters);
        addNameBox(name, SignalSide::Input, input);
    }
}

void AnalogOutputPanel::restoreRow(int row, OutputRow& state, const UnitRecord* unit)
{
    if (unit != nullptr)
        RestoreFromRecord(state, *unit, true, row);
    if (state.display.max > state.display.min) {
        if (LECanvasSeries* trace = series(row))
            trace->SetScale(state.display.min, state.display.max);
    }
    view().setText(idsOf(row).unit, state.formula.unit);
}

// The rows' outputs, then their thresholds.
std::vector<StartUpChain<AnalogOutputPanel>::Reads> AnalogOutputPanel::startUpReads(const AnalogOutputShape& shape)
{
    using Chain = StartUpChain<AnalogOutputPanel>;
    return {
        {Chain::read<analog::ReadOutput, &AnalogOutputPanel::takeStartUpOutput>, shape.outputs},
        {Chain::read<analog::ReadThresholds, &AnalogOutputPanel::takeThresholds>, shape.outputs},
    };
}

void AnalogOutputPanel::takeStartUpOutput(int row, const analog::OutputSetting& setting)
{
    takeOutputSetting(row, setting);
    if (row == 0)
        sendInputRead(kStartUpRead, Caller::GuiThread);
}

void AnalogOutputPanel::takeOutputSetting(int row, const analog::OutputSetting& setting)
{
    rows_.with(row, [&](OutputRow& state) { storeOutputSetting(row, state, setting); });
    setButtonState(row, outputOn(row) ? ButtonState::On : ButtonState::Off);
}

void AnalogOutputPanel::storeOutputSetting(int row, OutputRow& state, const analog::OutputSetting& setting)
{
    state.rangeCode = IsCurrent(setting.mode) ? OutputMode::Current : OutputMode::Voltage;
    state.raw = SignExtend16(setting.raw);
    state.on = state.raw != 0;
    const double native = OutputRawToValue(state.rangeCode, state.raw);
    // The box holds the converted value, so pressing ON/OFF sends back
    // what the unit already has.
    state.value = state.formula.gain * native + state.formula.offset;
    view().setText(idsOf(row).setting, SettingText(state.rangeCode, native));
    view().setText(idsOf(row).output, FormatByRange(state.rangeCode, state.value, false));
    if (!(state.display.max > state.display.min))
        ResetDisplay(state, series(row), kOutputRowScale);
    if (graphPage() != nullptr)
        graphPage()->SetRowUnit(row, state.rangeCode, state.formula.gain, state.formula.offset, state.formula.unit);
    showRow(row, state);
}

void AnalogOutputPanel::takeThresholds(int row, const analog::Thresholds& thresholds)
{
    rows_.with(row, [&](OutputRow& state) { storeThresholds(row, state, thresholds); });
}

void AnalogOutputPanel::storeThresholds(int row, OutputRow& state, const analog::Thresholds& thresholds)
{
    TakeThresholds(state, thresholds);
    showBar(row, state);
}

void AnalogOutputPanel::onThresholdsWritten(int row, const std::optional<analog::Thresholds>& thresholds)
{
    if (!thresholds) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        return;
    }
    rows_.with(row, [&](OutputRow& state) { storeWrittenThresholds(row, state, *thresholds); });
}

// The threshold mode stays as read.
void AnalogOutputPanel::storeWrittenThresholds(int row, OutputRow& state, const analog::Thresholds& thresholds)
{
    state.ledWhenOutside = thresholds.ledWhenOutside;
    state.high = SignExtend16(thresholds.highRaw);
    state.low = SignExtend16(thresholds.lowRaw);
    showBar(row, state);
}

void AnalogOutputPanel::onOutputButton(int row)
{
    if (!validRow(row))
        return;
    const OutputRow state = rows_.read(row);
    if (state.on && state.state != ButtonState::Edited) {
        switchOff(row);
        setButtonState(row, ButtonState::Off);
        return;
    }
    // Read as the box shows it, whatever decimal separator the process locale has.
    setOutput(row, ParseNumberBox(view().text(idsOf(row).output)), Caller::GuiThread);
    setButtonState(row, ButtonState::On);
}

void AnalogOutputPanel::switchOff(int row)
{
    const int mode = rows_.with(row, [&](OutputRow& state) { return storeOff(row, state); });
    sendOutput(row, mode, 0, sweeping(row), Caller::GuiThread);
}

int AnalogOutputPanel::storeOff(int row, OutputRow& state)
{
    state.value = 0;
    state.raw = 0;
    state.on = false;
    view().setText(idsOf(row).setting, SettingText(state.rangeCode, 0));
    showRow(row, state);
    return state.rangeCode;
}

void AnalogOutputPanel::setOutput(int row, double value, Caller caller)
{
    const OutputRow state = rows_.with(row, [&](OutputRow& changed) { return storeOutput(row, changed, value); });
    sendOutput(row, state.rangeCode, state.raw & 0xFFFF, sweeping(row), caller);
}

AnalogOutputPanel::OutputRow AnalogOutputPanel::storeOutput(int row, OutputRow& state, double value)
{
    state.on = true;
    state.value = value;
    const double native = NativeOf(state.formula, value);
    state.raw = ValueToOutputRaw(state.rangeCode, native);
    view().setText(idsOf(row).setting, SettingText(state.rangeCode, native));
    showRow(row, state);
    return state;
}

void AnalogOutputPanel::onOutputWritten(bool written, bool wasSweeping)
{
    if (written)
        return;
    reportCommunicationFailure(AfterFailure::KeepOpen);
    if (wasSweeping) {
        stopAllSweeps();
        switchOffAuto(inputAuto_);
    }
}

std::string AnalogOutputPanel::enterOutput(int row, std::string_view text)
{
    if (!validRow(row))
        return "unknown channel";
    if (sweeping(row))
        return "the output is sweeping";
    const double value = ParseNumberBox(text);
    const OutputRow state = rows_.read(row);
    const double native = NativeOf(state.formula, value);
    const int mode = state.rangeCode;
    const double taken = OutputRawToValue(mode, ValueToOutputRaw(mode, native) & 0xFFFF);
    // One count of the output either way is rounding, more is clamping.
    const double count = std::abs(OutputRawToValue(mode, 1) - OutputRawToValue(mode, 0));
    if (std::abs(taken - native) > count)
        return "value out of range";
    view().setText(idsOf(row).output, text);
    onOutputEdited(row);
    onOutputButton(row);
    return {};
}

void AnalogOutputPanel::onOutputEdited(int row)
{
    if (!validRow(row) || sweeping(row) || !outputOn(row))
        return;
    setButtonState(row, ButtonState::Edited);
}

void AnalogOutputPanel::onSweepButton(int row)
{
    if (!validRow(row))
        return;
    SweepWave& sweep = sweepOf(row);
    if (!sweep.sweeping()) {
        sweep.start();
        setButtonState(row, ButtonState::Sweeping);
        return;
    }
    sweep.stop();
    setButtonState(row, ButtonState::Off);
    onOutputButton(row);
    const OutputRow state = rows_.read(row);
    // Written like every other value of the box, for the row's range.
    view().setText(idsOf(row).output, FormatByRange(state.rangeCode, NativeOf(state.formula, 0.0), false));
}

void AnalogOutputPanel::stopAllSweeps()
{
    for (int row = 0; row < shape_.outputs; ++row) {
        SweepWave& sweep = sweepOf(row);
        if (sweep.sweeping()) {
            sweep.stop();
            setButtonState(row, ButtonState::Off);
        }
    }
}

void AnalogOutputPanel::retireSweeps()
{
    stopAllSweeps();
    for (int row = 0; row < shape_.outputs; ++row)
        view().setEnabled(idsOf(row).sweep, false);
}

void AnalogOutputPanel::setButtonState(int row, ButtonState next)
{
    rows_.with(row, [next](OutputRow& state) { state.state = next; });
    const AnalogOutputId::Row& ids = idsOf(row);
    const bool idle = next == ButtonState::Off;
    const bool sweepRunning = next == ButtonState::Sweeping;
    view().setEnabled(ids.output, !sweepRunning);
    view().setText(ids.button, next == ButtonState::Edited ? kUpdateCaption : kOnOffCaption);
    view().setEnabled(ids.button, !sweepRunning);
    view().setEnabled(ids.formula, idle);
    view().setEnabled(ids.mode, idle);
    if (graphPage() != nullptr)
        graphPage()->enableRow(row, idle);
}

void AnalogOutputPanel::showRow(int row, const OutputRow& state)
{
    view().setIndicator(idsOf(row).indicator, state.on);
    showBar(row, state);
}

void AnalogOutputPanel::showBar(int row, const OutputRow& state)
{
    view().setLevelBar(idsOf(row).bar, BarOf(state, kOutputRowScale));
}

void AnalogOutputPanel::onReadInputs()
{
    sendInputRead(kPeriodicRead, Caller::GuiThread);
}

void AnalogOutputPanel::onInputsRead(std::optional<int> read, int flag)
{
    if (!read) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        stopAllSweeps();
        switchOffAuto(inputAuto_);
        return;
    }
    const int bits = *read;
    inputs_ = bits;
    for (int input = 0; input < shape_.inputs; ++input)
        view().setIndicator(InputIndicators.at(static_cast<std::size_t>(input)), ((bits >> input) & 1) != 0);
    if (flag != kPeriodicRead)
        return;
    const double now = nowSeconds();
    for (int row = 0; row < shape_.outputs; ++row) {
        const OutputRow state = rows_.read(row);
        addSample(row, now, state.value);
        showGraphValue(row, FormatByRange(state.rangeCode, state.value, false));
    }
    for (int input = 0; input < shape_.inputs; ++input) {
        const bool on = ((bits >> input) & 1) != 0;
        addSample(inputSeries(input), now, on ? 1 : 0);
        showGraphValue(inputSeries(input), on ? "ON" : "OFF");
    }
    refreshGraph();
    if (inputAutoOn())
        logValues(readingValues());
}

void AnalogOutputPanel::periodicWork()
{
    for (int row = 0; row < shape_.outputs; ++row) {
        const std::optional<double> value = sweepOf(row).tick();
        if (!value)
            continue;
        view().setText(idsOf(row).output, FormatByRange(outputMode(row), *value, false));
        setOutput(row, *value, Caller::Tick);
    }
    if (autoFunction(inputAuto_).advance()) {
        sendInputRead(kPeriodicRead, Caller::Tick);
        if (shape_.lineWhenReadSent)
            logValues(readingValues());
    }
    outputLink_.tickDone();
}

bool AnalogOutputPanel::onControlClicked(int controlId)
{
    return clicks_.dispatch(controlId);
}

ClickTable AnalogOutputPanel::clickTable()
{
    ClickTable table;
    table.add(ReadInputs, [this] { onReadInputs(); });
    table.addRows(*this, Rows, shape_.outputs,
                  {{&Row::button, &AnalogOutputPanel::onOutputButton},
                   {&Row::sweep, &AnalogOutputPanel::onSweepButton},
                   {&Row::formula, &AnalogOutputPanel::openScaleDialog},
                   {&Row::threshold, &AnalogOutputPanel::onThresholdButton},
                   {&Row::mode, &AnalogOutputPanel::onModeButton},
                   {&Row::sweepSettings, &AnalogOutputPanel::onSweepSettingsButton}});
    return table;
}

void AnalogOutputPanel::onThresholdButton(int row)
{
    if (!validRow(row) || dialogs() == nullptr)
        return;
    const OutputRow state = rows_.read(row);
    if (const auto raw = EditThresholds(*dialogs(), state, kOutputRowScale))
        sendThresholds(row, *raw, state.thresholdMode);
}

void AnalogOutputPanel::onModeButton(int row)
{
    if (!validRow(row) || dialogs() == nullptr)
        return;
    std::string output = "AO" + std::to_string(row + 1);
    if (const std::string name = signalName(SignalSide::Output, row); !name.empty())
        output += ": " + name;
    if (const auto mode = dialogs()->editRange(outputMode(row), output))
        applyOutputMode(row, *mode);
}

void AnalogOutputPanel::onSweepSettingsButton(int row)
{
    if (!validRow(row) || dialogs() == nullptr)
        return;
    SweepWave& sweep = sweepOf(row);
    if (const auto settings = dialogs()->editSweep(sweep.settings(), UnitOfMode(outputMode(row))))
        sweep.setSettings(*settings);
}

void AnalogOutputPanel::applyOutputMode(int row, int mode)
{
    const int next = IsCurrent(mode) ? OutputMode::Current : OutputMode::Voltage;
    if (rows_.with(row, [&](OutputRow& state) { return changeMode(row, state, next); }))
        refreshGraph();
}

bool AnalogOutputPanel::changeMode(int row, OutputRow& state, int mode)
{
    if (state.rangeCode == mode)
        return false;
    state.rangeCode = mode;
    // The setting label speaks the new mode's unit before anything is sent.
    view().setText(idsOf(row).setting, SettingText(mode, OutputRawToValue(mode, state.raw)));
    if (graphPage() != nullptr)
        graphPage()->SetRowUnit(row, mode, state.formula.gain, state.formula.offset, state.formula.unit);
    if (LECanvasSeries* trace = series(row))
        trace->ClearSamples();
    ResetDisplay(state, series(row), kOutputRowScale);
    showBar(row, state);
    return true;
}

SweepSettings AnalogOutputPanel::sweepSettings(int row) const
{
    return sweepOf(row).settings();
}

void AnalogOutputPanel::openScaleDialog(int row)
{
    if (!validRow(row))
        return;
    const int code = outputMode(row);
    if (editFormula(row, true, rows_.formulaState<FormulaState>(row), kOutputRowScale.defaultGraph(code)))
        view().setText(idsOf(row).unit, rows_.read(row).formula.unit);
}

AnalogOutputPanel::ButtonState AnalogOutputPanel::buttonState(int row) const
{
    return rows_.read(row).state;
}

bool AnalogOutputPanel::outputOn(int row) const
{
    return rows_.read(row).on;
}

double AnalogOutputPanel::outputValue(int row) const
{
    return rows_.read(row).value;
}

int AnalogOutputPanel::outputMode(int row) const
{
    return rows_.read(row).rangeCode;
}

int AnalogOutputPanel::outputRaw(int row) const
{
    return rows_.read(row).raw;
}

bool AnalogOutputPanel::sweeping(int row) const
{
    return sweepOf(row).sweeping();
}

std::vector<ColumnHeading> AnalogOutputPanel::logHeadings()
{
    std::vector<ColumnHeading> headings;
    for (int input = 0; input < shape_.inputs; ++input)
        headings.push_back({view().text(InputNames.at(static_cast<std::size_t>(input))), false});
    for (int row = 0; row < shape_.outputs; ++row)
        headings.push_back({view().text(idsOf(row).name), true});
    return headings;
}

ReadingValues AnalogOutputPanel::readingValues() const
{
    ReadingValues values = BitColumns(inputs_.load(), shape_.inputs);
    rows_.forEach(shape_.outputs, [&values](int, const OutputRow& state) {
        values.push_back(ValueColumnOf(state, state.value, kOutputRowScale));
    });
    return values;
}

} // namespace vantel
