#include "PtyDevice.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <pty.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace vantel::sim {

void PtyDevice::open(const std::string& linkPath)
{
    close();
    int master = -1;
    int peer = -1;
    char name[PATH_MAX] = {};
    termios raw{};
    ::cfmakeraw(&raw);
    if (::openpty(&master, &peer, name, &raw, nullptr) != 0)
        throw std::system_error(errno, std::generic_category(), "openpty");
    master_ = FileDescriptor(master);
    heldPeer_ = FileDescriptor(peer);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(peer, F_SETFD, FD_CLOEXEC);
    devicePath_ = name;
    linkPath_ = linkPath;
    if (linkPath_.empty())
        return;
    // Replace whatever an earlier run left behind: the new device takes the name.
    const std::string staging = linkPath_ + ".new";
    ::unlink(staging.c_str());
    if (::symlink(devicePath_.c_str(), staging.c_str()) != 0 || ::rename(staging.c_str(), linkPath_.c_str()) != 0) {
        const int error = errno;
        close();
        throw std::system_error(error, std::generic_category(), "symlink " + linkPath);
    }
}

void PtyDevice::close()
{
    if (!linkPath_.empty())
        ::unlink(linkPath_.c_str());
    linkPath_.clear();
    heldPeer_.reset();
    master_.reset();
    devicePath_.clear();
}

} // namespace vantel::sim
