#pragma once

#include "comm/link/CAnalogChannel.h"
#include "registry/UnitRecord.h"
#include "ui/ControlView.h"

#include <memory>

namespace vantel {

// An analog unit whose model was confirmed, with its open channel.
struct ConnectedAnalogUnit {
    std::unique_ptr<CAnalogChannel> channel;
    int unitId = 0;
};

// Connects to an analog unit directly (not through a gateway) and checks its
// model with the model query. Failures are shown through `messages`; the
// result then holds no channel. Runs on the caller's thread and may wait for
// the connect time-out.
ConnectedAnalogUnit ConnectAnalogUnit(const UnitRecord& record, Ipv4Address bindAddress, int timeoutOptionMs,
                                      ControlView& messages);

} // namespace vantel
