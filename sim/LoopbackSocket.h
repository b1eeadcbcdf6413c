#pragma once

#include "Bytes.h"

#include <cstdint>
#include <utility>

namespace vantel::sim {

// Owns one descriptor and closes it.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset();

private:
    int fd_ = -1;
};

// A non-blocking TCP listener on 127.0.0.1 (never any other address); port 0 picks a free
// port. Throws std::system_error when the port cannot be bound.
FileDescriptor ListenOnLoopback(std::uint16_t port, int backlog);

// Port a socket is bound to locally, or that its peer uses.
std::uint16_t LocalPort(int fd);
std::uint16_t PeerPort(int fd);

void SetBacklog(int listenFd, int backlog);

// Connects to 127.0.0.1:port. A non-blocking connect returns while the
// handshake is under way. Invalid on failure, with errno telling why.
FileDescriptor ConnectToLoopback(std::uint16_t port, bool nonBlocking);

// The next pending connection (invalid when none), with Nagle off.
FileDescriptor AcceptConnection(int listenFd);

// Whole buffer or nothing; false when the peer is gone or not reading.
bool SendAll(int fd, const Bytes& bytes);
// Sends as much of `bytes` as the connection takes now; false only when the
// connection has failed (a full send buffer is not a failure).
bool SendWhatFits(int fd, const Bytes& bytes);

// An event descriptor that stays readable once signalled, to wake a poll loop.
FileDescriptor MakeWakeEvent();
void SignalWakeEvent(int fd);
void ClearWakeEvent(int fd);

} // namespace vantel::sim
