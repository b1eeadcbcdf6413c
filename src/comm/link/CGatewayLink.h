#pragma once

#include "comm/link/GatewayNodeTable.h"
#include "comm/link/GatewayTransport.h"
#include "comm/link/NodeReplyCounter.h"
#include "comm/link/StreamTrace.h"
#include "comm/protocol/GatewayFrame.h"
#include "platform/WakeEvent.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string_view>
#include <thread>

namespace vantel {

class Clock;
class GatewayReceiver;

enum class LinkState { Closed, Starting, Running, Closing };

enum class NodeReply { Answered, TimedOut, Cancelled, SendFailed };

struct NodeExchange {
    NodeReply reply = NodeReply::SendFailed;
    int error = 0; // the link's code when the send failed
    bool answered() const { return reply == NodeReply::Answered; }
};

// The one link to the wireless gateway, shared by every gateway unit of the
// process: its owner (the main window, or vantelctl) holds it and hands out
// references. Frames of the node's commands go out as "%02X" of the node
// followed by the command; a receive thread cuts the incoming bytes into
// frames ending in 0xC8 and hands each to the handler registered for its node.
//
// The receive thread waits on the descriptor and delivers a frame as soon as
// its terminator arrives. When the transport goes away (the gateway closes
// the connection, the USB device is unplugged) it opens it again with the
// same settings every 500 ms until it succeeds or the link is closed.
//
// While the process traces (TraceHub) the stream is wrapped in a
// TracingStream: opens, sent frames, received frames with what became of
// them, and replies that never came are recorded under "GW host:port #NN".
//
// Every member may be called from any thread except that close() and the
// destructor must not come from a handler.
class CGatewayLink {
public:
    explicit CGatewayLink(Clock& clock);
    ~CGatewayLink();
    CGatewayLink(const CGatewayLink&) = delete;
    CGatewayLink& operator=(const CGatewayLink&) = delete;

    // Opens the transport and starts the receive thread; returns once bytes
    // that were waiting have been thrown away. 0 or the code also recorded
    // as lastError(): GatewayError::NotClosed unless closed, else the code of
    // OpenGatewayStream().
    int open(const GatewayTransport& transport, const GatewayOpenOptions& options = {});
    // Ends every reply wait, stops the receive thread and closes the
    // transport. Registrations stay (the connect sequence registers first).
    void close();

    LinkState state() const { return state_.load(); }
    bool running() const { return state() == LinkState::Running; }
    int lastError() const { return lastError_.load(); }
    // The settings of the last open, for checking that a unit uses this gateway.
    GatewayTransport transport() const;

    // Writes the bytes as they are; 0 or the code (GatewayError::NotRunning
    // unless running). When the transport has gone (the gateway closed the
    // connection, the device was pulled out) the send waits, up to the
    // connect time-out plus one retry, for the receive thread to open it
    // again and sends once more; `stop` or close() end that wait
    // (GatewayError::NotRunning).
    int sendText(std::string_view bytes, std::stop_token stop = {});

    // Frames for `node` reach `handler` until the registration ends.
    // Throws std::out_of_range for a node outside 0-254.
    GatewayNode registerNode(int node, NodeHandler handler);

    // Sends the command (terminator included, at most 126 bytes) to the node
    // and counts one reply owed by the node. 0 or the code; a command that is
    // empty or too long is refused with WinsockError::MessageTooLong.
    int sendToNode(int node, std::string_view command, std::stop_token stop = {});
    // Until the node owes no reply, `timeoutMs` has passed on the link's
    // clock, `stop` is requested or the link closes.
    ReplyWait waitForReply(int node, std::int64_t timeoutMs, std::stop_token stop = {});
    // Both: what a gateway panel does for each command it waits for.
    NodeExchange sendAndWait(int node, std::string_view command, std::int64_t timeoutMs, std::stop_token stop = {});
    int pendingReplies(int node) const { return replies_.pending(node); }

private:
    void receive();
    // Receive thread: replaces a lost stream; nullptr when the link closed first.
    ByteStream* reopen();
    void setState(LinkState state);
    // Under streamMutex_: waits for the receive thread to put a stream in
    // place newer than `generation`; false when the link stopped first.
    bool awaitStream(std::unique_lock<std::mutex>& lock, std::uint64_t generation, const std::stop_token& stop);
    // Under streamMutex_: the trace for the process's tracing now (none when off).
    void makeTrace(const GatewayTransport& transport);
    // makeTrace(), and the outcome of opening `transport` recorded there.
    void startTrace(const GatewayTransport& transport, int openError);
    // Under streamMutex_: `stream` behind the tracing decorator while tracing.
    std::unique_ptr<ByteStream> traced(std::unique_ptr<ByteStream> stream);
    // Receive thread: the running stream re-wrapped when the process
    // started or stopped tracing.
    ByteStream* followTracing(ByteStream* stream, GatewayReceiver& receiver);
    std::shared_ptr<StreamTrace> currentTrace();

    GatewayNodeTable nodes_;
    NodeReplyCounter replies_;
    WakeEvent wake_;

    mutable std::mutex controlMutex_; // one open or close at a time
    GatewayTransport transport_;
    GatewayOpenOptions options_;
    std::atomic<LinkState> state_{LinkState::Closed};
    std::atomic<int> lastError_{0};
    std::mutex stateMutex_;
    std::condition_variable stateChanged_;

    // The receive thread alone replaces the stream; senders write under the lock.
    std::mutex streamMutex_;
    std::condition_variable_any streamChanged_;
    std::unique_ptr<ByteStream> stream_;
    std::uint64_t streamGeneration_ = 0;
    std::shared_ptr<StreamTrace> trace_; // replaced by the opening or receive thread only
    std::uint64_t traceGeneration_ = 0;

    std::thread receiver_;
};

} // namespace vantel
