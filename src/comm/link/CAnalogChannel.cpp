#include "comm/link/CAnalogChannel.h"

namespace vantel {

int CAnalogChannel::connect(const std::string& host, int port, Ipv4Address bindAddress)
{
    return open(UnitAddress{host, port, bindAddress});
}

int CAnalogChannel::ExchangeFixed(std::span<const std::uint8_t> command, std::span<std::uint8_t> reply)
{
    if (command.size() < 2) {
        return UnitChannel::ExchangeFixed(command, reply);
    }
    return exchangeFixed(command, reply, ChannelConnection::EchoOf(command));
}

} // namespace vantel
