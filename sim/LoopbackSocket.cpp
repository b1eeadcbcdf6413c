#include "LoopbackSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace vantel::sim {
namespace {

[[noreturn]] void ThrowErrno(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

sockaddr_in LoopbackAddress(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::uint16_t PortOf(int fd, int (*query)(int, sockaddr*, socklen_t*))
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (query(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

} // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        reset();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void FileDescriptor::reset()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

FileDescriptor ListenOnLoopback(std::uint16_t port, int backlog)
{
    FileDescriptor fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid())
        ThrowErrno("socket");
    // A restarted unit takes its old port back at once.
    const int on = 1;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in address = LoopbackAddress(port);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        ThrowErrno("bind 127.0.0.1");
    if (::listen(fd.get(), backlog) != 0)
        ThrowErrno("listen");
    return fd;
}

std::uint16_t LocalPort(int fd)
{
    return PortOf(fd, ::getsockname);
}

std::uint16_t PeerPort(int fd)
{
    return PortOf(fd, ::getpeername);
}

void SetBacklog(int listenFd, int backlog)
{
    ::listen(listenFd, backlog);
}

FileDescriptor ConnectToLoopback(std::uint16_t port, bool nonBlocking)
{
    FileDescriptor fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0));
    if (!fd.valid())
        return fd;
    const sockaddr_in address = LoopbackAddress(port);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 && errno != EINPROGRESS) {
        const int error = errno;
        fd.reset();
        errno = error;
    }
    return fd;
}

FileDescriptor AcceptConnection(int listenFd)
{
    FileDescriptor fd(::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (fd.valid()) {
        const int on = 1;
        ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    return fd;
}

bool SendAll(int fd, const Bytes& bytes)
{
    if (bytes.empty())
        return true;
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    return sent == static_cast<ssize_t>(bytes.size());
}

bool SendWhatFits(int fd, const Bytes& bytes)
{
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    return sent >= 0 || errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

FileDescriptor MakeWakeEvent()
{
    FileDescriptor fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!fd.valid())
        ThrowErrno("eventfd");
    return fd;
}

void SignalWakeEvent(int fd)
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(fd, &one, sizeof one);
}

void ClearWakeEvent(int fd)
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(fd, &count, sizeof count);
}

} // namespace vantel::sim
