#pragma once

#include "comm/link/UnitChannel.h"

#include <string>

namespace vantel {

// The persistent connection to an analog unit; every reply has a length known
// from its command.
class CAnalogChannel : public UnitChannel {
public:
    explicit CAnalogChannel(int timeoutOptionMs = 0) : UnitChannel(timeoutOptionMs) {}

    int connect(const std::string& host, int port, Ipv4Address bindAddress);
    // Every reply starts with the command's letters in lower case; input
    // that does not (a late reply to an earlier command, which a unit may
    // still send after that exchange timed out) is dropped, so a reply is
    // never taken for another command's.
    int ExchangeFixed(std::span<const std::uint8_t> command, std::span<std::uint8_t> reply);
    // Set after a failed send or receive; the next exchange reconnects first.
    bool isBroken() const { return lastError() != 0; }
};

} // namespace vantel
