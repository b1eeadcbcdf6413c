#include "RawClient.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>
#include <thread>

namespace vantel::sim::test {
namespace {

constexpr int kReadTimeoutMs = 3000;

bool Readable(int fd, int timeoutMs)
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

} // namespace

Bytes B(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

RawClient::RawClient(std::uint16_t port) : fd_(ConnectToLoopback(port, false)) {}

void RawClient::send(const Bytes& bytes)
{
    ::send(fd_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

Bytes RawClient::read(std::size_t count)
{
    Bytes out;
    std::uint8_t byte = 0;
    while (out.size() < count && Readable(fd_.get(), kReadTimeoutMs) && ::recv(fd_.get(), &byte, 1, 0) == 1)
        out.push_back(byte);
    return out;
}

Bytes RawClient::readFrame()
{
    Bytes out;
    std::uint8_t byte = 0;
    while (Readable(fd_.get(), kReadTimeoutMs) && ::recv(fd_.get(), &byte, 1, 0) == 1) {
        out.push_back(byte);
        if (byte == kTerminator)
            break;
    }
    return out;
}

bool RawClient::peerClosed()
{
    std::uint8_t byte = 0;
    return Readable(fd_.get(), kReadTimeoutMs) && ::recv(fd_.get(), &byte, 1, 0) <= 0;
}

int ConnectErrno(std::uint16_t port)
{
    return ConnectToLoopback(port, false).valid() ? 0 : errno;
}

bool ConnectsEventually(std::uint16_t port)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (ConnectErrno(port) == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    return false;
}

bool HandshakeCompletesWithin(std::uint16_t port, int waitMs)
{
    const FileDescriptor fd = ConnectToLoopback(port, true);
    if (!fd.valid())
        return false;
    pollfd entry{fd.get(), POLLOUT, 0};
    const bool writable = ::poll(&entry, 1, waitMs) > 0 && (entry.revents & POLLOUT) != 0;
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length);
    return writable && error == 0;
}

} // namespace vantel::sim::test
