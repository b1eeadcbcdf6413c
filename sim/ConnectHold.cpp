#include "ConnectHold.h"

namespace vantel::sim {

void ConnectHold::set(int listenFd, std::uint16_t port, int backlog, bool hold)
{
    if (hold == on())
        return;
    if (hold) {
        SetBacklog(listenFd, 0);
        filler_ = ConnectToLoopback(port, true);
        fillerPort_ = filler_.valid() ? LocalPort(filler_.get()) : 0;
    } else {
        SetBacklog(listenFd, backlog);
        filler_.reset();
    }
}

bool ConnectHold::isOwnConnection(int acceptedFd)
{
    if (fillerPort_ == 0 || PeerPort(acceptedFd) != fillerPort_)
        return false;
    fillerPort_ = 0;
    return true;
}

} // namespace vantel::sim
