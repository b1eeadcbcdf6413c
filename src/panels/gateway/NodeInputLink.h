#pragma once

#include "panels/gateway/NodeAnalogLink.h"

#include <array>
#include <atomic>
#include <string>
#include <string_view>

namespace vantel {

// The analog-input unit behind the gateway (two relay outputs, three
// inputs): the relays switched by DK, a relay whose configuration byte is
// set pulsing (switched off again right after it was switched on), the
// inputs read by "AI" without a wait, and the unit's replies read by their
// letters into the panel's rows.
class NodeInputLink final : public NodeAnalogLink<AnalogInputLink> {
public:
    explicit NodeInputLink(std::unique_ptr<NodeSession> session) : NodeAnalogLink(std::move(session)) {}

    void attach(AnalogInputPanel& panel) override;
    void startReads() override;
    void sendOutputs(int bits, int changed, Caller caller) override;
    void sendInputRead(Caller caller) override;
    bool outputsKnown() const override { return relaysKnown_.load(); }
    void sendRange(int row, int range, int previous) override;
    void sendThresholds(int row, const RawThresholds& raw, int mode) override;
    void sendThermocouple(int row, const ThermocoupleSetting& setting) override;

    bool pulses(int output) const override;
    // The configuration byte the unit sends with its ranges.
    int configurationByte() const override { return configByte_.load(); }

private:
    bool runStartUp() override;
    bool takeReply(std::string_view letters, std::string_view payload) override;
    void stopAutomatics() override;

    // Only sent; the reply updates the rows when it comes.
    void sendLater(std::string command);
    void switchRelay(int output, bool on);
    void onRangeReply(std::string_view payload);
    void onMemoryReply(std::string_view payload);

    AnalogInputPanel* panel_ = nullptr;
    std::array<std::atomic<int>, 8> outputConfig_{};
    std::atomic<int> configByte_{0};
    std::atomic<bool> relaysKnown_{false};
};

} // namespace vantel
