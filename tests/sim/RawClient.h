#pragma once

#include "Bytes.h"
#include "LoopbackSocket.h"

#include <cstdint>
#include <string_view>

namespace vantel::sim::test {

// Bytes of a literal, so tests can write commands as in the tables: B("DI\xC8").
Bytes B(std::string_view text);

// A plain blocking TCP client for 127.0.0.1; reads give up after a generous
// time-out so a broken simulator fails the test instead of hanging it.
class RawClient {
public:
    explicit RawClient(std::uint16_t port);

    bool connected() const { return fd_.valid(); }
    void send(const Bytes& bytes);
    // Up to `count` bytes; fewer only when the peer closed or went silent.
    Bytes read(std::size_t count);
    // Bytes up to and including the next 0xC8.
    Bytes readFrame();
    // True when the peer closed (end of stream or reset) before sending anything.
    bool peerClosed();

private:
    FileDescriptor fd_;
};

// The errno of a blocking connect to 127.0.0.1:port (0 on success).
int ConnectErrno(std::uint16_t port);

// Tries to connect until it succeeds or a few seconds have passed: a listener
// that is being reopened takes a moment.
bool ConnectsEventually(std::uint16_t port);

// Starts a non-blocking connect and reports whether the handshake completed
// within `waitMs`.
bool HandshakeCompletesWithin(std::uint16_t port, int waitMs);

} // namespace vantel::sim::test
