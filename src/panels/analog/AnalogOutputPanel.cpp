#include "panels/analog/AnalogOutputPanel.h"

#include "comm/protocol/AnalogRanges.h"
#include "comm/protocol/ValueConversion.h"
#include "dialogs/NumberBoxFilter.h"
#include "panels/framework/PanelTexts.h"

#include <cmath>

namespace vantel {
namespace {

using namespace AnalogOutputId;

constexpr int kSignalNameCharacters = 20;
constexpr int kVoltageBarMaximum = 0xFFFF;
constexpr int kCurrentBarMaximum = 0x7FFF;
constexpr int kVoltageBarOffset = 0x8000;

bool IsCurrent(int mode)
{
    return mode == OutputMode::Current;
}

GraphRange DefaultRange(int mode)
{
    return OutputModeOf(mode).defaultGraph;
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
    openLog(csvHeader());
    view().setText(InputPeriodLabel, shape_.periodUnit);
    for (int row = 0; row < shape_.outputs; ++row) {
        view().setVisible(idsOf(row).sweepSettings, true);
        view().setVisible(idsOf(row).sweep, true);
    }
    view().setVisible(SweepHeading, true);
    startReads();
}

void AnalogOutputPanel::startReads()
{
    readOutput(0);
    startTicking();
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
        const auto slot = static_cast<std::size_t>(row);
        const AnalogOutputId::Row& ids = idsOf(row);
        view().setText(ids.output, "");
        {
            const std::lock_guard guard(rowsMutex_);
            OutputRow& state = rows_[slot];
            if (unit != nullptr) {
                state.formula = unit->outputFormulas[slot];
                state.display = {unit->graphMin[slot], unit->graphMax[slot]};
            }
            if (state.display.max > state.display.min) {
                if (LECanvasSeries* trace = series(row))
                    trace->SetScale(state.display.min, state.display.max);
            }
            view().setText(ids.unit, state.formula.unit);
        }
        view().setMaxLength(ids.name, kSignalNameCharacters);
        addNameBox(ids.name, SignalSide::Output, row);
    }
    for (int input = 0; input < shape_.inputs; ++input) {
        view().setMaxLength(InputNames.at(static_cast<std::size_t>(input)), kSignalNameCharacters);
        addNameBox(InputNames.at(static_cast<std::size_t>(input)), SignalSide::Input, input);
    }
}

void AnalogOutputPanel::readOutput(int row)
{
    post(analog::ReadOutput{row, guarded<int, std::optional<analog::OutputSetting>>(
                                     [this, row](int, const std::optional<analog::OutputSetting>& setting) {
                                         onOutputRead(row, setting);
                                     })});
}

void AnalogOutputPanel::readThresholds(int row)
{
    post(analog::ReadThresholds{row, guarded<int, std::optional<analog::Thresholds>>(
                                         [this, row](int, const std::optional<analog::Thresholds>& thresholds) {
                                             onThresholdsRead(row, thresholds);
                                         })});
}

void AnalogOutputPanel::sendInputRead(int flag, Caller)
{
    post(analog::ReadDigitalInputs{flag, guarded<std::optional<int>, int>([this, flag](std::optional<int> bits, int) {
                                       onInputsRead(bits, flag);
                                   })});
}

void AnalogOutputPanel::onOutputRead(int row, const std::optional<analog::OutputSetting>& setting)
{
    if (!setting) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        return;
    }
    ++startUpAnswers_;
    takeOutputSetting(row, *setting);
    // The start-up chain: the DI read after the first answer, then the
    // other rows, then the thresholds.
    if (row == 0)
        sendInputRead(kStartUpRead, Caller::GuiThread);
    if (row + 1 < shape_.outputs)
        readOutput(row + 1);
    else
        readThresholds(0);
}

