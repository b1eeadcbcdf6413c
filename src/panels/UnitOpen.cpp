#include "panels/UnitOpen.h"

#include "panels/framework/UnitCheck.h"
#include "registry/ModelCatalogue.h"

namespace vantel {

ConnectedAnalogUnit ConnectAnalogUnit(const UnitRecord& record, Ipv4Address bindAddress, int timeoutOptionMs,
                                      ControlView& messages, std::stop_token giveUp)
{
    auto channel = std::make_unique<CAnalogChannel>(timeoutOptionMs);
    UnitIdentity identity;
    {
        // Once the panel has the channel, its close gives the unit up.
        const std::stop_callback abandon(giveUp, [&opening = *channel] { opening.abandon(); });
        identity = ConnectAndIdentify(*channel, ModelAt(record.modelRow), LocationOf(record), bindAddress);
    }
    if (!identity.ok()) {
        messages.showMessage(identity.failure);
        return {};
    }
    return {std::move(channel), identity.unitId};
}

void OpenUnit(const UnitRecord& unit, const AppState& app, ControlView& messages, UnitOpening& opening,
              std::stop_token giveUp)
{
    const PanelKindRow* row = KindRowOf(ModelAt(unit.modelRow));
    if (row == nullptr)
        return;
    switch (row->connect) {
    case ConnectRoute::ByPanel:
        opening.openConnectingPanel(*row);
        return;
    case ConnectRoute::UnitChannel: {
        ConnectedAnalogUnit connected = ConnectAnalogUnit(unit, app.adapterAddress.load(),
                                                          app.commandLineTimeoutMs.load(), messages, std::move(giveUp));
        if (connected.channel)
            opening.openOnChannel(*row, std::move(connected));
        return;
    }
    case ConnectRoute::GatewayNode:
        if (CGatewayLink* link = opening.gatewayLink())
            opening.openOnGateway(*row, *link);
        return;
    case ConnectRoute::GatewayModelCheck:
        if (CGatewayLink* link = opening.gatewayLink())
            opening.checkThenOpenOnGateway(*row, *link);
        return;
    }
}

} // namespace vantel
