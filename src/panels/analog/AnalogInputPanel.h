#pragma once

#include "dialogs/SettingsDialogs.h"
#include "logging/CsvText.h"
#include "panels/analog/AnalogInputIds.h"
#include "panels/analog/AnalogLinks.h"
#include "panels/analog/AnalogRows.h"
#include "panels/analog/ClickTable.h"
#include "panels/analog/StartUpChain.h"
#include "panels/framework/ContainerPanel.h"
#include "panels/framework/PanelShapes.h"
#include "panels/framework/WorkerLink.h"

#include <array>
#include <atomic>
#include <string>
#include <vector>

namespace vantel {

// The analog-input panels: per AI row a reading converted for its range and
// through the row's formula, its range chosen on the unit, its LED
// thresholds on a bar; digital outputs switched by hand or toggled at their
// own periods (and, where the unit has them, driven by a DO alert); traces
// of every row on the graph page and CSV lines of both.
//
// Row state is changed by the GUI thread (dialogs, range changes) and the
// worker (answers) under the rows' one lock, the DO alerts under theirs;
// the unit record is touched on the GUI thread only.
class AnalogInputPanel : public ContainerPanel {
public:
    static constexpr const char* kRangeQuestion =
        "設定を変更すると、換算式と単位の設定も初期化されます。よろしいですか？";

    // The shape of its rows comes with the page. A unit on the LAN, through
    // its own worker:
    AnalogInputPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogLink> link);
    // Any other link (a node behind the gateway):
    AnalogInputPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<AnalogInputLink> link);
    ~AnalogInputPanel() override;

    // GUI thread, once the container's window exists: fills the rows, sets
    // the graph up, opens the log and starts the first reads.
    void start() override;

    // GUI thread.
    void onOutputButton(int output);
    void onReadInputs();
    void onRangeSelected(int row);
    void onAlertClicked(int output);
    // Dispatches a click by control id; false for an id the panel does not handle.
    bool onControlClicked(int controlId);
    void openScaleDialog(int row) override;

    int inputCount() const { return shape_.inputs; }
    int outputCount() const { return shape_.outputs; }
    int rangeCode(int row) const;
    // The reading of a row through its formula (millivolts for ±100mV).
    double convertedValue(int row) const;
    int outputBits() const { return outputs_.load(); }
    bool alertOn(int output) const;
    // Output states as the gateway's digital panel counts them: 0 off, 1 on,
    // 2 not read yet.
    int relayState(int output) const { return outputsKnown() ? (outputBits() >> output) & 1 : 2; }
    // What the link read of the unit's configuration memory (see AnalogInputLink).
    bool pulses(int output) const { return inputLink_.pulses(output); }
    int configurationByte() const { return inputLink_.configurationByte(); }
    int sampleRate() const { return sampleRate_.load(); }
    bool inputAutoOn() { return autoFunction(inputAuto_).isOn(); }
    bool outputAutoOn(int output) { return autoFunction(outputAutoIndex(output)).isOn(); }
    // Answers of the start-up chain so far.
    int startUpAnswers() const { return startUpAnswers_.load(); }
    // Requests of the start-up chain in all.
    int startUpLength() const;

    // The columns of the log and the values of one line (as CSV text, each
    // value with its leading comma).
    std::vector<ColumnHeading> logHeadings();
    ReadingValues readingValues() const;
    std::string csvHeader() { return CsvHeaderLine(logHeadings()); }
    std::string csvValues() const { return CsvValuesText(readingValues()); }

