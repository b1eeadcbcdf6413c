#pragma once

#include "comm/link/CAnalogChannel.h"
#include "comm/link/ChannelExchange.h"
#include "comm/protocol/AsciiReplies.h"
#include "comm/worker/AnalogRequests.h"

namespace vantel {

// Runs one request: builds its command, exchanges it and calls back with the
// parsed reply or the failure shape, all while holding the channel's lock.
void Serve(CAnalogChannel& channel, analog::Request& request);

// The model query (MI), also run directly by the main window at connect time.
Outcome<ascii::UnitIdentity> QueryAnalogModel(CAnalogChannel& channel);

} // namespace vantel
