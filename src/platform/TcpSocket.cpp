#include "platform/TcpSocket.h"

#include "platform/WakeEvent.h"
#include "platform/WinsockError.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace vantel {

namespace {

int LastError()
{
    return WinsockErrorFromErrno(errno);
}

// A blocking call that ran into SO_RCVTIMEO/SO_SNDTIMEO is a time-out, not a
// would-block: that is what the user sees for a silent unit.
int LastTransferError()
{
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
        return WinsockError::TimedOut;
    }
    return LastError();
}

sockaddr_in MakeAddress(Ipv4Address address, int port)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    sa.sin_addr.s_addr = address;
    return sa;
}

int SetNonBlocking(int fd, bool on)
{
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0) {
        return LastError();
    }
    const int wanted = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, wanted) < 0 ? LastError() : 0;
}

// poll() that survives signals without stretching the total wait.
int PollFor(int fd, short events, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd pfd{fd, events, 0};
        const int ready = ::poll(&pfd, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready >= 0 || errno != EINTR) {
            return ready;
        }
    }
}

// Finishes a connect started on a non-blocking socket.
int AwaitConnect(int fd, int timeoutMs)
{
    const int ready = PollFor(fd, POLLOUT, timeoutMs);
    if (ready < 0) {
        return LastError();
    }
    if (ready == 0) {
        return WinsockError::TimedOut;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) < 0) {
        return LastError();
    }
    return error == 0 ? 0 : WinsockErrorFromErrno(error);
}

int ConnectWithTimeout(int fd, const sockaddr_in& peer, int timeoutMs)
{
    if (const int error = SetNonBlocking(fd, true)) {
        return error;
    }
    int result = 0;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) < 0) {
        result = errno == EINPROGRESS ? AwaitConnect(fd, timeoutMs) : LastError();
    }
    const int restore = SetNonBlocking(fd, false);
    return result != 0 ? result : restore;
}

// Connecting to a local port nobody listens on can, rarely, pick that very
// port as the source and connect the socket to itself; it then echoes every
// command. Nothing listens there, so it counts as refused.
bool ConnectedToItself(int fd)
{
    sockaddr_in local{};
    sockaddr_in peer{};
    socklen_t localLength = sizeof local;
    socklen_t peerLength = sizeof peer;
    return ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) == 0 &&
           ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0 && local.sin_port == peer.sin_port &&
           local.sin_addr.s_addr == peer.sin_addr.s_addr;
}

} // namespace

Ipv4Address LoopbackAddress()
{
    return htonl(INADDR_LOOPBACK);
}

bool IsLoopbackAddress(Ipv4Address address)
{
    return (ntohl(address) >> 24) == 127;
}

int ResolveIPv4(const std::string& host, Ipv4Address& address)
{
    if (host.empty()) {
        return WinsockError::HostNotResolvable;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return WinsockError::HostNotResolvable;
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return 0;
}

TcpSocket::~TcpSocket()
{
    close();
}

TcpSocket::TcpSocket(TcpSocket&& other) noexcept : fd_(other.fd_.exchange(-1)) {}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept
{
    if (this != &other) {
        adopt(other.fd_.exchange(-1));
    }
    return *this;
}

void TcpSocket::adopt(int fd)
{
    const std::lock_guard lock(descriptorMutex_);
    const int old = fd_.exchange(fd);
    if (old >= 0) {
        ::close(old);
    }
}

int TcpSocket::connect(Ipv4Address address, int port, const ConnectOptions& options)
{
    const int created = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (created < 0) {
        const int error = LastError();
        close();
        return error;
    }
    adopt(created);
    const sockaddr_in local = MakeAddress(options.bindAddress, 0);
    int result = 0;
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) < 0) {
        result = LastError();
    }
    if (result == 0) {
        result = ConnectWithTimeout(fd_, MakeAddress(address, port), options.timeoutMs);
    }
    if (result == 0 && ConnectedToItself(fd_)) {
        result = WinsockError::ConnectionRefused;
    }
    if (result == 0) {
        result = setTimeouts(options.timeoutMs);
    }
    if (result == 0) {
        result = setNoDelay(options.noDelay);
    }
    if (result != 0) {
        close();
    }
    return result;
}

void TcpSocket::close()
{
    adopt(-1);
}

void TcpSocket::shutdown()
{
    const std::lock_guard lock(descriptorMutex_);
    if (const int fd = fd_.load(); fd >= 0) {
        ::shutdown(fd, SHUT_RDWR);
    }
}

int TcpSocket::send(std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastTransferError();
        }
        bytes = bytes.subspan(static_cast<std::size_t>(sent));
    }
    return 0;
}

int TcpSocket::receive(std::span<std::uint8_t> into, std::size_t& received)
{
    received = 0;
    for (;;) {
        const ssize_t got = ::recv(fd_, into.data(), into.size(), 0);
        if (got > 0) {
            received = static_cast<std::size_t>(got);
            return 0;
        }
        if (got == 0) {
            return WinsockError::ConnectionReset;
        }
        if (errno != EINTR) {
            return LastTransferError();
        }
    }
}

bool TcpSocket::discardPending(int maxReads)
{
    std::uint8_t scrap[4096];
    for (int reads = 0;; ++reads) {
        if (reads == maxReads)
            return true;
        const ssize_t got = ::recv(fd_, scrap, sizeof scrap, MSG_DONTWAIT);
        if (got > 0)
            continue;
        // Nothing waiting is the healthy case; an end of stream or an error
        // means the peer dropped the connection since the last exchange.
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
    }
}

bool TcpSocket::waitReadable(int timeoutMs)
{
    return PollFor(fd_, POLLIN, timeoutMs) > 0;
}

StreamRead TcpSocket::receiveAvailable(std::span<std::uint8_t> into)
{
    const int fd = fd_.load();
    return ReadWithoutWaiting(
        [fd](std::span<std::uint8_t> buffer) { return ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT); }, into,
        WinsockError::Disconnected, WinsockErrorFromErrno);
}

StreamWait TcpSocket::waitReadable(const WakeEvent& wake, int timeoutMs)
{
    return wake.waitWithDescriptor(fd_, timeoutMs);
}

int TcpSocket::setTimeouts(int timeoutMs)
{
    timeval tv{};
    tv.tv_sec = timeoutMs / 1000;
    tv.tv_usec = static_cast<suseconds_t>((timeoutMs % 1000) * 1000);
    if (::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv) < 0 ||
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) < 0) {
        return LastError();
    }
    return 0;
}

int TcpSocket::setNoDelay(bool on)
{
    const int value = on ? 1 : 0;
    return ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &value, sizeof value) < 0 ? LastError() : 0;
}

TcpListener::~TcpListener()
{
    close();
}

int TcpListener::listen(Ipv4Address address, int port, int backlog)
{
    close();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        return LastError();
    }
    const int reuse = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in local = MakeAddress(address, port);
    socklen_t length = sizeof local;
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) < 0 || ::listen(fd_, backlog) < 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length) < 0) {
        const int error = LastError();
        close();
        return error;
    }
    port_ = ntohs(local.sin_port);
    return 0;
}

int TcpListener::accept(TcpSocket& peer, int timeoutMs)
{
    const int ready = PollFor(fd_, POLLIN, timeoutMs);
    if (ready <= 0) {
        return ready == 0 ? WinsockError::TimedOut : LastError();
    }
    const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        return LastError();
    }
    peer = TcpSocket(fd);
    return peer.setNoDelay(true);
}

void TcpListener::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    port_ = 0;
}

} // namespace vantel
