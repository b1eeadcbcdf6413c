#include "cli/GatewayModelCheck.h"

#include "comm/link/GatewayConnectReply.h"
#include "comm/protocol/AsciiCommands.h"
#include "panels/framework/PanelTexts.h"
#include "panels/framework/UnitCheck.h"
#include "panels/gateway/GatewayPanelRules.h"
#include "registry/ModelCatalogue.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace vantel::ctl {

std::optional<int> CheckGatewayModel(CGatewayLink& link, const UnitRecord& unit, ControlView& view)
{
    std::mutex replyMutex;
    std::optional<ascii::UnitIdentity> reply;
    GatewayNode registration =
        link.registerNode(unit.node, ConnectReplyHandler([&](const ascii::UnitIdentity& identity) {
                              const std::lock_guard guard(replyMutex);
                              reply = identity;
                          }));
    const NodeExchange exchange =
        link.sendAndWait(unit.node, ascii::MD().bytes, static_cast<std::int64_t>(unit.replyTimeout) * 1000);
    // Returns once a handler call in progress is over: `reply` is final.
    registration.close();
    if (exchange.reply == NodeReply::SendFailed) {
        view.showMessage(CommunicationErrorText(exchange.error));
        return std::nullopt;
    }
    // An "md" too short to carry the identity ends the wait as well; it
    // tells no more than silence does.
    if (!reply) {
        view.showMessage(kGatewayConnectTimedOut);
        return std::nullopt;
    }
    if (reply->modelCode != ModelAt(unit.modelRow).modelCode) {
        view.showMessage(kWrongModel);
        return std::nullopt;
    }
    return reply->unitId;
}

} // namespace vantel::ctl
