#pragma once

#include "comm/link/CGatewayLink.h"
#include "comm/worker/WorkerThread.h"
#include "panels/framework/PanelLink.h"
#include "panels/gateway/ReplyWatchdog.h"
#include "platform/Clock.h"
#include "registry/UnitRecord.h"

#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string_view>
#include <thread>

namespace vantel {

// The gateway a unit record names: TCP to host:port, or its COM port.
GatewayTransport GatewayTransportOf(const UnitConnection& unit);

// One unit behind the gateway, on the shared gateway link: the node's
// registration, its frames routed by their reply letters, the start-up
// sequence on a thread of its own, commands sent and waited for (until the
// reply, the unit's reply-wait time-out or the close) or only sent, and the
// reply watchdog that every command marks and every frame clears. The link
// itself belongs to whoever opened it (the main window, vantelctl).
class NodeSession final : public PanelLink {
public:
    // Receive thread, for each frame of the node longer than its two reply
    // letters: true when the frame is taken as the reply to a command.
    using ReplyRoute = std::function<bool(std::string_view letters, std::string_view payload)>;

    NodeSession(CGatewayLink& gateway, int node, int replyTimeoutSeconds);
    ~NodeSession() override;
    NodeSession(const NodeSession&) = delete;
    NodeSession& operator=(const NodeSession&) = delete;

    // Before anything is sent: the clock the watchdog reads (the steady
    // clock until then) and a token whose stop cancels every reply wait, as
    // stop() does (the panel's close).
    void bind(const Clock& clock, std::stop_token closing);

    // From now on the node's frames reach `route` (the session takes the
    // node over from the main window's connect-time entry).
    void listen(ReplyRoute route);
    // Runs `sequence` on the session's start-up thread, then `done` there
    // with its result; stop() cancels its waits and joins it.
    void startUp(std::function<bool()> sequence, std::function<void(bool answered)> done);

    // Sends the command and waits for its reply; false when none came
    // (time-out, send failure, close).
    bool exchange(std::string_view command);
    // The same with the way it ended.
    NodeExchange sendAndWait(std::string_view command);
    // Sends the command without waiting; the reply reaches the route when
    // it comes. 0 or the link's code.
    int send(std::string_view command);
    // Runs `commands` on the session's own thread, one after the other:
    // user actions that wait for replies, so the window is never held by them.
    void post(std::function<void()> commands);

    // The tick: true once, when the reply to the last command is overdue.
    bool overdue() { return watchdog_->overdue(); }

    CGatewayLink& gateway() { return gateway_; }
    int node() const { return node_; }
    int replyTimeoutSeconds() const { return timeoutSeconds_; }

    // Cancels every wait, joins the start-up thread, lets the posted
    // commands run out (they find the session stopped) and ends the
    // registration once a dispatch of a frame in progress has returned.
    void stop() override;
    // The link stays open for the other units behind the gateway.
    void release() override {}

private:
    bool onFrame(const NodeFrame& frame);

    CGatewayLink& gateway_;
    const int node_;
    const int timeoutSeconds_;
    std::unique_ptr<ReplyWatchdog> watchdog_;
    std::stop_source stopped_;
    std::stop_token closing_;
    ReplyRoute route_;
    std::mutex registrationMutex_;
    GatewayNode registration_;
    std::thread startUp_;
    // Last: joined before the rest goes.
    WorkerThread<std::function<void()>> commands_{[](std::function<void()>& run) { run(); }};
};

} // namespace vantel
