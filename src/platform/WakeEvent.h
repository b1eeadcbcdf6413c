#pragma once

#include "platform/ByteStream.h"

namespace vantel {

// Wakes a thread that waits for a stream's input, from any thread. Stays
// signalled until cleared, so a signal sent before the wait is not lost.
class WakeEvent {
public:
    WakeEvent();
    ~WakeEvent();
    WakeEvent(const WakeEvent&) = delete;
    WakeEvent& operator=(const WakeEvent&) = delete;

    void signal() const;
    void clear() const;
    // Waits for the event alone (an interruptible sleep); true when signalled.
    bool waitFor(int timeoutMs) const;

    // Waits for either `fd` to become readable or the event, for streams of
    // this layer. A hang-up or error on `fd` counts as readable: the next read
    // tells what it was.
    StreamWait waitWithDescriptor(int fd, int timeoutMs) const;

private:
    int fd_;
};

} // namespace vantel
