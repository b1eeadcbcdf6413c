#pragma once

#include "panels/gateway/NodeAnalogLink.h"

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace vantel {

// The analog-output unit behind the gateway (three outputs, three digital
// inputs): every command waited for, the DI read polled in seconds, and
// the tick's AO and DI commands sent together as one batch.
class NodeOutputLink final : public NodeAnalogLink<AnalogOutputLink> {
public:
    explicit NodeOutputLink(std::unique_ptr<NodeSession> session) : NodeAnalogLink(std::move(session)) {}

    void attach(AnalogOutputPanel& panel) override;
    void startReads() override;
    void sendOutput(int row, int mode, int raw, bool wasSweeping, Caller caller) override;
    void sendInputRead(int flag, Caller caller) override;
    void sendThresholds(int row, const RawThresholds& raw, int thresholdMode) override;
    // The tick's AO and DI commands go out together, waited for one by one.
    // Sweep values that find earlier ones still on the radio are given up,
    // a due DI read never is.
    void tickDone() override;

    // True while commands of earlier ticks are still on the radio.
    bool tickCommandsPending() const override { return tickBatchesQueued_.load() > 0; }

private:
    bool runStartUp() override;
    bool takeReply(std::string_view letters, std::string_view payload) override;
    void stopAutomatics() override;

    void exchangeFrom(Caller caller, std::string command);
    void sendTickBatch(std::vector<std::string> sweepValues, bool readInputs);

    AnalogOutputPanel* panel_ = nullptr;
    // The tick thread's only: this tick's sweep values, and whether its DI read is due.
    std::vector<std::string> sweepCommands_;
    bool inputReadDue_ = false;
    std::atomic<int> tickBatchesQueued_{0};
};

} // namespace vantel
