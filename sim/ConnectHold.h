#pragma once

#include "LoopbackSocket.h"

#include <cstdint>

namespace vantel::sim {

// Leaves new connection attempts to a loopback listener unanswered while it
// is on (the handshake stalls, as with a device that is busy or far away):
// with no backlog and one connection of its own waiting, the kernel drops
// new SYNs. A held listener must not be polled or accepted from, so its
// queue stays full.
class ConnectHold {
public:
    bool on() const { return filler_.valid(); }
    // Puts the hold on or takes it off `listenFd`, listening on `port` with
    // `backlog` when not held.
    void set(int listenFd, std::uint16_t port, int backlog, bool hold);
    // Forgets the hold without touching the listener (which is going away).
    void reset() { filler_.reset(); }
    // True for the hold's own connection, accepted once the hold is off: it
    // is to be dropped, not served.
    bool isOwnConnection(int acceptedFd);

private:
    FileDescriptor filler_;
    std::uint16_t fillerPort_ = 0;
};

} // namespace vantel::sim
