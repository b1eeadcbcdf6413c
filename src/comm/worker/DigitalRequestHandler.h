#pragma once

#include "comm/link/CDigitalChannel.h"
#include "comm/link/ChannelExchange.h"
#include "comm/protocol/AsciiReplies.h"
#include "comm/worker/DigitalRequests.h"

namespace vantel {

// Runs one request in the dialect of the channel's catalogue row and calls
// back with the parsed reply or the failure shape, all under the channel's lock.
void Serve(CDigitalChannel& channel, digital::Request& request);

// The model query (MI, or the two-byte query), also run by the panel at connect time.
Outcome<ascii::UnitIdentity> QueryDigitalModel(CDigitalChannel& channel);

// The one-shot value of an output (NJ), asked once per output after the first output read.
Outcome<int> QueryOneShotValue(CDigitalChannel& channel, int output);

} // namespace vantel
