#pragma once

#include "comm/ReplyShape.h"
#include "platform/TcpSocket.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vantel {

// Where a unit connection goes; kept so a broken connection can be opened again.
struct UnitAddress {
    std::string host;
    int port = 0;
    Ipv4Address bindAddress = kAnyAddress; // adapter chosen in the main window, 0 = any
};

// One TCP connection to a unit. Reads go through a buffer: a reply usually
// arrives in one piece, so a frame costs one receive call rather than one per
// byte, and bytes after a frame stay here for the next read.
class ChannelConnection {
public:
    static constexpr int kMaxReceiveCalls = 10;
    static constexpr int kMaxFrameReceiveFailures = 3;
    static constexpr auto kFrameEnd = static_cast<std::uint8_t>(kTerminator);

    int open(const UnitAddress& address, int timeoutMs);
    void close();
    bool isOpen() const { return socket_.isOpen(); }
    // Any thread: a connect, send or receive under way on another thread
    // returns at once with an error.
    void interrupt() { socket_.shutdown(); }

    // Drops stale input (a late reply to an earlier command) without waiting.
    void discardInput();
    int send(std::span<const std::uint8_t> command);
    // Fills `reply` completely within at most ten receive calls; a reply cut
    // short counts as a time-out so no parser ever sees undefined bytes.
    int receiveFixed(std::span<std::uint8_t> reply);
    // Reads frames ending in 0xC8 into `frame` until one starts with `echo`
    // (a late answer to an earlier command is skipped). A frame that fills
    // `frame` without a terminator fails with WinsockError::MessageTooLong.
    int receiveFrame(std::span<std::uint8_t> frame, std::array<std::uint8_t, 2> echo, std::size_t& frameLength);
    // Opens a connection just for one fixed-length exchange and closes it again.
    int exchangeOnce(const UnitAddress& address, int timeoutMs, std::span<const std::uint8_t> command,
                     std::span<std::uint8_t> reply);

private:
    int fill();
    std::size_t take(std::span<std::uint8_t> into);
    // Appends buffered bytes to `frame` up to a terminator; true when one was reached.
    bool takeFrameBytes(std::span<std::uint8_t> frame, std::size_t& length);

    TcpSocket socket_;
    std::array<std::uint8_t, 4096> buffer_{};
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

} // namespace vantel