void AnalogOutputPanel::takeOutputSetting(int row, const analog::OutputSetting& setting)
{
    {
        const std::lock_guard guard(rowsMutex_);
        OutputRow& state = rows_[static_cast<std::size_t>(row)];
        state.mode = IsCurrent(setting.mode) ? OutputMode::Current : OutputMode::Voltage;
        state.raw = SignExtend16(setting.raw);
        state.on = state.raw != 0;
        const double native = OutputRawToValue(state.mode, state.raw);
        // The box holds the converted value, so pressing ON/OFF sends back
        // what the unit already has.
        state.value = state.formula.gain * native + state.formula.offset;
        view().setText(idsOf(row).setting, SettingText(state.mode, native));
        view().setText(idsOf(row).output, FormatByRange(state.mode, state.value, false));
        if (!(state.display.max > state.display.min))
            applyDefaultRange(row, state);
        if (graphPage() != nullptr)
            graphPage()->SetRowUnit(row, state.mode, state.formula.gain, state.formula.offset, state.formula.unit);
        showRow(row, state);
    }
    setButtonState(row, outputOn(row) ? ButtonState::On : ButtonState::Off);
}

void AnalogOutputPanel::onThresholdsRead(int row, const std::optional<analog::Thresholds>& thresholds)
{
    if (!thresholds) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        return;
    }
    ++startUpAnswers_;
    takeThresholds(row, *thresholds);
    if (row + 1 < shape_.outputs)
        readThresholds(row + 1);
}

void AnalogOutputPanel::takeThresholds(int row, const analog::Thresholds& thresholds)
{
    const std::lock_guard guard(rowsMutex_);
    OutputRow& state = rows_[static_cast<std::size_t>(row)];
    TakeThresholds(state, thresholds);
    showBar(row, state);
}

void AnalogOutputPanel::onThresholdsWritten(int row, const std::optional<analog::Thresholds>& thresholds)
{
    if (!thresholds) {
        reportCommunicationFailure(AfterFailure::KeepOpen);
        return;
    }
    const std::lock_guard guard(rowsMutex_);
    OutputRow& state = rows_[static_cast<std::size_t>(row)];
    state.ledWhenOutside = thresholds->ledWhenOutside;
    state.high = SignExtend16(thresholds->highRaw);
    state.low = SignExtend16(thresholds->lowRaw);
    showBar(row, state);
}

