#pragma once

#include "panels/analog/AnalogLinks.h"
#include "panels/framework/WorkerLink.h"

#include <memory>

namespace vantel {

// "接続デバイス : model ( host : port ) : ID n".
std::string WorkerStatusText(const UnitRecord& unit, int unitId);

// An analog-input unit on the LAN: each request goes to the unit's worker,
// and its callback hands the answer to the panel.
class InputWorkerLink final : public AnalogInputLink {
public:
    explicit InputWorkerLink(std::unique_ptr<AnalogLink> worker) : worker_(std::move(worker)) {}

    void attach(AnalogInputPanel& panel) override { panel_ = &panel; }
    std::string statusText(const UnitRecord& unit, int unitId) const override { return WorkerStatusText(unit, unitId); }
    void startReads() override;
    void post(analog::Request request) override { worker_->post(std::move(request)); }

    void sendOutputs(int bits, int changed, Caller caller) override;
    void sendInputRead(Caller caller) override;
    void sendRange(int row, int range, int previous) override;
    void sendThresholds(int row, const RawThresholds& raw, int mode) override;
    void sendThermocouple(int row, const ThermocoupleSetting& setting) override;

    void stop() override { worker_->stop(); }
    void release() override { worker_->release(); }

private:
    std::unique_ptr<AnalogLink> worker_;
    AnalogInputPanel* panel_ = nullptr;
};

// An analog-output unit on the LAN, as above.
class OutputWorkerLink final : public AnalogOutputLink {
public:
    explicit OutputWorkerLink(std::unique_ptr<AnalogLink> worker) : worker_(std::move(worker)) {}

    void attach(AnalogOutputPanel& panel) override { panel_ = &panel; }
    std::string statusText(const UnitRecord& unit, int unitId) const override { return WorkerStatusText(unit, unitId); }
    void startReads() override;
    void post(analog::Request request) override { worker_->post(std::move(request)); }

    void sendOutput(int row, int mode, int raw, bool wasSweeping, Caller caller) override;
    void sendInputRead(int flag, Caller caller) override;
    void sendThresholds(int row, const RawThresholds& raw, int thresholdMode) override;

    void stop() override { worker_->stop(); }
    void release() override { worker_->release(); }

private:
    std::unique_ptr<AnalogLink> worker_;
    AnalogOutputPanel* panel_ = nullptr;
};

} // namespace vantel
