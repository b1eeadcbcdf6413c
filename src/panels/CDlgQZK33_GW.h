#pragma once

#include "panels/AnalogOutputPanel.h"
#include "panels/GatewayAnalogPanel.h"

#include <memory>
#include <string_view>

namespace vantel {

// The wireless unit with three analog outputs and three digital inputs,
// behind the gateway: the rows of its wired twin (set values through the
// formula, sweeps, LED thresholds, graph and CSV), every command waited
// for, the DI read polled in seconds.
class CDlgQZK33_GW final : public GatewayAnalogPanel<AnalogOutputPanel> {
public:
    static constexpr AnalogOutputShape kShape{3, 3, true, kSecondsRule, kSecondsUnit};

    CDlgQZK33_GW(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<GatewayNodeLink> link);
    ~CDlgQZK33_GW() override;

protected:
    bool runStartUp() override;
    bool takeReply(std::string_view letters, std::string_view payload) override;
    void stopAutomatics() override;

    void sendOutput(int row, int mode, int raw, bool wasSweeping, Caller caller) override;
    void sendInputRead(int flag, Caller caller) override;
    void sendThresholds(int row, const RawThresholds& raw, int thresholdMode) override;

private:
    void exchangeFrom(Caller caller, std::string command);
};

} // namespace vantel
