#include "comm/link/UnitChannel.h"

#include "platform/WinsockError.h"

#include <utility>

namespace vantel {

UnitChannel::UnitChannel(int timeoutOptionMs)
    : timeoutMs_(timeoutOptionMs > 0 ? timeoutOptionMs : kDefaultConnectTimeoutMs)
{
}

void UnitChannel::close()
{
    std::lock_guard lock(mutex_);
    connection_.close();
    connected_.store(0);
}

void UnitChannel::abandon()
{
    // Not under the lock: the worker may hold it while it waits on the socket.
    abandoned_ = true;
    connection_.interrupt();
}

int UnitChannel::open(UnitAddress address)
{
    std::lock_guard lock(mutex_);
    address_ = std::move(address);
    connected_.store(0);
    const int error = connection_.open(address_, timeoutMs_.load());
    lastError_.store(error);
    connected_.store(error == 0 ? 1 : 0);
    return error;
}

int UnitChannel::reconnect()
{
    // abandon() marks the channel before it shuts the socket down, so a drain
    // that saw the shutdown finds the mark here and no new connection is made.
    if (abandoned_.load()) {
        return recordFailure(WinsockError::ConnectionAborted);
    }
    if (const int error = open(address_)) {
        return error;
    }
    // Given up on while connecting: the new connection is not used.
    if (abandoned_.load()) {
        return recordFailure(WinsockError::ConnectionAborted);
    }
    return 0;
}

int UnitChannel::recordFailure(int error)
{
    lastError_.store(error);
    return error;
}

int UnitChannel::prepareAndSend(std::span<const std::uint8_t> command)
{
    if (abandoned_.load()) {
        return recordFailure(WinsockError::ConnectionAborted);
    }
    if (lastError_.load() != 0 || !connection_.isOpen()) {
        if (const int error = reconnect()) {
            return error;
        }
    }
    // A unit that restarted between two exchanges has dropped the old
    // connection; connect again now rather than fail a command it never saw.
    if (!connection_.discardInput()) {
        if (const int error = reconnect()) {
            return error;
        }
    }
    return recordFailure(connection_.send(command));
}

int UnitChannel::ExchangeFixed(std::span<const std::uint8_t> command, std::span<std::uint8_t> reply)
{
    return exchangeFixed(command, reply, std::nullopt);
}

int UnitChannel::exchangeFixed(std::span<const std::uint8_t> command, std::span<std::uint8_t> reply,
                               std::optional<ChannelConnection::Echo> echo)
{
    std::lock_guard lock(mutex_);
    if (const int error = prepareAndSend(command)) {
        return error;
    }
    return recordFailure(connection_.receiveFixed(reply, ChannelConnection::ReplyDeadline(timeoutMs_.load()), echo));
}

} // namespace vantel
