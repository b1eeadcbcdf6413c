#pragma once

#include "comm/link/GatewayNodeTable.h"
#include "comm/protocol/AsciiReplies.h"

#include <functional>

namespace vantel {

// The handler the main window registers for the node it is connecting: it
// takes the "md" replies and reports the model code and unit ID of a whole
// one (5 or 6 bytes) through `report`, on the receive thread, so `report`
// should only post. Other "md" frames are taken without effect; frames with
// other letters are left alone.
NodeHandler ConnectReplyHandler(std::function<void(const ascii::UnitIdentity&)> report);

} // namespace vantel
