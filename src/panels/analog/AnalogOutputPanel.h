#pragma once

#include "dialogs/SettingsDialogs.h"
#include "panels/analog/AnalogFamilyPanel.h"
#include "panels/analog/AnalogOutputIds.h"
#include "panels/analog/SweepWave.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace vantel {

// What tells the analog-output classes apart.
struct AnalogOutputShape {
    int outputs = 3; // AO rows, 2 or 3
    int inputs = 3;  // DI rows, 2 or 3
    // Also log a line when the periodic DI read is sent, not only when it
    // is answered.
    bool lineWhenReadSent = true;
    PeriodRule periods{}; // how the DI period box is read
    const char* periodUnit = "x100ms";
};

// The analog-output panels: per AO row an output set in volts or
// milliamperes through the row's formula, switched on and off, swept, with
// its LED thresholds on a bar; a bank of digital inputs read by hand or
// polled; traces of every row on the graph page and CSV lines of both.
//
// Row state is changed by the GUI thread (buttons), the tick (sweeps) and
// the worker (answers) under one lock; the controls are written through the
// thread-safe view.
class AnalogOutputPanel : public AnalogFamilyPanel {
public:
    enum class ButtonState { Off = 0, Edited = 1, On = 2, Sweeping = 3 };

    static constexpr const char* kUpdateCaption = "更新";
    static constexpr const char* kOnOffCaption = "ON/OFF";

    ~AnalogOutputPanel() override;

    // GUI thread, once the container's window exists: fills the rows, sets
    // the graph up, sends the start-up reads, opens the log, starts the tick.
    void start() override;

    // GUI thread: the row buttons, "入力" and the edits of an output box.
    void onOutputButton(int row);
    void onOutputEdited(int row);
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
    bool inputAutoOn() { return autoFunction(inputAuto_).isOn(); }
    // Answers of the start-up chain so far (AO reads, then thresholds).
    int startUpAnswers() const { return startUpAnswers_.load(); }

    std::string csvHeader();
    // The values of one CSV line, each with its leading comma.
    std::string csvValues() const;

protected:
    template <typename Link>
    AnalogOutputPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<Link> link,
                      AnalogOutputShape shape)
        : AnalogFamilyPanel(view, std::move(context), std::move(page), std::move(link)), shape_(shape)
    {
        for (auto& sweep : sweeps_)
            sweep = std::make_unique<SweepWave>(clock());
    }

    void periodicWork() override;

    // How the panel's requests reach the unit: its own worker here; a panel
    // behind the gateway sends commands to its node instead.
    // The start-up reads; the tick starts when they are in.
    virtual void startReads();
    virtual void sendOutput(int row, int mode, int raw, bool wasSweeping, Caller caller);
    // `flag`: kStartUpRead or kPeriodicRead, handed to onInputsRead.
    virtual void sendInputRead(int flag, Caller caller);
    virtual void sendThresholds(int row, const RawThresholds& raw, int thresholdMode);

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
    struct OutputRow {
        int mode = 0; // 1 = current
        int raw = 0;  // sign-extended
        bool on = false;
        double value = 0; // converted output value
        ButtonState state = ButtonState::Off;
        int ledWhenOutside = 0;
        int thresholdMode = 0;
        int high = 0x7FFF;
        int low = -0x8000;
        ChannelFormula formula;
        GraphRange display;
    };

    static const AnalogOutputId::Row& idsOf(int row);
    int inputSeries(int input) const { return shape_.outputs + input; }

    void setUpGraph();
    void fillRows();
    void readOutput(int row);
    void readThresholds(int row);

    void switchOff(int row);
    // Set-output step: converts `value` back through the formula and sends it.
    void setOutput(int row, double value, Caller caller);
    void setButtonState(int row, ButtonState state);
    void showRow(int row, const OutputRow& state);
    void showBar(int row, const OutputRow& state);
    void applyDefaultRange(int row, OutputRow& state);

    void onOutputRead(int row, const std::optional<analog::OutputSetting>& setting);
    void onOutputWritten(bool written, bool wasSweeping);
    void onThresholdsRead(int row, const std::optional<analog::Thresholds>& thresholds);

    void applyThresholds(int row, const ThresholdSettings& values);
    void applyOutputMode(int row, int mode);

    const AnalogOutputShape shape_;
    mutable std::mutex rowsMutex_;
    std::array<OutputRow, 3> rows_;
    std::array<std::unique_ptr<SweepWave>, 3> sweeps_;
    std::atomic<int> inputs_{0};
    std::atomic<int> startUpAnswers_{0};
    int inputAuto_ = 0;
};

} // namespace vantel
