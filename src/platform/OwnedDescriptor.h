#pragma once

#include <unistd.h>

namespace vantel {

// A file descriptor closed when it goes out of scope; -1 holds none.
class OwnedDescriptor {
public:
    explicit OwnedDescriptor(int fd) : fd_(fd) {}
    ~OwnedDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OwnedDescriptor(const OwnedDescriptor&) = delete;
    OwnedDescriptor& operator=(const OwnedDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace vantel
