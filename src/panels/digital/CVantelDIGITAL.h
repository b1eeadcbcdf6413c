#pragma once

#include "panels/digital/DigitalPanelBase.h"
#include "panels/framework/UnitCheck.h"
#include "panels/framework/WorkerLink.h"

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <stop_token>
#include <string>

namespace vantel {

// The panel of a digital unit (up to 8 outputs and 8 inputs): outputs
// switched by hand or toggled automatically at a period, inputs read by hand
// or polled, both logged as 1/0 columns. Unlike the analog panels it opens
// its own connection and checks the unit's model itself.
//
// Output and input states are single words that the GUI thread (buttons),
// the tick (auto toggling) and the worker (replies) each change in one step.
class CVantelDIGITAL : public DigitalPanelBase {
public:
    CVantelDIGITAL(PanelView& view, PanelContext context);
    ~CVantelDIGITAL() override;

    // GUI thread, once: lays the rows out, connects (waiting for the connect
    // time-out at worst), checks the model, sends the first reads, opens the
    // log and starts the tick. False when start-up failed: the user was told
    // why and the window has been let go.
    bool start();

    void onOutputButton(int index) override;
    void onReadInputs() override;
    // Outputs written with a value and a mask (ASCII dialect); the others
    // write the whole output word.
    bool writesMasked() const { return masked_; }
    bool connectFailed() const { return connectFailed_.load(); }
    // Unit ID reported by the model query at start-up; -1 before.
    int unitIdReported() const { return unitId_.load(); }

    // Bit i = output (input) i+1 as the panel knows it.
    int outputBits() const { return outputs_.load(); }
    bool outputShownOn(int index) const override { return (outputs_.load() >> index & 1) != 0; }
    int inputBits() const { return inputs_.load(); }
    int oneShotValue(int index) const;

    // The texts the panel writes: the status line, the CSV header and the
    // values of one CSV line (each value with its leading comma).
    std::string statusText() const;
    ReadingValues readingValues() const;

    const CDigitalChannel& channel() const { return link_.channel(); }

protected:
    void periodicWork() override;
    PanelLink& link() override { return link_; }

private:
    int outputMask() const { return (1 << outputCount()) - 1; }
    int inputMask() const { return (1 << inputCount()) - 1; }

    bool connectAndIdentify();
    void sendFirstReads();

    void post(digital::Request request);
    void sendOutputs(int states);
    void postWriteAll(int states);
    void postMasked(int states, int mask, int followUp);
    void showOutputs(int bits);
    void showInputs(int bits);
    void failed();

    void onInputsRead(const digital::InputsResult& read);
    void onOutputsRead(std::optional<int> read);
    void onOutputsWritten(std::optional<int> bits);
    void onMaskedWritten(std::optional<int> outputs, int followUpMask);
    void readOneShotValues();

    const bool masked_;
    const UnitLocation location_;
    const Ipv4Address bindAddress_;

    std::atomic<bool> connectFailed_{false};
    std::atomic<int> unitId_{-1};
    std::atomic<int> outputs_{0};
    std::atomic<int> inputs_{0};
    std::atomic<int> changedSinceRead_{0}; // outputs switched here after the output read was sent
    std::array<std::atomic<int>, kChannelsPerSide> oneShot_{};

    DigitalLink link_; // stopped before the rest goes
    // Last: deregistered before the channel it gives up goes.
    const std::stop_callback<std::function<void()>> giveUp_;
};

} // namespace vantel
