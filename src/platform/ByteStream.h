#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <sys/types.h>

namespace vantel {

class WakeEvent;

// What one non-blocking read found.
struct StreamRead {
    std::size_t count = 0; // bytes stored; 0 with no error: nothing was waiting
    int error = 0;         // code of the failure, in the stream's own numbering
    bool lost = false;     // the peer closed or the device went away: no byte will ever come
};

enum class StreamWait { Readable, Woken, TimedOut };

// A two-way byte stream to a device (a TCP connection or a serial port), for
// a reader thread that waits for input without idling and a writer on other
// threads. Reads and waits belong to one thread; writes may come from any
// thread but not two at once.
class ByteStream {
public:
    virtual ~ByteStream() = default;

    // Takes what has already arrived, never waiting.
    virtual StreamRead readAvailable(std::span<std::uint8_t> into) = 0;
    // Writes every byte (or fails); 0 or the error code.
    virtual int write(std::span<const std::uint8_t> bytes) = 0;
    // Until input (or the loss of the stream) is waiting, `wake` is signalled
    // or `timeoutMs` has passed; a negative time-out waits without end.
    virtual StreamWait waitReadable(const WakeEvent& wake, int timeoutMs) = 0;
};

// For the streams of this layer: one call of `readOnce` (a read or receive
// that never waits, returning its byte count or -1 with errno set) made into
// a StreamRead. A would-block is nothing waiting; an end of stream is lost
// with `endCode`; a failure is lost with `codeOf(errno)`.
StreamRead ReadWithoutWaiting(const std::function<ssize_t(std::span<std::uint8_t>)>& readOnce,
                              std::span<std::uint8_t> into, int endCode, int (*codeOf)(int err));

} // namespace vantel
