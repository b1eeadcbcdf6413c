#pragma once

#include "panels/gateway/GatewayPanelRules.h"
#include "panels/gateway/NodeSession.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string_view>

namespace vantel {

// What the analog panels behind the gateway add to their wired twin `Twin`
// (AnalogInputPanel or AnalogOutputPanel): the node takes their commands,
// its replies update the rows through the frame handler on the link's
// receive thread, the start-up reads are one fixed command sequence, each
// waited for, and a reply watchdog stands in for the failure callbacks: a
// reply overdue shows the time-out message and polling stops, while the
// panel stays open.
template <typename Twin> class GatewayAnalogPanel : public Twin {
public:
    // True once the start-up sequence was answered and the tick runs.
    bool startedUp() const { return startedUp_.load(); }

protected:
    template <typename Shape>
    GatewayAnalogPanel(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<NodeSession> link,
                       Shape shape)
        : Twin(view, context, std::move(page), std::move(link), shape)
    {
        this->gatewayNode()->bind(*context.clock, this->closeToken());
    }

    // Start-up thread: the sequence; false at the first reply that did not come.
    virtual bool runStartUp() = 0;
    // Receive thread, for each frame of the node longer than its two
    // letters while the panel is not closing: true for the letters the
    // panel takes (the reply then counts as answered, whatever its content;
    // one of the wrong length changes nothing).
    virtual bool takeReply(std::string_view letters, std::string_view payload) = 0;
    // Polling stopped for good (the watchdog fired, the start-up reads were
    // not answered): every automatic function (and sweep) stops and cannot
    // be started again.
    virtual void stopAutomatics() { this->retireAllAutos(); }

    void startReads() override
    {
        this->gatewayNode()->listen(
            [this](std::string_view letters, std::string_view payload) { return onReply(letters, payload); });
        this->gatewayNode()->startUp(
            [this] { return runStartUp(); },
            [this](bool answered) { this->runOnGuiThread([this, answered] { afterStartUp(answered); }); });
    }

    void checkReplies() override
    {
        if (commands().overdue())
            timedOut();
    }

    // Work that sends to the node runs on the link's thread, one after the
    // other: neither the window nor the tick is ever held by the radio.
    void run(std::function<void()> work)
    {
        this->gatewayNode()->post([this, work = std::move(work)] {
            if (!this->closing())
                work();
        });
    }

    NodeSession& commands() { return *this->gatewayNode(); }

private:
    void afterStartUp(bool answered)
    {
        if (this->closing())
            return;
        if (!answered) {
            // Nothing polls a unit that did not answer its start-up reads;
            // the user is told why the panel stands still.
            stopAutomatics();
            this->reportFailure(kWirelessTimeout, AfterFailure::StopPolling);
            return;
        }
        startedUp_ = true;
        this->startTicking();
    }

    void timedOut()
    {
        stopAutomatics();
        this->reportFailure(kWirelessTimeout, AfterFailure::StopPolling);
    }

    bool onReply(std::string_view letters, std::string_view payload)
    {
        // A closing panel drops what comes; nothing waits for the node then.
        const typename Twin::CallbackScope scope(*this);
        return scope && takeReply(letters, payload);
    }

    std::atomic<bool> startedUp_{false};
};

} // namespace vantel
