#include "comm/link/GatewayConnectReply.h"

#include <utility>

namespace vantel {

NodeHandler ConnectReplyHandler(std::function<void(const ascii::UnitIdentity&)> report)
{
    return [report = std::move(report)](const NodeFrame& frame) {
        if (frame.payload.size() < 3 || !frame.payload.starts_with("md"))
            return false;
        if (const auto identity = ascii::ParseMD(frame.payload))
            report(*identity);
        return true;
    };
}

} // namespace vantel
