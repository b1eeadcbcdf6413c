#pragma once

#include "LoopbackSocket.h"

#include <string>

namespace vantel::sim {

// The simulator's end of a pseudo-terminal standing in for a USB virtual COM
// port. The program opens the other end by a fixed path: a symbolic link that
// follows the device each time it is made anew, as a replugged USB port gets
// its old name back. The simulator also keeps the program's end open itself,
// so its own end never reads as hung up while the program has the port closed.
class PtyDevice {
public:
    PtyDevice() = default;
    ~PtyDevice() { close(); }
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    // Makes a new pseudo-terminal in raw mode and points `linkPath` at it
    // (when not empty). Throws std::system_error.
    void open(const std::string& linkPath);
    // The device disappears: its link is removed and the program's end reads
    // as gone.
    void close();
    bool isOpen() const { return master_.valid(); }

    int fd() const { return master_.get(); }
    // The program's end, e.g. /dev/pts/7.
    const std::string& devicePath() const { return devicePath_; }

private:
    FileDescriptor master_;
    FileDescriptor heldPeer_;
    std::string devicePath_;
    std::string linkPath_;
};

} // namespace vantel::sim
