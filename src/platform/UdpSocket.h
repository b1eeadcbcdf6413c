#pragma once

#include "platform/TcpSocket.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vantel {

// An IPv4 address (network byte order) and a port (host byte order).
struct DatagramAddress {
    Ipv4Address address = kAnyAddress;
    int port = 0;
    bool operator==(const DatagramAddress&) const = default;
};

inline constexpr Ipv4Address kLimitedBroadcast = 0xFFFFFFFFu;

// Parses "a.b.c.d"; false for anything else.
bool ParseDottedAddress(const std::string& text, Ipv4Address& address);

// Parses "a.b.c.d:port" (port 1-65535); false for anything else.
bool ParseDatagramAddress(const std::string& text, DatagramAddress& address);

enum class WaitResult { Ready, TimedOut, Failed };

// A UDP socket bound to one local adapter. Every failing call returns a
// Winsock error code; 0 means success.
class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Port 0 lets the system choose; broadcast allows sending to broadcast addresses.
    int open(Ipv4Address bindAddress, int port, bool broadcast);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int localPort() const;

    int sendTo(const DatagramAddress& to, std::span<const std::uint8_t> bytes);
    WaitResult waitReadable(int timeoutMs);
    // Takes one datagram; whatever does not fit into `into` is dropped, and
    // `received` never exceeds its size.
    int receiveFrom(std::span<std::uint8_t> into, std::size_t& received, DatagramAddress& from);

private:
    int fd_ = -1;
};

} // namespace vantel
