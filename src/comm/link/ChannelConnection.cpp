#include "comm/link/ChannelConnection.h"

#include "comm/link/TraceHub.h"
#include "comm/link/TraceMeaning.h"
#include "platform/WinsockError.h"

#include <algorithm>
#include <cstring>

namespace vantel {

int ChannelConnection::open(const UnitAddress& address, int timeoutMs)
{
    close();
    std::string unit = address.host + ":" + std::to_string(address.port);
    if (unit != traceUnit_) {
        traceUnit_ = std::move(unit);
        traceGeneration_ = kNoTraceYet;
    }
    followTracing();
    const int error = connect(address, timeoutMs);
    if (trace_)
        trace_->event(ConnectMeaning(error));
    return error;
}

void ChannelConnection::followTracing()
{
    TraceHub& hub = TraceHub::process();
    const std::uint64_t generation = hub.generation();
    if (generation == traceGeneration_)
        return;
    traceGeneration_ = generation;
    traced_.reset();
    trace_.reset();
    if (TraceTarget target = hub.target()) {
        trace_.emplace(std::move(target), traceUnit_);
        traced_.emplace(stream_, *trace_, TracingStream::Reads::HoldReplies);
    }
}

int ChannelConnection::connect(const UnitAddress& address, int timeoutMs)
{
    Ipv4Address peer = 0;
    if (const int error = ResolveIPv4(address.host, peer)) {
        return error;
    }
    ConnectOptions options;
    options.bindAddress = address.bindAddress;
    options.timeoutMs = timeoutMs;
    return stream_.socket().connect(peer, address.port, options);
}

void ChannelConnection::close()
{
    stream_.socket().close();
    begin_ = end_ = 0;
}

void ChannelConnection::interrupt()
{
    interrupted_ = true;
    interruption_.signal();
    // A connect or send under way does not wait for input: the shutdown ends it.
    stream_.socket().shutdown();
}

ChannelConnection::Deadline ChannelConnection::ReplyDeadline(int timeoutMs)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
}

ChannelConnection::Echo ChannelConnection::EchoOf(std::span<const std::uint8_t> command)
{
    constexpr std::uint8_t kLowerCase = 0x20;
    return {static_cast<std::uint8_t>(command[0] + kLowerCase), static_cast<std::uint8_t>(command[1] + kLowerCase)};
}

bool ChannelConnection::discardInput()
{
    begin_ = end_ = 0;
    // Bounded, so that a unit that floods the connection is not drained for ever.
    constexpr int kMaxDiscardReads = 64;
    for (int reads = 0; reads < kMaxDiscardReads; ++reads) {
        const StreamRead read = stream().readAvailable(buffer_);
        if (read.lost) {
            return false;
        }
        if (read.count == 0) {
            return true;
        }
    }
    return true;
}

int ChannelConnection::send(std::span<const std::uint8_t> command)
{
    followTracing();
    return stream().write(command);
}

int ChannelConnection::fill(Deadline deadline)
{
    for (;;) {
        if (interrupted_.load()) {
            return WinsockError::ConnectionAborted;
        }
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) {
            return WinsockError::TimedOut;
        }
        const StreamWait waited = stream().waitReadable(interruption_, static_cast<int>(left));
        if (waited == StreamWait::TimedOut) {
            return WinsockError::TimedOut;
        }
        if (waited == StreamWait::Woken || interrupted_.load()) {
            return WinsockError::ConnectionAborted;
        }
        const StreamRead read = stream().readAvailable(buffer_);
        begin_ = 0;
        end_ = read.count;
        if (read.lost) {
            // A unit that closed the connection is reported as a reset, as a
            // blocking receive reports it.
            return read.error == WinsockError::Disconnected ? WinsockError::ConnectionReset : read.error;
        }
        if (read.count > 0) {
            return 0;
        }
    }
}

std::size_t ChannelConnection::take(std::span<std::uint8_t> into)
{
    const std::size_t count = std::min(into.size(), end_ - begin_);
    std::memcpy(into.data(), buffer_.data() + begin_, count);
    begin_ += count;
    return count;
}

int ChannelConnection::fillReply(std::span<std::uint8_t> reply, std::size_t& filled, Deadline deadline)
{
    filled += take(reply.subspan(filled));
    for (int calls = 0; filled < reply.size(); ++calls) {
        if (calls == kMaxReceiveCalls) {
            return WinsockError::TimedOut;
        }
        if (const int error = fill(deadline)) {
            return error;
        }
        filled += take(reply.subspan(filled));
    }
    return 0;
}

int ChannelConnection::receiveFixed(std::span<std::uint8_t> reply, Deadline deadline, std::optional<Echo> echo)
{
    std::size_t filled = 0;
    for (;;) {
        if (const int error = fillReply(reply, filled, deadline)) {
            std::fill(reply.begin() + static_cast<std::ptrdiff_t>(filled), reply.end(), std::uint8_t{0});
            return error;
        }
        if (!echo || reply.size() < 2 || (reply[0] == (*echo)[0] && reply[1] == (*echo)[1])) {
            return 0;
        }
        // Another command's frame: drop it, keep what follows it.
        const auto end = std::find(reply.begin(), reply.end(), kFrameEnd);
        const std::size_t stale = end == reply.end() ? filled : static_cast<std::size_t>(end - reply.begin()) + 1;
        std::memmove(reply.data(), reply.data() + stale, filled - stale);
        filled -= stale;
    }
}

bool ChannelConnection::takeFrameBytes(std::span<std::uint8_t> frame, std::size_t& length)
{
    while (begin_ < end_ && length < frame.size()) {
        const std::uint8_t byte = buffer_[begin_++];
        frame[length++] = byte;
        if (byte == kFrameEnd) {
            return true;
        }
    }
    return false;
}

int ChannelConnection::receiveFrame(std::span<std::uint8_t> frame, Echo echo, std::size_t& frameLength,
                                    Deadline deadline)
{
    frameLength = 0;
    for (;;) {
        if (takeFrameBytes(frame, frameLength)) {
            if (frameLength >= 2 && frame[0] == echo[0] && frame[1] == echo[1]) {
                return 0;
            }
            frameLength = 0;
            continue;
        }
        if (frameLength == frame.size()) {
            return WinsockError::MessageTooLong;
        }
        if (const int error = fill(deadline)) {
            frameLength = 0;
            return error;
        }
    }
}

int ChannelConnection::exchangeOnce(const UnitAddress& address, int timeoutMs, std::span<const std::uint8_t> command,
                                    std::span<std::uint8_t> reply)
{
    int error = open(address, timeoutMs);
    if (error == 0) {
        error = send(command);
    }
    if (error == 0) {
        error = receiveFixed(reply, ReplyDeadline(timeoutMs));
    }
    close();
    return error;
}

} // namespace vantel