protected:
    void periodicWork() override;

    // The panel's requests, through its link (see AnalogInputLink).
    void startReads() { inputLink_.startReads(); }
    void sendOutputs(int bits, int changed, Caller caller) { inputLink_.sendOutputs(bits, changed, caller); }
    void sendInputRead(Caller caller) { inputLink_.sendInputRead(caller); }
    bool outputsKnown() const { return inputLink_.outputsKnown(); }
    void sendRange(int row, int range, int previous) { inputLink_.sendRange(row, range, previous); }
    void sendThresholds(int row, const RawThresholds& raw, int mode) { inputLink_.sendThresholds(row, raw, mode); }
    void sendThermocouple(int row, const ThermocoupleSetting& setting) { inputLink_.sendThermocouple(row, setting); }

    // What the unit's answers change, from whichever thread they arrive on.
    void onRangeRead(int row, int range);
    void onThresholdsRead(int row, const analog::Thresholds& thresholds);
    void onThresholdsWritten(int row, const std::optional<analog::Thresholds>& thresholds);
    void storeThermocouple(int row, const analog::Thermocouple& settings);
    void onInputsRead(const std::optional<analog::InputReadings>& readings);
    void onRangeWritten(int row, std::optional<int> written, int previous);
    // Takes the unit's output states and paints them.
    void showOutputs(int bits);
    // A write of `requested` that was to switch the outputs in `changed`
    // did not reach the unit: those outputs are stored and shown as before.
    void outputWriteFailed(int requested, int changed);
    // Switches AI auto and every DO auto off.
    void stopPolling();
    int outputAutoIndex(int output) const { return outputAutos_.at(static_cast<std::size_t>(output)); }
    int inputAutoIndex() const { return inputAuto_; }
    bool validRow(int row) const { return row >= 0 && row < shape_.inputs; }
    bool validOutput(int output) const { return output >= 0 && output < shape_.outputs; }
    void countStartUpAnswer() { ++startUpAnswers_; }

private:
    friend class StartUpChain<AnalogInputPanel>;
    // The links bring the unit's answers to the rows.
    friend class InputWorkerLink;
    friend class NodeInputLink;

    struct InputRow : AnalogRow {
        InputRow() { rangeCode = InputRange::Volt10; }
        double converted = 0;
        ThermocoupleSetting thermocouple;
    };
    struct Alert {
        bool on = false;
        int monitoredInput = 0;
        int direction = 0;
        int width = 0;
    };
    // A reading through the row's formula, and as the row shows it.
    struct Shown {
        double value = 0;
        std::string text;
    };

    static const AnalogInputId::Row& idsOf(int row);
    static const AnalogInputId::Output& idsOfOutput(int output);
    int outputSeries(int output) const { return shape_.inputs + output; }

    void setUpGraph();
    void fillRows();
    static std::vector<StartUpChain<AnalogInputPanel>::Reads> startUpReads(const AnalogInputShape& shape);
    ClickTable clickTable();

    // What the start-up reads store beyond the row updates above.
    void takeOutputs(int, int bits) { showOutputs(bits); }
    void takeSampleRate(int, int rate) { sampleRate_ = rate; }
    void takeRange(int row, const analog::RangeSetting& setting) { onRangeRead(row, setting.range); }

    void writeOutputs(int bits, Caller caller);
    // Only paints; showOutputs also takes the states.
    void paintOutputs(int bits);
    void showBar(int row, const InputRow& state);
    void showRange(int row, int range);
    // Under the rows' lock: the row once the unit changed its range (its
    // new graph range is handed back), its range, thresholds and reading
    // as the unit reported them.
    GraphRange resetRow(int row, InputRow& state, int range);
    void storeRange(int row, InputRow& state, int range);
    void storeThresholds(int row, InputRow& state, const analog::Thresholds& thresholds);
    Shown takeReading(int row, InputRow& state, int reading);
    // GUI thread: the unit record forgets the row's formula.
    void forgetRecordedFormula(int row, GraphRange display);
    void lockOutput(int output, bool alertOn);

    void onAlertRead(int output, const analog::OutputAlertState& alert);
    void onAlertSwitched(int output, const std::optional<analog::SwitchedOutput>& switched);
    void onAlertSettingsWritten(int output, const std::optional<analog::OutputAlertSettings>& settings);
    void onSampleRateWritten(std::optional<int> written);

    void onThresholdButton(int row);
    void onThermocoupleButton(int row);
    void onSampleRateButton();
    void onAlertSettingsButton(int output);
    void sendAlertThresholds(const DoAlertResult& result);

    AnalogInputLink& inputLink_;
    const AnalogInputShape shape_;
    LockedRows<InputRow, 5> rows_;
    LockedRows<Alert, 2> alerts_;
    std::atomic<int> outputs_{0};
    std::atomic<int> sampleRate_{0};
    std::atomic<int> startUpAnswers_{0};
    int inputAuto_ = 0;
    std::array<int, 2> outputAutos_{};
    const StartUpChain<AnalogInputPanel> startUp_{*this, startUpReads(shape_)};
    const ClickTable clicks_ = clickTable();
};

} // namespace vantel
