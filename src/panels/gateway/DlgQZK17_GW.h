#pragma once

#include "panels/analog/AnalogInputPanel.h"
#include "panels/gateway/GatewayAnalogPanel.h"

#include <array>
#include <atomic>
#include <memory>
#include <string_view>

namespace vantel {

// The wireless unit with two relay outputs and three analog inputs, behind
// the gateway: the rows of its wired twin (ranges, thermocouples, LED
// thresholds, formulas, graph and CSV), with the relays switched by DK, a
// relay whose configuration byte is set pulsing (switched off again right
// after it was switched on), and the inputs read by "AI" without a wait.
class DlgQZK17_GW final : public GatewayAnalogPanel<AnalogInputPanel> {
public:
    static constexpr AnalogInputShape kShape{3, 2, true, false, false, kSecondsRule, kSecondsUnit};

    DlgQZK17_GW(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<NodeSession> link);
    ~DlgQZK17_GW() override;

    // Relay states as CVantelGW counts them: 0 off, 1 on, 2 not read yet.
    int relayState(int output) const;
    bool pulses(int output) const;
    // The configuration byte the unit sends with its ranges.
    int configurationByte() const { return configByte_.load(); }

protected:
    void startReads() override;
    bool runStartUp() override;
    bool takeReply(std::string_view letters, std::string_view payload) override;

    void sendOutputs(int bits, int changed, Caller caller) override;
    void sendInputRead(Caller caller) override;
    void sendRange(int row, int range, int previous) override;
    void sendThresholds(int row, const RawThresholds& raw, int mode) override;
    void sendThermocouple(int row, const ThermocoupleSetting& setting) override;
    bool outputsKnown() const override { return relaysKnown_.load(); }

private:
    // Only sent; the reply updates the rows when it comes.
    void sendLater(std::string command);
    void switchRelay(int output, bool on);

    void onRangeReply(std::string_view payload);
    void onMemoryReply(std::string_view payload);

    std::array<std::atomic<int>, 8> outputConfig_{};
    std::atomic<int> configByte_{0};
    std::atomic<bool> relaysKnown_{false};
};

} // namespace vantel
