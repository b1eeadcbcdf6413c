#include "panels/gateway/NodeSession.h"

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

NodeSession::NodeSession(CGatewayLink& gateway, int node, int replyTimeoutSeconds)
    : gateway_(gateway), node_(node), timeoutSeconds_(replyTimeoutSeconds),
      watchdog_(std::make_unique<ReplyWatchdog>(SteadyClock::instance(), replyTimeoutSeconds))
{
}

NodeSession::~NodeSession()
{
    stop();
}

void NodeSession::bind(const Clock& clock, std::stop_token closing)
{
    watchdog_ = std::make_unique<ReplyWatchdog>(clock, timeoutSeconds_);
    closing_ = std::move(closing);
}

void NodeSession::listen(ReplyRoute route)
{
    route_ = std::move(route);
    GatewayNode registration = gateway_.registerNode(node_, [this](const NodeFrame& frame) { return onFrame(frame); });
    const std::lock_guard guard(registrationMutex_);
    registration_ = std::move(registration);
}

bool NodeSession::onFrame(const NodeFrame& frame)
{
    watchdog_->answered();
    const std::string_view payload = frame.payload;
    if (payload.size() <= 2)
        return false;
    return route_(payload.substr(0, 2), payload);
}

void NodeSession::startUp(std::function<bool()> sequence, std::function<void(bool)> done)
{
    startUp_ = std::thread([sequence = std::move(sequence), done = std::move(done)] { done(sequence()); });
}

bool NodeSession::exchange(std::string_view command)
{
    return sendAndWait(command).answered();
}

NodeExchange NodeSession::sendAndWait(std::string_view command)
{
    watchdog_->sent();
    if (stopped_.stop_requested())
        return {NodeReply::Cancelled, 0};
    // Either the close or stop() ends the wait.
    std::stop_source either;
    const std::stop_callback byClose(closing_, [&either] { either.request_stop(); });
    const std::stop_callback byStop(stopped_.get_token(), [&either] { either.request_stop(); });
    return gateway_.sendAndWait(node_, command, static_cast<std::int64_t>(timeoutSeconds_) * 1000, either.get_token());
}

int NodeSession::send(std::string_view command)
{
    watchdog_->sent();
    if (stopped_.stop_requested())
        return GatewayError::NotRunning;
    return gateway_.sendToNode(node_, command);
}

void NodeSession::post(std::function<void()> commands)
{
    commands_.post(std::move(commands));
}

void NodeSession::stop()
{
    stopped_.request_stop();
    if (startUp_.joinable())
        startUp_.join();
    commands_.stop();
    GatewayNode registration;
    {
        const std::lock_guard guard(registrationMutex_);
        registration = std::move(registration_);
    }
    registration.close();
}

} // namespace vantel
