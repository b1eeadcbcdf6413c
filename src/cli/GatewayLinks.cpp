#include "cli/GatewayLinks.h"

#include "panels/gateway/NodeSession.h"
#include "platform/Clock.h"

namespace vantel::ctl {

GatewayLinks& GatewayLinks::instance()
{
    static GatewayLinks links;
    return links;
}

CGatewayLink* GatewayLinks::linkFor(const UnitConnection& unit, std::uint32_t bindAddress, int& error)
{
    const GatewayTransport wanted = GatewayTransportOf(unit);
    const std::lock_guard guard(mutex_);
    for (const auto& link : links_)
        if (link->state() != LinkState::Closed && link->transport().sameGateway(wanted))
            return link.get();
    auto link = std::make_unique<CGatewayLink>(SteadyClock::instance());
    GatewayOpenOptions options;
    options.bindAddress = bindAddress;
    error = link->open(wanted, options);
    if (error != 0)
        return nullptr;
    links_.push_back(std::move(link));
    return links_.back().get();
}

} // namespace vantel::ctl
