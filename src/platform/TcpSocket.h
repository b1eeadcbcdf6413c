#pragma once

#include "platform/ByteStream.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <utility>

namespace vantel {

// IPv4 address in network byte order, the form the adapter table hands out.
using Ipv4Address = std::uint32_t;
inline constexpr Ipv4Address kAnyAddress = 0;

Ipv4Address LoopbackAddress();
// Whether an address lies in 127.0.0.0/8.
bool IsLoopbackAddress(Ipv4Address address);

// Looks up an IPv4 address for a host name or dotted quad. Returns 0, or
// WinsockError::HostNotResolvable for an empty or unknown name.
int ResolveIPv4(const std::string& host, Ipv4Address& address);

struct ConnectOptions {
    Ipv4Address bindAddress = kAnyAddress; // local adapter to leave from
    int timeoutMs = 3000;                  // for the connect, then for every send and receive
    bool noDelay = true;                   // units answer short commands; never wait to coalesce
};

// A blocking TCP stream with time-outs. Every failing call returns a Winsock
// error code; 0 means success. One thread uses it; only shutdown() may come
// from another, to wake that thread.
class TcpSocket {
public:
    TcpSocket() = default;
    explicit TcpSocket(int fd) : fd_(fd) {}
    ~TcpSocket();
    TcpSocket(TcpSocket&& other) noexcept;
    TcpSocket& operator=(TcpSocket&& other) noexcept;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Binds to the chosen adapter, connects within the time-out and applies the options.
    int connect(Ipv4Address address, int port, const ConnectOptions& options);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    // Ends both directions; a thread blocked on this socket (connecting,
    // sending or receiving) returns at once. Safe from any thread.
    void shutdown();

    // Sends every byte; a partial send continues rather than losing the tail.
    int send(std::span<const std::uint8_t> bytes);
    // One receive call. A peer that closed the stream is reported as a reset:
    // no further byte will come, so callers must not wait for one.
    int receive(std::span<std::uint8_t> into, std::size_t& received);
    // Throws away whatever has already arrived, without waiting for more, in
    // at most `maxReads` reads (a peer that floods the connection is not
    // drained for ever). False when the peer has closed or reset the
    // connection meanwhile.
    bool discardPending(int maxReads = 64);
    // True when a byte (or the peer's close) is waiting within the time-out.
    bool waitReadable(int timeoutMs);
    // Takes what has arrived without waiting. A peer that closed the stream
    // reads as lost with WinsockError::Disconnected, a reset as lost with its code.
    StreamRead receiveAvailable(std::span<std::uint8_t> into);
    // As waitReadable(), also returning when `wake` is signalled.
    StreamWait waitReadable(const WakeEvent& wake, int timeoutMs);

    int setTimeouts(int timeoutMs);
    int setNoDelay(bool on);

private:
    // Opening and closing the descriptor take the lock, and so does
    // shutdown(), so it never reaches a number already closed and reused.
    void adopt(int fd);
    std::atomic<int> fd_{-1};
    std::mutex descriptorMutex_;
};

// A TCP connection as the byte stream of a reader thread.
// Its owner connects, closes and shuts down the socket itself.
class TcpStream final : public ByteStream {
public:
    TcpStream() = default;
    explicit TcpStream(TcpSocket socket) : socket_(std::move(socket)) {}

    TcpSocket& socket() { return socket_; }
    const TcpSocket& socket() const { return socket_; }

    StreamRead readAvailable(std::span<std::uint8_t> into) override { return socket_.receiveAvailable(into); }
    int write(std::span<const std::uint8_t> bytes) override { return socket_.send(bytes); }
    StreamWait waitReadable(const WakeEvent& wake, int timeoutMs) override
    {
        return socket_.waitReadable(wake, timeoutMs);
    }

private:
    TcpSocket socket_;
};

// Accepting side, for stand-in units, benchmarks and tests on loopback.
class TcpListener {
public:
    TcpListener() = default;
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Port 0 picks a free port; port() tells which.
    int listen(Ipv4Address address, int port, int backlog = 16);
    int port() const { return port_; }
    // WinsockError::TimedOut when nobody connected within the time-out.
    int accept(TcpSocket& peer, int timeoutMs);
    void close();
    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    int port_ = 0;
};

} // namespace vantel
