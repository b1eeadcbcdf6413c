#pragma once

#include "panels/analog/AnalogLinks.h"
#include "panels/framework/ContainerPanel.h"
#include "panels/gateway/GatewayPanelRules.h"
#include "panels/gateway/NodeSession.h"
#include "registry/ModelCatalogue.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string_view>

namespace vantel {

// What the links of the analog units behind the gateway share, over the
// `Interface` of their panel: the node session takes their commands, the
// node's replies reach the unit's reply reader on the gateway's receive
// thread while the panel is not closing, the start-up reads are one fixed
// command sequence, each waited for, and the reply watchdog stands in for
// the failure callbacks: a reply overdue shows the time-out message and
// polling stops, while the panel stays open.
template <typename Interface> class NodeAnalogLink : public Interface {
public:
    // True once the start-up sequence was answered and the tick runs.
    bool startedUp() const override { return startedUp_.load(); }

    std::string statusText(const UnitRecord& unit, int unitId) const override
    {
        return GatewayInfoText(ModelAt(unit.modelRow).displayName, session_->node(), unitId);
    }
    void checkReplies() override
    {
        if (session_->overdue())
            timedOut();
    }
    // The node takes the unit's commands, not the worker's requests.
    void post(analog::Request request) override { FailRequest(request); }
    void stop() override { session_->stop(); }
    void release() override { session_->release(); }

protected:
    explicit NodeAnalogLink(std::unique_ptr<NodeSession> session) : session_(std::move(session)) {}

    // From attach(): the waits end with the panel's close, and the watchdog
    // reads the panel's clock.
    void bindPanel(ContainerPanel& panel)
    {
        panel_ = &panel;
        session_->bind(panel.clock(), panel.closeToken());
    }
    // The node's replies go to takeReply() from now on, and the start-up
    // sequence runs on the session's thread.
    void startSession()
    {
        session_->listen([this](std::string_view letters, std::string_view payload) {
            // A closing panel drops what comes; nothing waits for the node then.
            const ContainerPanel::CallbackScope scope(*panel_);
            return scope && takeReply(letters, payload);
        });
        session_->startUp(
            [this] { return runStartUp(); },
            [this](bool answered) { panel_->runOnGuiThread([this, answered] { afterStartUp(answered); }); });
    }
    // Work that sends to the node runs on the session's thread, one after
    // the other: neither the window nor the tick is ever held by the radio.
    void run(std::function<void()> work)
    {
        session_->post([this, work = std::move(work)] {
            if (!panel_->closing())
                work();
        });
    }
    NodeSession& session() { return *session_; }

    // Start-up thread: the sequence; false at the first reply that did not come.
    virtual bool runStartUp() = 0;
    // Receive thread, for each frame of the node: true for the letters the
    // unit's panel takes (the reply then counts as answered, whatever its
    // content; one of the wrong length changes nothing).
    virtual bool takeReply(std::string_view letters, std::string_view payload) = 0;
    // Polling stopped for good (the watchdog fired, the start-up reads were
    // not answered): every automatic function stops and cannot be started again.
    virtual void stopAutomatics() = 0;

private:
    void afterStartUp(bool answered)
    {
        if (panel_->closing())
            return;
        if (!answered) {
            // Nothing polls a unit that did not answer its start-up reads;
            // the user is told why the panel stands still.
            timedOut();
            return;
        }
        startedUp_ = true;
        panel_->startTicking();
    }

    void timedOut()
    {
        stopAutomatics();
        panel_->reportFailure(kWirelessTimeout, AfterFailure::StopPolling);
    }

    std::unique_ptr<NodeSession> session_;
    ContainerPanel* panel_ = nullptr;
    std::atomic<bool> startedUp_{false};
};

} // namespace vantel
