#pragma once

#include "logging/CsvText.h"
#include "panels/digital/DigitalPanelBase.h"
#include "panels/gateway/GatewayPanelRules.h"
#include "panels/gateway/NodeSession.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantel {

// The panel of a digital wireless unit behind the gateway: the digital
// panel's rows and CSV lines, with every command sent to the unit's node and
// waited for, replies taken on the link's receive thread, a reply watchdog
// instead of per-request failures, and auto periods in seconds.
//
// An output or input whose state the panel does not know (before its first
// read, while an automatic read is out) is undetermined: drawn as neither
// on nor off, left out of switching, and logged as 0.
class CVantelGW : public DigitalPanelBase {
public:
    enum State { Off = 0, On = 1, Undetermined = 2 };

    CVantelGW(PanelView& view, PanelContext context, CGatewayLink& gateway);
    ~CVantelGW() override;

    // GUI thread, once: lays the rows out, takes the node over and starts
    // the start-up reads (SN, MR0D08, DY, DI) on a thread of their own; the
    // tick starts when they are in. A failing wait closes the panel after
    // the time-out message.
    void start();
    // True once the start-up reads are in and the tick runs.
    bool startedUp() const { return startedUp_.load(); }

    // GUI thread. What they send is waited for on the link's thread, not here.
    void onOutputButton(int index) override;
    void onReadInputs() override;

    int node() const { return session_.node(); }
    // From the unit's "sn" reply; -1 before.
    int unitIdReported() const { return unitId_.load(); }
    State outputState(int index) const { return StateAt(outputs_, index); }
    bool outputShownOn(int index) const override { return outputState(index) == On; }
    State inputState(int index) const { return StateAt(inputs_, index); }
    // An output switched on by hand is switched off again right away.
    bool pulses(int index) const;

    std::string infoText() const;
    ReadingValues readingValues() const;
    std::string csvValues() const { return CsvValuesText(readingValues()); }

protected:
    void periodicWork() override;
    void checkReplies() override;
    PanelLink& link() override { return session_; }

private:
    using States = std::array<std::atomic<int>, kChannelsPerSide>;
    static State StateAt(const States& states, int index);
    void showPeriodUnits();
    bool runStartUp();
    void afterStartUp(bool answered);

    // Sends one command and waits for its reply; false when no reply came.
    bool exchange(std::string_view command);
    bool sendMasked(int states, int mask);
    void readInputs();
    void showOutput(int index, int state);
    void showInput(int index, int state);
    void timedOut();

    // Receive thread.
    bool onReply(std::string_view letters, std::string_view payload);
    void onInputs(int bits);
    void onOutputs(int bits);
    void onSerial(std::string_view payload);

    States outputs_{};
    States inputs_{};
    std::array<std::atomic<int>, kChannelsPerSide> outputConfig_{};
    std::atomic<int> unitId_{-1};
    std::atomic<bool> inputReadPending_{false};
    std::atomic<bool> startedUp_{false};

    NodeSession session_; // last: stopped before the rest goes
};

} // namespace vantel
