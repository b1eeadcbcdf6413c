#pragma once

#include "comm/UnitChannel.h"

#include <string>

namespace vantel {

// The persistent connection to an analog unit; every reply has a length known
// from its command.
class CAnalogChannel : public UnitChannel {
public:
    explicit CAnalogChannel(int timeoutOptionMs = 0) : UnitChannel(timeoutOptionMs) {}

    int connect(const std::string& host, int port, Ipv4Address bindAddress);
    // Set after a failed send or receive; the next exchange reconnects first.
    bool isBroken() const { return lastError() != 0; }
};

} // namespace vantel
