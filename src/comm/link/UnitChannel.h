#pragma once

#include "comm/link/ChannelConnection.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

namespace vantel {

inline constexpr int kDefaultConnectTimeoutMs = 3000;

// What the analog and digital unit channels share: one persistent connection
// with its time-out, the record of the last failure, and the lock a worker
// holds over an exchange and its callback. After a failure the next exchange
// connects again first, so a panel keeps polling across a unit restart.
class UnitChannel {
public:
    UnitChannel(const UnitChannel&) = delete;
    UnitChannel& operator=(const UnitChannel&) = delete;

    void close();
    // Any thread: the exchange under way fails at once and so does every
    // later one, without connecting again. For letting go of a unit that
    // no longer answers without waiting for its time-outs.
    void abandon();
    bool abandoned() const { return abandoned_.load(); }
    bool isConnected() const { return connected_.load() != 0; }
    // 0 while healthy, else the code of the last failure.
    int lastError() const { return lastError_.load(); }

    int connectTimeoutMs() const { return timeoutMs_.load(); }
    void setConnectTimeout(int timeoutMs) { timeoutMs_.store(timeoutMs); }

    // Sends `command` and fills `reply` (its size is the expected length).
    // The whole reply is due one time-out after the send.
    int ExchangeFixed(std::span<const std::uint8_t> command, std::span<std::uint8_t> reply);

    // The persistent connection's trace while tracing is on; under mutex().
    StreamTrace* trace() { return connection_.trace(); }

    // Recursive: a callback that runs under the lock may itself exchange.
    std::recursive_mutex& mutex() { return mutex_; }

protected:
    // A positive value (the command-line option) replaces the default time-out;
    // 0, or a nonsensical negative value, keeps the default.
    explicit UnitChannel(int timeoutOptionMs);
    ~UnitChannel() = default;

    int open(UnitAddress address);
    // Reconnects when the last exchange failed, drops stale input (a late
    // reply, or noise after the last one), then sends.
    int prepareAndSend(std::span<const std::uint8_t> command);
    int recordFailure(int error);
    // ExchangeFixed(), skipping replies that do not start with `echo` when given.
    int exchangeFixed(std::span<const std::uint8_t> command, std::span<std::uint8_t> reply,
                      std::optional<ChannelConnection::Echo> echo);
    // Opens the connection to the last address again; under mutex() only.
    int reconnect();
    // Read under mutex() only.
    const UnitAddress& address() const { return address_; }

    ChannelConnection connection_;

private:
    std::recursive_mutex mutex_;
    UnitAddress address_;
    std::atomic<int> timeoutMs_;
    std::atomic<int> connected_{0};
    std::atomic<int> lastError_{0};
    std::atomic<bool> abandoned_{false};
};

} // namespace vantel
