#include "comm/link/CDigitalChannel.h"

#include "platform/WinsockError.h"

namespace vantel {

int CDigitalChannel::connect(const std::string& host, int port, int modelRow, int secondPort, Ipv4Address bindAddress)
{
    modelRow_.store(modelRow);
    secondPort_.store(secondPort);
    return open(UnitAddress{host, port, bindAddress});
}

int CDigitalChannel::ExchangeFramed(std::span<const std::uint8_t> command, std::span<std::uint8_t> frame,
                                    std::size_t& frameLength)
{
    std::lock_guard lock(mutex());
    frameLength = 0;
    if (command.size() < 2) {
        return WinsockError::InvalidArgument;
    }
    if (const int error = prepareAndSend(command)) {
        return error;
    }
    return recordFailure(connection_.receiveFrame(frame, ChannelConnection::EchoOf(command), frameLength,
                                                  ChannelConnection::ReplyDeadline(connectTimeoutMs())));
}

int CDigitalChannel::ExchangeOnce(std::span<const std::uint8_t> command, std::span<std::uint8_t> reply)
{
    std::lock_guard lock(mutex());
    if (abandoned()) {
        return WinsockError::ConnectionAborted;
    }
    UnitAddress once = address();
    once.port = secondPort_.load();
    const int error = once_.exchangeOnce(once, connectTimeoutMs(), command, reply);
    // Given up on while connecting: whatever came back is not used.
    return abandoned() ? WinsockError::ConnectionAborted : error;
}

void CDigitalChannel::abandon()
{
    UnitChannel::abandon();
    once_.interrupt();
}

} // namespace vantel