void AnalogOutputPanel::onOutputButton(int row)
{
    if (!validRow(row))
        return;
    bool switchingOff = false;
    {
        const std::lock_guard guard(rowsMutex_);
        const OutputRow& state = rows_[static_cast<std::size_t>(row)];
        switchingOff = state.on && state.state != ButtonState::Edited;
    }
    if (switchingOff) {
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
    int mode = 0;
    {
        const std::lock_guard guard(rowsMutex_);
        OutputRow& state = rows_[static_cast<std::size_t>(row)];
        state.value = 0;
        state.raw = 0;
        state.on = false;
        mode = state.mode;
        view().setText(idsOf(row).setting, SettingText(mode, 0));
        showRow(row, state);
    }
    sendOutput(row, mode, 0, sweeping(row), Caller::GuiThread);
}

void AnalogOutputPanel::setOutput(int row, double value, Caller caller)
{
    int mode = 0;
    int raw = 0;
    {
        const std::lock_guard guard(rowsMutex_);
        OutputRow& state = rows_[static_cast<std::size_t>(row)];
        state.on = true;
        state.value = value;
        const double native = NativeOf(state.formula, value);
        state.raw = ValueToOutputRaw(state.mode, native);
        mode = state.mode;
        raw = state.raw;
        view().setText(idsOf(row).setting, SettingText(mode, native));
        showRow(row, state);
    }
    sendOutput(row, mode, raw & 0xFFFF, sweeping(row), caller);
}

void AnalogOutputPanel::sendOutput(int row, int mode, int raw, bool wasSweeping, Caller)
{
    post(analog::SetOutput{row, mode, raw,
                           guarded<int, std::optional<int>>([this, wasSweeping](int, std::optional<int> written) {
                               onOutputWritten(written.has_value(), wasSweeping);
                           })});
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
    SweepWave& sweep = *sweeps_[static_cast<std::size_t>(row)];
    if (!sweep.sweeping()) {
        sweep.start();
        setButtonState(row, ButtonState::Sweeping);
        return;
    }
    sweep.stop();
    setButtonState(row, ButtonState::Off);
    onOutputButton(row);
    ChannelFormula formula;
    int mode = 0;
    {
        const std::lock_guard guard(rowsMutex_);
        formula = rows_[static_cast<std::size_t>(row)].formula;
        mode = rows_[static_cast<std::size_t>(row)].mode;
    }
    // Written like every other value of the box, for the row's range.
    view().setText(idsOf(row).output, FormatByRange(mode, NativeOf(formula, 0.0), false));
}

void AnalogOutputPanel::stopAllSweeps()
{
    for (int row = 0; row < shape_.outputs; ++row) {
        SweepWave& sweep = *sweeps_[static_cast<std::size_t>(row)];
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
    {
        const std::lock_guard guard(rowsMutex_);
        rows_[static_cast<std::size_t>(row)].state = next;
    }
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
    const bool current = IsCurrent(state.mode);
    const bool inside = state.low <= state.raw && state.raw <= state.high;
    LevelBar bar;
    bar.maximum = current ? kCurrentBarMaximum : kVoltageBarMaximum;
    bar.position = current ? std::max(0, state.raw) : state.raw + kVoltageBarOffset;
    bar.alarm = inside == (state.ledWhenOutside == 0);
    view().setLevelBar(idsOf(row).bar, bar);
}

void AnalogOutputPanel::applyDefaultRange(int row, OutputRow& state)
{
    state.display = DefaultRange(state.mode);
    if (LECanvasSeries* trace = series(row))
        trace->SetScale(state.display.min, state.display.max);
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
        double value = 0;
        int mode = 0;
        {
            const std::lock_guard guard(rowsMutex_);
            value = rows_[static_cast<std::size_t>(row)].value;
            mode = rows_[static_cast<std::size_t>(row)].mode;
        }
        addSample(row, now, value);
        showGraphValue(row, FormatByRange(mode, value, false));
    }
    for (int input = 0; input < shape_.inputs; ++input) {
        const bool on = ((bits >> input) & 1) != 0;
        addSample(inputSeries(input), now, on ? 1 : 0);
        showGraphValue(inputSeries(input), on ? "ON" : "OFF");
    }
    refreshGraph();
    if (inputAutoOn())
        logValues(csvValues());
}

void AnalogOutputPanel::periodicWork()
{
    for (int row = 0; row < shape_.outputs; ++row) {
        const std::optional<double> value = sweeps_[static_cast<std::size_t>(row)]->tick();
        if (!value)
            continue;
        view().setText(idsOf(row).output, FormatByRange(outputMode(row), *value, false));
        setOutput(row, *value, Caller::Tick);
    }
    if (autoFunction(inputAuto_).advance()) {
        sendInputRead(kPeriodicRead, Caller::Tick);
        if (shape_.lineWhenReadSent)
            logValues(csvValues());
    }
}

bool AnalogOutputPanel::onControlClicked(int controlId)
{
    if (controlId == ReadInputs) {
        onReadInputs();
        return true;
    }
    for (int row = 0; row < shape_.outputs; ++row) {
        const AnalogOutputId::Row& ids = idsOf(row);
        if (controlId == ids.button)
            onOutputButton(row);
        else if (controlId == ids.sweep)
            onSweepButton(row);
        else if (controlId == ids.formula)
            openScaleDialog(row);
        else if (controlId == ids.threshold)
            onThresholdButton(row);
        else if (controlId == ids.mode)
            onModeButton(row);
        else if (controlId == ids.sweepSettings)
            onSweepSettingsButton(row);
        else
            continue;
        return true;
    }
    return false;
}

void AnalogOutputPanel::onThresholdButton(int row)
{
    if (!validRow(row) || dialogs() == nullptr)
        return;
    RawThresholds raw;
    int mode = 0;
    {
        const std::lock_guard guard(rowsMutex_);
        const OutputRow& state = rows_[static_cast<std::size_t>(row)];
        raw = {state.low, state.high, state.ledWhenOutside != 0};
        mode = state.mode;
    }
    if (const auto values = dialogs()->editThreshold(ThresholdsFromRaw(raw, mode, ScaleKind::ByOutputMode)))
        applyThresholds(row, *values);
}

void AnalogOutputPanel::applyThresholds(int row, const ThresholdSettings& values)
{
    int thresholdMode = 0;
    int mode = 0;
    {
        const std::lock_guard guard(rowsMutex_);
        thresholdMode = rows_[static_cast<std::size_t>(row)].thresholdMode;
        mode = rows_[static_cast<std::size_t>(row)].mode;
    }
    sendThresholds(row, ThresholdsToRaw(values, mode, ScaleKind::ByOutputMode), thresholdMode);
}

void AnalogOutputPanel::sendThresholds(int row, const RawThresholds& raw, int thresholdMode)
{
    post(analog::SetThresholds{row, raw.ledWhenOutside ? 1 : 0, thresholdMode, raw.high, raw.low,
                               guarded<int, std::optional<analog::Thresholds>>(
                                   [this, row](int, const std::optional<analog::Thresholds>& thresholds) {
                                       onThresholdsWritten(row, thresholds);
                                   })});
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
    SweepWave& sweep = *sweeps_[static_cast<std::size_t>(row)];
    if (const auto settings = dialogs()->editSweep(sweep.settings(), UnitOfMode(outputMode(row))))
        sweep.setSettings(*settings);
}

void AnalogOutputPanel::applyOutputMode(int row, int mode)
{
    const int next = IsCurrent(mode) ? OutputMode::Current : OutputMode::Voltage;
    {
        const std::lock_guard guard(rowsMutex_);
        OutputRow& state = rows_[static_cast<std::size_t>(row)];
        if (state.mode == next)
            return;
        state.mode = next;
        // The setting label speaks the new mode's unit before anything is sent.
        view().setText(idsOf(row).setting, SettingText(next, OutputRawToValue(next, state.raw)));
        if (graphPage() != nullptr)
            graphPage()->SetRowUnit(row, next, state.formula.gain, state.formula.offset, state.formula.unit);
        if (LECanvasSeries* trace = series(row))
            trace->ClearSamples();
        applyDefaultRange(row, state);
        showBar(row, state);
    }
    refreshGraph();
}

SweepSettings AnalogOutputPanel::sweepSettings(int row) const
{
    return sweeps_.at(static_cast<std::size_t>(row))->settings();
}

void AnalogOutputPanel::openScaleDialog(int row)
{
    if (!validRow(row))
        return;
    auto& state = rows_[static_cast<std::size_t>(row)];
    const int code = outputMode(row);
    if (editFormula(row, true, {rowsMutex_, state.mode, state.formula, state.display}, DefaultRange(code)))
        view().setText(idsOf(row).unit, state.formula.unit);
}

AnalogOutputPanel::ButtonState AnalogOutputPanel::buttonState(int row) const
{
    const std::lock_guard guard(rowsMutex_);
    return rows_.at(static_cast<std::size_t>(row)).state;
}

bool AnalogOutputPanel::outputOn(int row) const
{
    const std::lock_guard guard(rowsMutex_);
    return rows_.at(static_cast<std::size_t>(row)).on;
}

double AnalogOutputPanel::outputValue(int row) const
{
    const std::lock_guard guard(rowsMutex_);
    return rows_.at(static_cast<std::size_t>(row)).value;
}

int AnalogOutputPanel::outputMode(int row) const
{
    const std::lock_guard guard(rowsMutex_);
    return rows_.at(static_cast<std::size_t>(row)).mode;
}

int AnalogOutputPanel::outputRaw(int row) const
{
    const std::lock_guard guard(rowsMutex_);
    return rows_.at(static_cast<std::size_t>(row)).raw;
}

bool AnalogOutputPanel::sweeping(int row) const
{
    return sweeps_.at(static_cast<std::size_t>(row))->sweeping();
}

std::string AnalogOutputPanel::csvHeader()
{
    std::string header = "日付,時刻";
    for (int input = 0; input < shape_.inputs; ++input)
        header += "," + view().text(InputNames.at(static_cast<std::size_t>(input)));
    for (int row = 0; row < shape_.outputs; ++row)
        header += "," + view().text(idsOf(row).name) + ",単位" + std::to_string(row + 1);
    return header + "\n";
}

std::string AnalogOutputPanel::csvValues() const
{
    std::string values;
    const int bits = inputs_.load();
    for (int input = 0; input < shape_.inputs; ++input)
        values += ((bits >> input) & 1) != 0 ? ",1" : ",0";
    const std::lock_guard guard(rowsMutex_);
    for (int row = 0; row < shape_.outputs; ++row) {
        const OutputRow& state = rows_[static_cast<std::size_t>(row)];
        values += "," + FormatCompact(state.value) + ",";
        values += state.formula.unit.empty() ? UnitOfMode(state.mode) : state.formula.unit;
    }
    return values;
}

} // namespace vantel
