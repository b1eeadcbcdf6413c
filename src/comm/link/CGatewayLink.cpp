#include "comm/link/CGatewayLink.h"

#include "comm/link/GatewayReceiver.h"
#include "comm/link/TraceMeaning.h"
#include "comm/link/TracingStream.h"
#include "platform/SystemError.h"
#include "platform/WinsockError.h"

#include <array>
#include <chrono>

namespace vantel {

namespace {

constexpr int kReopenRetryMs = 500;
// Input waiting at the open is thrown away for at most this long, so a
// gateway that never pauses cannot hold the open.
constexpr auto kFlushLimit = std::chrono::milliseconds(200);
constexpr std::size_t kReadChunk = 256;

bool Active(LinkState state)
{
    return state == LinkState::Starting || state == LinkState::Running;
}

std::string TraceUnitOf(const GatewayTransport& transport)
{
    if (transport.connection == GatewayConnection::Usb)
        return "GW COM" + std::to_string(transport.comPort);
    return "GW " + transport.host + ":" + std::to_string(transport.port);
}

// The code for a stream that went away: a TCP peer that closed in order is
// the link's own "connection ended".
int LostStreamCode(const StreamRead& read)
{
    return read.error == WinsockError::Disconnected ? GatewayError::ConnectFailed : read.error;
}

} // namespace

// A node whose registration ended owes nothing: an "MD" that never got its
// reply must not hold up the first wait of the panel that opens next.
CGatewayLink::CGatewayLink(Clock& clock) : nodes_([this](int node) { replies_.forget(node); }), replies_(clock)
{
    replies_.cancelAll(); // nothing can answer before the first open
}

CGatewayLink::~CGatewayLink()
{
    close();
}

GatewayTransport CGatewayLink::transport() const
{
    const std::lock_guard lock(controlMutex_);
    return transport_;
}

void CGatewayLink::setState(LinkState state)
{
    {
        const std::lock_guard lock(stateMutex_);
        state_ = state;
    }
    stateChanged_.notify_all();
    // A sender waiting for the stream checks the state under this lock;
    // passing through it orders the change before its next check.
    {
        const std::lock_guard lock(streamMutex_);
    }
    streamChanged_.notify_all();
}

int CGatewayLink::open(const GatewayTransport& transport, const GatewayOpenOptions& options)
{
    const std::lock_guard control(controlMutex_);
    if (state_ != LinkState::Closed) {
        lastError_ = GatewayError::NotClosed;
        return GatewayError::NotClosed;
    }
    std::unique_ptr<ByteStream> stream;
    const int error = OpenGatewayStream(transport, options, stream);
    {
        const std::lock_guard lock(streamMutex_);
        startTrace(transport, error);
        if (error == 0) {
            stream_ = traced(std::move(stream));
            ++streamGeneration_;
        }
    }
    if (error != 0) {
        lastError_ = error;
        return error;
    }
    transport_ = transport;
    options_ = options;
    replies_.resetAll();
    wake_.clear();
    setState(LinkState::Starting);
    receiver_ = std::thread([this] { receive(); });
    std::unique_lock lock(stateMutex_);
    stateChanged_.wait(lock, [this] { return state_ != LinkState::Starting; });
    return 0;
}

void CGatewayLink::close()
{
    const std::lock_guard control(controlMutex_);
    if (!Active(state_))
        return;
    setState(LinkState::Closing);
    replies_.cancelAll();
    wake_.signal();
    receiver_.join();
    {
        const std::lock_guard lock(streamMutex_);
        stream_.reset();
    }
    setState(LinkState::Closed);
}

int CGatewayLink::sendText(std::string_view bytes, std::stop_token stop)
{
    if (state_ != LinkState::Running) {
        lastError_ = GatewayError::NotRunning;
        return GatewayError::NotRunning;
    }
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    std::unique_lock lock(streamMutex_);
    if (!stream_ && !awaitStream(lock, streamGeneration_, stop))
        return lastError_.load();
    int error = stream_->write(data);
    // The gateway dropped the connection or the device was pulled out under
    // us: once the receive thread has it back, the same bytes go once more
    // and that send decides.
    if (error == WinsockError::ConnectionReset || error == SystemError::DeviceRemoved) {
        if (!awaitStream(lock, streamGeneration_, stop))
            return lastError_.load();
        error = stream_->write(data);
    }
    if (error != 0)
        lastError_ = error;
    // Tracing started or stopped: the receive thread puts the decorator in
    // place or takes it away.
    if (TraceHub::process().generation() != traceGeneration_)
        wake_.signal();
    return error;
}

void CGatewayLink::makeTrace(const GatewayTransport& transport)
{
    TraceHub& hub = TraceHub::process();
    traceGeneration_ = hub.generation();
    trace_.reset();
    if (TraceTarget target = hub.target())
        trace_ = std::make_shared<StreamTrace>(std::move(target), TraceUnitOf(transport), StreamTrace::Units::ByNode);
}

void CGatewayLink::startTrace(const GatewayTransport& transport, int openError)
{
    makeTrace(transport);
    if (trace_)
        trace_->event(ConnectMeaning(openError));
}

std::unique_ptr<ByteStream> CGatewayLink::traced(std::unique_ptr<ByteStream> stream)
{
    if (!trace_ || !stream)
        return stream;
    return std::make_unique<TracingStream>(std::move(stream), trace_, TracingStream::Reads::FramesByReader);
}

ByteStream* CGatewayLink::followTracing(ByteStream* stream, GatewayReceiver& receiver)
{
    // Only this thread changes the generation while the link runs: no lock to look.
    if (stream == nullptr || TraceHub::process().generation() == traceGeneration_)
        return stream;
    const std::lock_guard lock(streamMutex_);
    std::unique_ptr<ByteStream> bare = std::move(stream_);
    if (trace_)
        bare = static_cast<TracingStream&>(*bare).release();
    makeTrace(transport_);
    stream_ = traced(std::move(bare));
    receiver.setTrace(trace_.get());
    return stream_.get();
}

std::shared_ptr<StreamTrace> CGatewayLink::currentTrace()
{
    const std::lock_guard lock(streamMutex_);
    return trace_;
}

bool CGatewayLink::awaitStream(std::unique_lock<std::mutex>& lock, std::uint64_t generation,
                               const std::stop_token& stop)
{
    const auto limit = std::chrono::milliseconds(kGatewayConnectTimeoutMs + kReopenRetryMs);
    streamChanged_.wait_for(lock, stop, limit, [&] {
        return state_ != LinkState::Running || (stream_ && streamGeneration_ != generation);
    });
    if (state_ != LinkState::Running || stop.stop_requested()) {
        lastError_ = GatewayError::NotRunning;
        return false;
    }
    // Still gone after the wait: the receive thread's last failure tells why.
    return stream_ && streamGeneration_ != generation;
}

GatewayNode CGatewayLink::registerNode(int node, NodeHandler handler)
{
    return nodes_.install(node, std::move(handler));
}

int CGatewayLink::sendToNode(int node, std::string_view command, std::stop_token stop)
{
    const auto frame = NodeCommand(node, command);
    if (!frame) {
        lastError_ = WinsockError::MessageTooLong;
        return WinsockError::MessageTooLong;
    }
    replies_.sent(node);
    const int error = sendText(*frame, std::move(stop));
    if (error != 0)
        replies_.unsent(node);
    return error;
}

ReplyWait CGatewayLink::waitForReply(int node, std::int64_t timeoutMs, std::stop_token stop)
{
    const ReplyWait wait = replies_.wait(node, timeoutMs, std::move(stop));
    if (wait == ReplyWait::TimedOut)
        if (const auto trace = currentTrace())
            trace->nodeEvent(node, NoReplyMeaning(timeoutMs));
    return wait;
}

NodeExchange CGatewayLink::sendAndWait(int node, std::string_view command, std::int64_t timeoutMs, std::stop_token stop)
{
    if (const int error = sendToNode(node, command, stop))
        return {NodeReply::SendFailed, error};
    switch (waitForReply(node, timeoutMs, std::move(stop))) {
    case ReplyWait::Answered:
        return {NodeReply::Answered, 0};
    case ReplyWait::TimedOut:
        return {NodeReply::TimedOut, 0};
    case ReplyWait::Cancelled:
        break;
    }
    return {NodeReply::Cancelled, 0};
}

void CGatewayLink::receive()
{
    ByteStream* stream = nullptr;
    {
        const std::lock_guard lock(streamMutex_);
        stream = stream_.get();
    }
    GatewayReceiver receiver(nodes_, replies_);
    receiver.setTrace(currentTrace().get());
    std::array<std::uint8_t, kReadChunk> chunk{};
    const auto flushEnd = std::chrono::steady_clock::now() + kFlushLimit;
    while (stream != nullptr && Active(state_)) {
        stream = followTracing(stream, receiver);
        const StreamRead read = stream->readAvailable(chunk);
        const std::string_view bytes(reinterpret_cast<const char*>(chunk.data()), read.count);
        if (read.count > 0 && state_ == LinkState::Starting && std::chrono::steady_clock::now() < flushEnd)
            continue; // whatever was waiting before the open is stale
        if (state_ == LinkState::Starting)
            setState(LinkState::Running);
        if (read.count > 0) {
            if (!receiver.take(bytes))
                lastError_ = GatewayError::FrameOverflow;
            continue;
        }
        if (read.lost) {
            lastError_ = LostStreamCode(read);
            receiver.restart();
            stream = reopen();
            receiver.setTrace(currentTrace().get());
            continue;
        }
        if (stream->waitReadable(wake_, -1) == StreamWait::Woken)
            wake_.clear();
    }
}

ByteStream* CGatewayLink::reopen()
{
    {
        const std::lock_guard lock(streamMutex_);
        stream_.reset();
    }
    while (Active(state_)) {
        std::unique_ptr<ByteStream> fresh;
        const int error = OpenGatewayStream(transport_, options_, fresh);
        ByteStream* stream = nullptr;
        {
            const std::lock_guard lock(streamMutex_);
            startTrace(transport_, error);
            if (error == 0) {
                stream_ = traced(std::move(fresh));
                stream = stream_.get();
                ++streamGeneration_;
            }
        }
        if (stream != nullptr) {
            streamChanged_.notify_all();
            return stream;
        }
        lastError_ = error;
        if (wake_.waitFor(kReopenRetryMs))
            wake_.clear();
    }
    return nullptr;
}

} // namespace vantel
