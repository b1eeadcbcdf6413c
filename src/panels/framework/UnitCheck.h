#pragma once

#include "comm/link/CAnalogChannel.h"
#include "comm/link/CDigitalChannel.h"
#include "panels/framework/PanelTexts.h"
#include "registry/ModelCatalogue.h"
#include "registry/UnitRecord.h"

#include <string>

namespace vantel {

// Connect time-out of the wireless digital lines, whose replies travel further.
inline constexpr int kWirelessConnectTimeoutMs = 10000;

// What the user is told when opening the connection or the model query
// fails. A refused connection (10061) to a unit that has operating modes
// most likely means the unit is in another mode or its port is taken, so
// those units get a hint instead of the bare code.
std::string ConnectFailureText(const ModelRow& model, int error);
std::string IdentityFailureText(const ModelRow& model, int error);

// Where a unit on the LAN is reached.
struct UnitLocation {
    std::string host;
    int port = kDefaultControlPort;
    int secondPort = kDefaultSecondPort;
};

inline UnitLocation LocationOf(const UnitConnection& unit)
{
    return {unit.host, unit.controlPort, unit.secondPort};
}

// Opens the channel of a unit reached directly (not through a gateway):
// empty when connected, else what to tell the user. The wireless digital
// lines get their longer connect time-out here. May wait for the time-out.
std::string ConnectDirect(CDigitalChannel& channel, const ModelRow& model, const UnitLocation& where,
                          Ipv4Address bindAddress);
std::string ConnectDirect(CAnalogChannel& channel, const ModelRow& model, const UnitLocation& where,
                          Ipv4Address bindAddress);

// What the model query of an open channel found.
struct UnitIdentity {
    int unitId = -1;
    int modelCode = -1;  // as reported, also when it is the wrong one
    std::string failure; // empty when the unit is of the expected model
    bool ok() const { return failure.empty(); }
};

UnitIdentity IdentifyUnit(CDigitalChannel& channel, const ModelRow& model);
UnitIdentity IdentifyUnit(CAnalogChannel& channel, const ModelRow& model);

// Both, in the order in which the user meets their failures.
template <typename Channel>
UnitIdentity ConnectAndIdentify(Channel& channel, const ModelRow& model, const UnitLocation& where,
                                Ipv4Address bindAddress)
{
    if (std::string failure = ConnectDirect(channel, model, where, bindAddress); !failure.empty())
        return {-1, -1, std::move(failure)};
    return IdentifyUnit(channel, model);
}

} // namespace vantel
