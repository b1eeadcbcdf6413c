#pragma once

#include "comm/link/CGatewayLink.h"
#include "comm/worker/WorkerThread.h"
#include "panels/framework/PanelLink.h"
#include "registry/UnitRecord.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string_view>

namespace vantel {

// The gateway a unit record names: TCP to host:port, or its COM port.
GatewayTransport GatewayTransportOf(const UnitConnection& unit);

// A gateway unit's node on the shared gateway link: the panel's registration
// for the node and the commands it sends there, each with its reply wait.
// The link itself belongs to whoever opened it (the main window, vantelctl).
class GatewayNodeLink final : public PanelLink {
public:
    GatewayNodeLink(CGatewayLink& gateway, int node, int replyTimeoutSeconds);

    // From now on the node's frames reach `handler` (the panel takes the
    // node over from the main window's connect-time entry).
    void listen(NodeHandler handler);

    // Sends the command and waits for the node's reply for the unit's
    // reply-wait time-out; `stop` or stop() end the wait as Cancelled.
    NodeExchange sendAndWait(std::string_view command, std::stop_token stop);
    // Sends the command without waiting; 0 or the link's code.
    int send(std::string_view command);
    // Runs `commands` on the link's own thread, one after the other: user
    // actions that wait for replies, so the window is never held by them.
    void post(std::function<void()> commands);

    CGatewayLink& gateway() { return gateway_; }
    int node() const { return node_; }
    int replyTimeoutSeconds() const { return timeoutSeconds_; }

    // Cancels every wait, lets the posted commands run out (they find the
    // link stopped) and ends the registration once a call of the handler in
    // progress has returned.
    void stop() override;
    // The link stays open for the other units behind the gateway.
    void release() override {}

private:
    CGatewayLink& gateway_;
    const int node_;
    const int timeoutSeconds_;
    std::stop_source stopped_;
    std::mutex registrationMutex_;
    GatewayNode registration_;
    // Last: joined before the rest goes.
    WorkerThread<std::function<void()>> commands_{[](std::function<void()>& run) { run(); }};
};

} // namespace vantel
