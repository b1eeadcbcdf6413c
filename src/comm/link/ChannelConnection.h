#pragma once

#include "comm/link/TracingStream.h"
#include "comm/protocol/ReplyShape.h"
#include "platform/TcpSocket.h"
#include "platform/WakeEvent.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>

namespace vantel {

// Where a unit connection goes; kept so a broken connection can be opened again.
struct UnitAddress {
    std::string host;
    int port = 0;
    Ipv4Address bindAddress = kAnyAddress; // adapter chosen in the main window, 0 = any
};

// One TCP connection to a unit, read and written through its ByteStream like
// every other device link; only connecting, closing and interrupting use the
// socket itself. Reads go through a buffer: a reply usually
// arrives in one piece, so a frame costs one receive call rather than one per
// byte, and bytes after a frame stay here for the next read.
//
// Every read of a reply ends by one deadline for the whole exchange, whatever
// the unit sends meanwhile: a unit that keeps talking without ever giving the
// answer (frames for other commands, stray bytes, a byte now and then) fails
// with WinsockError::TimedOut exactly as a silent one does.
//
// While the process traces (TraceHub), the stream is read and written
// through a TracingStream: connects, frames and, ended by the exchange layer
// with their meaning, replies are recorded under the unit's "host:port".
class ChannelConnection {
public:
    using Deadline = std::chrono::steady_clock::time_point;
    // The first two bytes of an ASCII reply: the command letters in lower case.
    using Echo = std::array<std::uint8_t, 2>;
    static constexpr int kMaxReceiveCalls = 10;
    static constexpr auto kFrameEnd = static_cast<std::uint8_t>(kTerminator);

    int open(const UnitAddress& address, int timeoutMs);
    void close();
    bool isOpen() const { return stream_.socket().isOpen(); }
    // Any thread: a connect, send or receive under way on another thread
    // returns at once with an error, and so does every later read, even from
    // a unit that goes on sending (a shut-down socket still takes its bytes).
    void interrupt();

    // Drops stale input (a late reply to an earlier command) without waiting,
    // and without draining a unit that floods the connection for ever.
    // False when the unit dropped the connection since the last exchange.
    bool discardInput();
    int send(std::span<const std::uint8_t> command);
    // Fills `reply` completely within at most ten receive calls and by
    // `deadline`; a reply cut short counts as a time-out so no parser ever
    // sees undefined bytes. With `echo` (ASCII dialect), bytes that do not
    // start with it belong to another command (a late answer): they are
    // dropped up to their terminator and the reply is read on.
    int receiveFixed(std::span<std::uint8_t> reply, Deadline deadline, std::optional<Echo> echo = std::nullopt);
    // Reads frames ending in 0xC8 into `frame` until one starts with `echo`
    // (a late answer to an earlier command is skipped), by `deadline`. A
    // frame that fills `frame` without a terminator fails with
    // WinsockError::MessageTooLong.
    int receiveFrame(std::span<std::uint8_t> frame, Echo echo, std::size_t& frameLength, Deadline deadline);
    // Opens a connection just for one fixed-length exchange and closes it
    // again; the reply is due `timeoutMs` after the send.
    int exchangeOnce(const UnitAddress& address, int timeoutMs, std::span<const std::uint8_t> command,
                     std::span<std::uint8_t> reply);

    // When the reply to a command sent now is due.
    static Deadline ReplyDeadline(int timeoutMs);
    // What the reply to an ASCII `command` (at least two bytes) starts with.
    static Echo EchoOf(std::span<const std::uint8_t> command);

    // The trace of this connection while tracing is on, else null; the
    // exchange layer ends each traced reply with what it made of it.
    StreamTrace* trace() { return trace_ ? &*trace_ : nullptr; }

private:
    static constexpr std::uint64_t kNoTraceYet = std::numeric_limits<std::uint64_t>::max();

    ByteStream& stream() { return traced_ ? static_cast<ByteStream&>(*traced_) : stream_; }
    int connect(const UnitAddress& address, int timeoutMs);
    // Puts the tracing decorator in place, or takes it away, when the
    // process started or stopped tracing since the last look.
    void followTracing();
    // One receive into the buffer, waiting no later than `deadline`.
    int fill(Deadline deadline);
    std::size_t take(std::span<std::uint8_t> into);
    // Fills `reply` from `filled` on, within at most ten receive calls.
    int fillReply(std::span<std::uint8_t> reply, std::size_t& filled, Deadline deadline);
    // Appends buffered bytes to `frame` up to a terminator; true when one was reached.
    bool takeFrameBytes(std::span<std::uint8_t> frame, std::size_t& length);

    TcpStream stream_;
    WakeEvent interruption_; // signalled by interrupt(): a wait for input ends at once
    std::array<std::uint8_t, 4096> buffer_{};
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::atomic<bool> interrupted_{false};
    std::string traceUnit_;
    std::uint64_t traceGeneration_ = 0; // tracing is off before anything is attached
    std::optional<StreamTrace> trace_;
    std::optional<TracingStream> traced_;
};

} // namespace vantel
