#pragma once

#include "comm/worker/UnitWorker.h"
#include "panels/framework/PanelLink.h"

#include <chrono>
#include <memory>

namespace vantel {

// A unit's own channel and the worker thread that serves its requests.
template <typename Channel, typename Request> class WorkerLink final : public PanelLink {
public:
    // `closeGrace`: how long stop() lets the worker finish what was queued
    // before it gives up on a unit that does not answer.
    WorkerLink(std::unique_ptr<Channel> channel, std::chrono::milliseconds closeGrace)
        : channel_(std::move(channel)), closeGrace_(closeGrace), worker_(*channel_)
    {
    }

    Channel& channel() { return *channel_; }
    const Channel& channel() const { return *channel_; }
    // Never waits; false once the link has been stopped.
    bool post(Request request) { return worker_.post(std::move(request)); }

    void stop() override
    {
        worker_.quit();
        if (!worker_.finishWithin(closeGrace_))
            channel_->abandon();
        worker_.stop();
    }
    void release() override { channel_->close(); }

private:
    std::unique_ptr<Channel> channel_;
    const std::chrono::milliseconds closeGrace_;
    UnitWorker<Channel, Request> worker_; // last: joined before the channel goes
};

using AnalogLink = WorkerLink<CAnalogChannel, analog::Request>;
using DigitalLink = WorkerLink<CDigitalChannel, digital::Request>;

} // namespace vantel
