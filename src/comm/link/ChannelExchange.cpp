#include "comm/link/ChannelExchange.h"

#include <cstdint>
#include <span>

namespace vantel {

namespace {

std::span<const std::uint8_t> CommandBytes(const Request& request)
{
    return {reinterpret_cast<const std::uint8_t*>(request.bytes.data()), request.bytes.size()};
}

std::span<std::uint8_t> ReplyBytes(std::string& reply)
{
    return {reinterpret_cast<std::uint8_t*>(reply.data()), reply.size()};
}

} // namespace

int ExchangeBytes(CAnalogChannel& channel, const Request& request, std::string& reply)
{
    reply.assign(request.reply.length, '\0');
    return channel.ExchangeFixed(CommandBytes(request), ReplyBytes(reply));
}

int ExchangeBytes(CDigitalChannel& channel, const Request& request, std::string& reply)
{
    reply.assign(request.reply.length, '\0');
    if (!request.reply.isFramed()) {
        return channel.ExchangeFixed(CommandBytes(request), ReplyBytes(reply));
    }
    std::size_t frameLength = 0;
    const int error = channel.ExchangeFramed(CommandBytes(request), ReplyBytes(reply), frameLength);
    reply.resize(frameLength);
    return error;
}

int ExchangeOnceBytes(CDigitalChannel& channel, const Request& request, std::string& reply)
{
    reply.assign(request.reply.length, '\0');
    return channel.ExchangeOnce(CommandBytes(request), ReplyBytes(reply));
}

int ExchangeOnce(CDigitalChannel& channel, const Request& request, std::string& reply)
{
    const int error = ExchangeOnceBytes(channel, request, reply);
    TraceOutcome(channel.onceTrace(), Outcome<std::monostate>{error, {}}, request, reply, channel.connectTimeoutMs());
    return error;
}

} // namespace vantel
