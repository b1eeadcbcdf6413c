#include "platform/UdpSocket.h"

#include "platform/WinsockError.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vantel {

namespace {

int LastError()
{
    return WinsockErrorFromErrno(errno);
}

sockaddr_in MakeAddress(const DatagramAddress& to)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(to.port));
    sa.sin_addr.s_addr = to.address;
    return sa;
}

} // namespace

bool ParseDottedAddress(const std::string& text, Ipv4Address& address)
{
    in_addr in{};
    if (::inet_pton(AF_INET, text.c_str(), &in) != 1)
        return false;
    address = in.s_addr;
    return true;
}

bool ParseDatagramAddress(const std::string& text, DatagramAddress& address)
{
    const auto colon = text.rfind(':');
    if (colon == std::string::npos)
        return false;
    const std::string port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int number = std::stoi(port);
    Ipv4Address ip = 0;
    if (number < 1 || number > 0xFFFF || !ParseDottedAddress(text.substr(0, colon), ip))
        return false;
    address = {ip, number};
    return true;
}

UdpSocket::~UdpSocket()
{
    close();
}

int UdpSocket::open(Ipv4Address bindAddress, int port, bool broadcast)
{
    close();
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return LastError();
    const int on = 1;
    const sockaddr_in local = MakeAddress({bindAddress, port});
    if ((broadcast && ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) < 0) ||
        ::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) < 0) {
        const int error = LastError();
        close();
        return error;
    }
    return 0;
}

void UdpSocket::close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

int UdpSocket::localPort() const
{
    sockaddr_in sa{};
    socklen_t length = sizeof sa;
    if (fd_ < 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &length) < 0)
        return 0;
    return ntohs(sa.sin_port);
}

int UdpSocket::sendTo(const DatagramAddress& to, std::span<const std::uint8_t> bytes)
{
    const sockaddr_in peer = MakeAddress(to);
    const ssize_t sent =
        ::sendto(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    return sent < 0 ? LastError() : 0;
}

WaitResult UdpSocket::waitReadable(int timeoutMs)
{
    pollfd pfd{fd_, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, timeoutMs > 0 ? timeoutMs : 0);
    if (ready < 0)
        return errno == EINTR ? WaitResult::TimedOut : WaitResult::Failed;
    if (ready == 0)
        return WaitResult::TimedOut;
    return (pfd.revents & POLLIN) ? WaitResult::Ready : WaitResult::Failed;
}

int UdpSocket::receiveFrom(std::span<std::uint8_t> into, std::size_t& received, DatagramAddress& from)
{
    received = 0;
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    const ssize_t got =
        ::recvfrom(fd_, into.data(), into.size(), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&peer), &length);
    if (got < 0)
        return LastError();
    // Without MSG_TRUNC recvfrom reports at most the buffer size; keep it that way.
    received = static_cast<std::size_t>(got) < into.size() ? static_cast<std::size_t>(got) : into.size();
    from = {peer.sin_addr.s_addr, ntohs(peer.sin_port)};
    return 0;
}

} // namespace vantel
