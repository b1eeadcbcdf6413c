#pragma once

#include "panels/gateway/GatewayNodeLink.h"
#include "panels/gateway/ReplyWatchdog.h"

#include <stop_token>
#include <string_view>

namespace vantel {

// How a panel behind the gateway talks to its node: every command marks the
// watchdog just before it goes out, every frame of the node clears it, and a
// command is either waited for (until its reply, the unit's reply-wait
// time-out or the panel's close) or only sent. Any thread.
class NodeCommands {
public:
    NodeCommands(GatewayNodeLink& link, const Clock& clock, std::stop_token closing)
        : link_(link), watchdog_(clock, link.replyTimeoutSeconds()), closing_(std::move(closing))
    {
    }

    // False when no reply came (time-out, send failure, close).
    bool exchange(std::string_view command)
    {
        watchdog_.sent();
        return link_.sendAndWait(command, closing_).answered();
    }
    // The reply updates the panel through its frame handler when it comes.
    void send(std::string_view command)
    {
        watchdog_.sent();
        link_.send(command);
    }
    // Receive thread: a frame of the node arrived.
    void frameArrived() { watchdog_.answered(); }
    // The tick: true once, when the reply to the last command is overdue.
    bool overdue() { return watchdog_.overdue(); }

    GatewayNodeLink& link() { return link_; }

private:
    GatewayNodeLink& link_;
    ReplyWatchdog watchdog_;
    const std::stop_token closing_;
};

} // namespace vantel
