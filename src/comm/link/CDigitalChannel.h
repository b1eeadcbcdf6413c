#pragma once

#include "comm/link/UnitChannel.h"
#include "comm/protocol/ReplyShape.h"

#include <array>
#include <atomic>
#include <string>

namespace vantel {

// The persistent connection to a digital unit, speaking whichever dialect
// its catalogue row selects, plus one-shot connections to the unit's second
// port for the nine-byte dialect.
class CDigitalChannel : public UnitChannel {
public:
    static constexpr std::size_t kFrameCapacity = kFramedReplyCapacity;
    using FrameBuffer = std::array<std::uint8_t, kFrameCapacity>;

    explicit CDigitalChannel(int timeoutOptionMs = 0) : UnitChannel(timeoutOptionMs) {}

    int connect(const std::string& host, int port, int modelRow, int secondPort, Ipv4Address bindAddress);
    int modelRow() const { return modelRow_.load(); }
    int secondPort() const { return secondPort_.load(); }

    // Sends `command` and returns the first frame echoing its letters in lower
    // case; `frameLength` counts the terminator. Whatever else arrives, the
    // frame is due one time-out after the send.
    int ExchangeFramed(std::span<const std::uint8_t> command, std::span<std::uint8_t> frame, std::size_t& frameLength);
    // A connection of its own to the second port; the persistent one is left alone.
    int ExchangeOnce(std::span<const std::uint8_t> command, std::span<std::uint8_t> reply);

    // The second port's trace while tracing is on; under mutex().
    StreamTrace* onceTrace() { return once_.trace(); }

    // Any thread: also ends a one-shot exchange under way on the second port.
    void abandon();

private:
    std::atomic<int> modelRow_{0};
    std::atomic<int> secondPort_{0};
    ChannelConnection once_; // the second port's one-shot connection, under mutex()
};

} // namespace vantel
