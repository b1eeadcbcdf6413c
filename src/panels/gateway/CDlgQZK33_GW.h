#pragma once

#include "panels/analog/AnalogOutputPanel.h"
#include "panels/gateway/GatewayAnalogPanel.h"

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantel {

// The wireless unit with three analog outputs and three digital inputs,
// behind the gateway: the rows of its wired twin (set values through the
// formula, sweeps, LED thresholds, graph and CSV), every command waited
// for, the DI read polled in seconds.
class CDlgQZK33_GW final : public GatewayAnalogPanel<AnalogOutputPanel> {
public:
    static constexpr AnalogOutputShape kShape{3, 3, true, kSecondsRule, kSecondsUnit};

    CDlgQZK33_GW(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<NodeSession> link);
    ~CDlgQZK33_GW() override;

    // True while commands of earlier ticks are still on the radio.
    bool tickCommandsPending() const { return tickBatchesQueued_.load() > 0; }

protected:
    void startReads() override;
    bool runStartUp() override;
    bool takeReply(std::string_view letters, std::string_view payload) override;
    void stopAutomatics() override;
    // The tick's AO and DI commands go out together, waited for one by one.
    // Sweep values that find earlier ones still on the radio are given up,
    // a due DI read never is.
    void periodicWork() override;

    void sendOutput(int row, int mode, int raw, bool wasSweeping, Caller caller) override;
    void sendInputRead(int flag, Caller caller) override;
    void sendThresholds(int row, const RawThresholds& raw, int thresholdMode) override;

private:
    void exchangeFrom(Caller caller, std::string command);
    void sendTickBatch(std::vector<std::string> sweepValues, bool readInputs);

    // The tick thread's only: this tick's sweep values, and whether its DI read is due.
    std::vector<std::string> sweepCommands_;
    bool inputReadDue_ = false;
    std::atomic<int> tickBatchesQueued_{0};
};

} // namespace vantel
