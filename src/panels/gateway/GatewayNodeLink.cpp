#include "panels/gateway/GatewayNodeLink.h"

#include <optional>

namespace vantel {

GatewayTransport GatewayTransportOf(const UnitConnection& unit)
{
    GatewayTransport transport;
    transport.connection = unit.connectionKind == kConnectionLan ? GatewayConnection::Lan : GatewayConnection::Usb;
    transport.host = unit.host;
    transport.port = unit.controlPort;
    transport.comPort = unit.comPort;
    return transport;
}

GatewayNodeLink::GatewayNodeLink(CGatewayLink& gateway, int node, int replyTimeoutSeconds)
    : gateway_(gateway), node_(node), timeoutSeconds_(replyTimeoutSeconds)
{
}

void GatewayNodeLink::listen(NodeHandler handler)
{
    GatewayNode registration = gateway_.registerNode(node_, std::move(handler));
    const std::lock_guard guard(registrationMutex_);
    registration_ = std::move(registration);
}

NodeExchange GatewayNodeLink::sendAndWait(std::string_view command, std::stop_token stop)
{
    if (stopped_.stop_requested())
        return {NodeReply::Cancelled, 0};
    // Either the caller's token or stop() ends the wait.
    std::stop_source either;
    const std::stop_callback byCaller(stop, [&either] { either.request_stop(); });
    const std::stop_callback byLink(stopped_.get_token(), [&either] { either.request_stop(); });
    return gateway_.sendAndWait(node_, command, static_cast<std::int64_t>(timeoutSeconds_) * 1000, either.get_token());
}

int GatewayNodeLink::send(std::string_view command)
{
    if (stopped_.stop_requested())
        return GatewayError::NotRunning;
    return gateway_.sendToNode(node_, command);
}

void GatewayNodeLink::post(std::function<void()> commands)
{
    commands_.post(std::move(commands));
}

void GatewayNodeLink::stop()
{
    stopped_.request_stop();
    commands_.stop();
    GatewayNode registration;
    {
        const std::lock_guard guard(registrationMutex_);
        registration = std::move(registration_);
    }
    registration.close();
}

} // namespace vantel
