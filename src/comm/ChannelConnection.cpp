#include "comm/ChannelConnection.h"

#include "platform/WinsockError.h"

#include <algorithm>
#include <cstring>

namespace vantel {

int ChannelConnection::open(const UnitAddress& address, int timeoutMs)
{
    close();
    Ipv4Address peer = 0;
    if (const int error = ResolveIPv4(address.host, peer)) {
        return error;
    }
    ConnectOptions options;
    options.bindAddress = address.bindAddress;
    options.timeoutMs = timeoutMs;
    return socket_.connect(peer, address.port, options);
}

void ChannelConnection::close()
{
    socket_.close();
    begin_ = end_ = 0;
}

void ChannelConnection::discardInput()
{
    begin_ = end_ = 0;
    socket_.discardPending();
}

int ChannelConnection::send(std::span<const std::uint8_t> command)
{
    return socket_.send(command);
}

int ChannelConnection::fill()
{
    std::size_t received = 0;
    const int error = socket_.receive(buffer_, received);
    begin_ = 0;
    end_ = received;
    return error;
}

std::size_t ChannelConnection::take(std::span<std::uint8_t> into)
{
    const std::size_t count = std::min(into.size(), end_ - begin_);
    std::memcpy(into.data(), buffer_.data() + begin_, count);
    begin_ += count;
    return count;
}

int ChannelConnection::receiveFixed(std::span<std::uint8_t> reply)
{
    std::size_t filled = take(reply);
    for (int calls = 0; filled < reply.size(); ++calls) {
        if (calls == kMaxReceiveCalls) {
            std::fill(reply.begin() + static_cast<std::ptrdiff_t>(filled), reply.end(), std::uint8_t{0});
            return WinsockError::TimedOut;
        }
        if (const int error = fill()) {
            return error;
        }
        filled += take(reply.subspan(filled));
    }
    return 0;
}

bool ChannelConnection::takeFrameBytes(std::span<std::uint8_t> frame, std::size_t& length)
{
    while (begin_ < end_ && length < frame.size()) {
        const std::uint8_t byte = buffer_[begin_++];
        frame[length++] = byte;
        if (byte == kFrameEnd) {
            return true;
        }
    }
    return false;
}

int ChannelConnection::receiveFrame(std::span<std::uint8_t> frame, std::array<std::uint8_t, 2> echo,
                                    std::size_t& frameLength)
{
    frameLength = 0;
    int failures = 0;
    for (;;) {
        if (takeFrameBytes(frame, frameLength)) {
            if (frameLength >= 2 && frame[0] == echo[0] && frame[1] == echo[1]) {
                return 0;
            }
            frameLength = 0;
            failures = 0;
            continue;
        }
        if (frameLength == frame.size()) {
            return WinsockError::MessageTooLong;
        }
        if (const int error = fill()) {
            // A silent unit may still answer; a closed or reset stream never will.
            if (error != WinsockError::TimedOut || ++failures == kMaxFrameReceiveFailures) {
                return error;
            }
        }
    }
}

int ChannelConnection::exchangeOnce(const UnitAddress& address, int timeoutMs, std::span<const std::uint8_t> command,
                                    std::span<std::uint8_t> reply)
{
    int error = open(address, timeoutMs);
    if (error == 0) {
        error = send(command);
    }
    if (error == 0) {
        error = receiveFixed(reply);
    }
    close();
    return error;
}

} // namespace vantel
