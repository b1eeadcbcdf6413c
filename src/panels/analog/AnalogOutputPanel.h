#pragma once

#include "dialogs/SettingsDialogs.h"
#include "logging/CsvText.h"
#include "panels/analog/AnalogLinks.h"
#include "panels/analog/AnalogOutputIds.h"
#include "panels/analog/AnalogRows.h"
#include "panels/analog/ClickTable.h"
#include "panels/analog/StartUpChain.h"
#include "panels/analog/SweepWave.h"
#include "panels/framework/ContainerPanel.h"
#include "panels/framework/PanelShapes.h"
#include "panels/framework/PanelTexts.h"
#include "panels/framework/WorkerLink.h"

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantel {

// The analog-output panels: per AO row an output set in volts or
// milliamperes through the row's formula, switched on and off, swept, with
// its LED thresholds on a bar; a bank of digital inputs read by hand or
// polled; traces of every row on the graph page and CSV lines of both.
//
// Row state is changed by the GUI thread (buttons), the tick (sweeps) and
// the worker (answers) under one lock; the controls are written through the
// thread-safe view.
class AnalogOutputPanel : public ContainerPanel {
public:
    enum class ButtonState { Off = 0, Edited = 1, On = 2, Sweeping = 3 };

    static constexpr const char* kUpdateCaption = "更新";
    static constexpr const char* kOnOffCaption = kOnOffButtonCaption;

    // The shape of its rows comes with the page. A unit on the LAN, through
    // its own worker:
    AnalogOutputPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogLink> link);
    // Any other link (a node behind the gateway):
    AnalogOutputPanel(PanelView& view, PanelContext context, ContainerPage page,
                      std::unique_ptr<AnalogOutputLink> link);
    ~AnalogOutputPanel() override;

    // GUI thread, once the container's window exists: fills the rows, sets
    // the graph up, sends the start-up reads, opens the log, starts the tick.
    void start() override;

    // GUI thread: the row buttons, "入力" and the edits of an output box.
    void onOutputButton(int row);
    void onOutputEdited(int row);
    // GUI thread: what a user does to set an output: types `text` into the
    // row's box and presses its button. Refused (with the reason; empty
    // when done) where the user could not: the box is locked by a sweep,
    // or the value, through the row's formula, lies outside what the
    // output takes in its current mode.
    std::string enterOutput(int row, std::string_view text);
    void onSweepButton(int row);
    void onReadInputs();
    // Dispatches a click by control id; false for an id the panel does not handle.
    bool onControlClicked(int controlId);

    // GUI thread: the settings dialogs of a row (閾値, V/I, 設定, 換算式 and
    // the graph page's "Scale"), run through the context's SettingsDialogs.
    void onThresholdButton(int row);
    void onModeButton(int row);
    void onSweepSettingsButton(int row);
    void openScaleDialog(int row) override;
    SweepSettings sweepSettings(int row) const;

    int outputCount() const { return shape_.outputs; }
    int inputCount() const { return shape_.inputs; }
    ButtonState buttonState(int row) const;
    bool outputOn(int row) const;
    // The converted output value (what the output box shows, the trace and the log).
    double outputValue(int row) const;
    int outputMode(int row) const;
    int outputRaw(int row) const;
    bool sweeping(int row) const;
    int inputBits() const { return inputs_.load(); }
    // True while commands of earlier ticks are still on their way (see AnalogOutputLink).
    bool tickCommandsPending() const { return outputLink_.tickCommandsPending(); }
    bool inputAutoOn() { return autoFunction(inputAuto_).isOn(); }
    // Answers of the start-up chain so far (AO reads, then thresholds).
    int startUpAnswers() const { return startUpAnswers_.load(); }

    // The columns of the log and the values of one line (as CSV text, each
    // value with its leading comma).
    std::vector<ColumnHeading> logHeadings();
    ReadingValues readingValues() const;
    std::string csvHeader() { return CsvHeaderLine(logHeadings()); }
    std::string csvValues() const { return CsvValuesText(readingValues()); }

protected:
    void periodicWork() override;

    // The panel's requests, through its link (see AnalogOutputLink).
    void startReads() { outputLink_.startReads(); }
    void sendOutput(int row, int mode, int raw, bool wasSweeping, Caller caller)
    {
        outputLink_.sendOutput(row, mode, raw, wasSweeping, caller);
    }
    // `flag`: kStartUpRead or kPeriodicRead, handed to onInputsRead.
    void sendInputRead(int flag, Caller caller) { outputLink_.sendInputRead(flag, caller); }
    void sendThresholds(int row, const RawThresholds& raw, int thresholdMode)
    {
        outputLink_.sendThresholds(row, raw, thresholdMode);
    }

    static constexpr int kStartUpRead = 1;
    static constexpr int kPeriodicRead = 0;

    // What the unit's answers change, from whichever thread they arrive on.
    // The output's mode and set value as the unit has them.
    void takeOutputSetting(int row, const analog::OutputSetting& setting);
    void takeThresholds(int row, const analog::Thresholds& thresholds);
    void onThresholdsWritten(int row, const std::optional<analog::Thresholds>& thresholds);
    void onInputsRead(std::optional<int> read, int flag);
    // Every sweeping row stops (state 0).
    void stopAllSweeps();
    // The same, and no SWEEP button starts one again: nothing would drive it.
    void retireSweeps();
    int inputAutoIndex() const { return inputAuto_; }
    bool validRow(int row) const { return row >= 0 && row < shape_.outputs; }
    void countStartUpAnswer() { ++startUpAnswers_; }

private:
    friend class StartUpChain<AnalogOutputPanel>;
    // The links bring the unit's answers to the rows.
    friend class OutputWorkerLink;
    friend class NodeOutputLink;

    struct OutputRow : AnalogRow {
        bool on = false;
        double value = 0; // converted output value
        ButtonState state = ButtonState::Off;
    };

    static const AnalogOutputId::Row& idsOf(int row);
    int inputSeries(int input) const { return shape_.outputs + input; }
    SweepWave& sweepOf(int row) const { return *sweeps_.at(static_cast<std::size_t>(row)); }

    void setUpGraph();
    void fillRows();
    void restoreRow(int row, OutputRow& state, const UnitRecord* unit);
    static std::vector<StartUpChain<AnalogOutputPanel>::Reads> startUpReads(const AnalogOutputShape& shape);
    ClickTable clickTable();
    // The start-up read of a row's output; the first also reads the inputs.
    void takeStartUpOutput(int row, const analog::OutputSetting& setting);
    void storeOutputSetting(int row, OutputRow& state, const analog::OutputSetting& setting);

    void switchOff(int row);
    // Set-output step: converts `value` back through the formula and sends it.
    void setOutput(int row, double value, Caller caller);
    // Under the rows' lock: the row switched off (its mode is handed back),
    // set to `value` (the row is), its thresholds read or written.
    int storeOff(int row, OutputRow& state);
    OutputRow storeOutput(int row, OutputRow& state, double value);
    void storeThresholds(int row, OutputRow& state, const analog::Thresholds& thresholds);
    void storeWrittenThresholds(int row, OutputRow& state, const analog::Thresholds& thresholds);
    void setButtonState(int row, ButtonState state);
    void showRow(int row, const OutputRow& state);
    void showBar(int row, const OutputRow& state);

    void onOutputWritten(bool written, bool wasSweeping);

    void applyOutputMode(int row, int mode);
    // False where the row has `mode` already; under the rows' lock.
    bool changeMode(int row, OutputRow& state, int mode);

    AnalogOutputLink& outputLink_;
    const AnalogOutputShape shape_;
    LockedRows<OutputRow, 3> rows_;
    std::array<std::unique_ptr<SweepWave>, 3> sweeps_;
    std::atomic<int> inputs_{0};
    std::atomic<int> startUpAnswers_{0};
    int inputAuto_ = 0;
    const StartUpChain<AnalogOutputPanel> startUp_{*this, startUpReads(shape_)};
    const ClickTable clicks_ = clickTable();
};

} // namespace vantel
