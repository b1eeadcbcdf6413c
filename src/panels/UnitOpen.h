#pragma once

#include "comm/link/CAnalogChannel.h"
#include "comm/link/CGatewayLink.h"
#include "panels/PanelKindTable.h"
#include "registry/AppState.h"
#include "registry/UnitRecord.h"
#include "ui/ControlView.h"

#include <memory>
#include <stop_token>

namespace vantel {

// An analog unit whose model was confirmed, with its open channel.
struct ConnectedAnalogUnit {
    std::unique_ptr<CAnalogChannel> channel;
    int unitId = 0;
};

// Connects to an analog unit directly (not through a gateway) and checks its
// model with the model query. Failures are shown through `messages`; the
// result then holds no channel. Runs on the caller's thread and may wait for
// the connect time-out; `giveUp` abandons the unit at once.
ConnectedAnalogUnit ConnectAnalogUnit(const UnitRecord& record, Ipv4Address bindAddress, int timeoutOptionMs,
                                      ControlView& messages, std::stop_token giveUp = {});

// The steps of opening a unit where the main window and vantelctl differ:
// where the gateway link comes from, how the model check behind it waits,
// and what shows the panel.
class UnitOpening {
public:
    virtual ~UnitOpening() = default;

    // A unit whose panel connects and checks it itself.
    virtual void openConnectingPanel(const PanelKindRow& row) = 0;
    // A unit connected and checked on its own channel.
    virtual void openOnChannel(const PanelKindRow& row, ConnectedAnalogUnit unit) = 0;
    // The shared link to the unit's gateway, open; null once the user was
    // told why not.
    virtual CGatewayLink* gatewayLink() = 0;
    // A unit behind the gateway, on the open link.
    virtual void openOnGateway(const PanelKindRow& row, CGatewayLink& link) = 0;
    // Sends "MD" to the unit's node; once the reply names the unit's model
    // (now or later) its panel opens with the unit ID the reply reports,
    // otherwise the user is told why not.
    virtual void checkThenOpenOnGateway(const PanelKindRow& row, CGatewayLink& link) = 0;
};

// Connects, checks and opens `unit` the way its kind row says; nothing opens
// for a model no panel opens. Failures are shown through `messages`.
void OpenUnit(const UnitRecord& unit, const AppState& app, ControlView& messages, UnitOpening& opening,
              std::stop_token giveUp = {});

} // namespace vantel
