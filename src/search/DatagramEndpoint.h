#pragma once

#include "platform/UdpSocket.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <thread>

namespace vantel {

// The datagram socket the search talks through; tests put a scripted one in
// its place. Calls return Winsock error codes, 0 for success.
class DatagramEndpoint {
public:
    virtual ~DatagramEndpoint() = default;
    virtual int sendTo(const DatagramAddress& to, std::span<const std::uint8_t> bytes) = 0;
    virtual WaitResult waitReadable(int timeoutMs) = 0;
    virtual int receiveFrom(std::span<std::uint8_t> into, std::size_t& received, DatagramAddress& from) = 0;
    // The short pause between the probes.
    virtual void pause(std::chrono::milliseconds length) { std::this_thread::sleep_for(length); }
};

class UdpDatagramEndpoint final : public DatagramEndpoint {
public:
    explicit UdpDatagramEndpoint(UdpSocket& socket) : socket_(socket) {}
    int sendTo(const DatagramAddress& to, std::span<const std::uint8_t> bytes) override
    {
        return socket_.sendTo(to, bytes);
    }
    WaitResult waitReadable(int timeoutMs) override { return socket_.waitReadable(timeoutMs); }
    int receiveFrom(std::span<std::uint8_t> into, std::size_t& received, DatagramAddress& from) override
    {
        return socket_.receiveFrom(into, received, from);
    }

private:
    UdpSocket& socket_;
};

} // namespace vantel
