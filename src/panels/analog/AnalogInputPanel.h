#pragma once

#include "dialogs/SettingsDialogs.h"
#include "panels/analog/AnalogFamilyPanel.h"
#include "panels/analog/AnalogInputIds.h"

#include <array>
#include <atomic>
#include <mutex>
#include <string>

namespace vantel {

// What tells the analog-input classes apart.
struct AnalogInputShape {
    int inputs = 3;            // AI rows, 3 or 5
    int outputs = 2;           // DO rows, 2 or 0
    bool thermocouple = false; // the "熱電対" range and the 熱電対設定 buttons
    bool outputAlerts = false; // "DOアラート" per DO
    bool sampleRate = true;    // the "ADC sps" button
    PeriodRule periods{};      // how the 自動 period boxes are read
    const char* periodUnit = "x100ms";
};

// The analog-input panels: per AI row a reading converted for its range and
// through the row's formula, its range chosen on the unit, its LED
// thresholds on a bar; digital outputs switched by hand or toggled at their
// own periods (and, where the unit has them, driven by a DO alert); traces
// of every row on the graph page and CSV lines of both.
//
// Row state is changed by the GUI thread (dialogs, range changes) and the
// worker (answers) under one lock; the unit record is touched on the GUI
// thread only.
class AnalogInputPanel : public AnalogFamilyPanel {
public:
    static constexpr const char* kRangeQuestion =
        "設定を変更すると、換算式と単位の設定も初期化されます。よろしいですか？";

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
    int sampleRate() const { return sampleRate_.load(); }
    bool inputAutoOn() { return autoFunction(inputAuto_).isOn(); }
    bool outputAutoOn(int output) { return autoFunction(outputAutos_.at(static_cast<std::size_t>(output))).isOn(); }
    // Answers of the start-up chain so far.
    int startUpAnswers() const { return startUpAnswers_.load(); }
    // Requests of the start-up chain in all.
    int startUpLength() const;

    std::string csvHeader();
    std::string csvValues() const;

protected:
    template <typename Link>
    AnalogInputPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<Link> link,
                     AnalogInputShape shape)
        : AnalogFamilyPanel(view, std::move(context), std::move(page), std::move(link)), shape_(shape)
    {
    }

    void periodicWork() override;

    // How the panel's requests reach the unit: its own worker here; a panel
    // behind the gateway sends commands to its node instead. GUI thread,
    // except where a Caller says otherwise.
    // The start-up reads; the tick starts when they are in.
    virtual void startReads();
    // `bits` is every output's wanted state, `changed` those to switch.
    virtual void sendOutputs(int bits, int changed, Caller caller);
    virtual void sendInputRead(Caller caller);
    // False while the panel does not know the outputs' states: they are
    // then not switched.
    virtual bool outputsKnown() const { return true; }
    virtual void sendRange(int row, int range, int previous);
    virtual void sendThresholds(int row, const RawThresholds& raw, int mode);
    virtual void sendThermocouple(int row, const ThermocoupleSetting& setting);

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
    struct InputRow {
        int range = 2;
        int raw = 0; // sign-extended 24-bit reading
        double converted = 0;
        int ledWhenOutside = 0;
        int thresholdMode = 0;
        int high = 0x7FFF;
        int low = -0x8000;
        ThermocoupleSetting thermocouple;
        ChannelFormula formula;
        GraphRange display;
    };
    struct Alert {
        bool on = false;
        int monitoredInput = 0;
        int direction = 0;
        int width = 0;
    };
    // The start-up chain, one step after the other.
    enum class Step { Outputs, SampleRate, Range, Threshold, Thermocouple, Alert, Done };

    static const AnalogInputId::Row& idsOf(int row);
    static const AnalogInputId::Output& idsOfOutput(int output);
    int outputSeries(int output) const { return shape_.inputs + output; }

    void setUpGraph();
    void fillRows();
    void send(Step step, int row);
    void next(Step step, int row);
    bool startUpStepFailed(bool failed);

    void writeOutputs(int bits, Caller caller);
    // Only paints; showOutputs also takes the states.
    void paintOutputs(int bits);
    void showBar(int row, const InputRow& state);
    void showRange(int row, int range);
    void applyDefaultRange(int row, InputRow& state);
    void lockOutput(int output, bool alertOn);

    void onAlertRead(int output, const analog::OutputAlertState& alert);
    void onAlertSwitched(int output, const std::optional<analog::SwitchedOutput>& switched);

    void onThresholdButton(int row);
    void onThermocoupleButton(int row);
    void onSampleRateButton();
    void onAlertSettingsButton(int output);

    const AnalogInputShape shape_;
    mutable std::mutex rowsMutex_;
    std::array<InputRow, 5> rows_;
    std::array<Alert, 2> alerts_;
    std::atomic<int> outputs_{0};
    std::atomic<int> sampleRate_{0};
    std::atomic<int> startUpAnswers_{0};
    int inputAuto_ = 0;
    std::array<int, 2> outputAutos_{};
};

} // namespace vantel
