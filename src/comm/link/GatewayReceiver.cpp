#include "comm/link/GatewayReceiver.h"

#include "comm/link/GatewayNodeTable.h"
#include "comm/link/NodeReplyCounter.h"
#include "comm/link/StreamTrace.h"

#include <string>

namespace vantel {

bool GatewayReceiver::take(std::string_view bytes)
{
    bool intact = true;
    for (const char byte : bytes) {
        switch (assembler_.push(byte)) {
        case GatewayFrameAssembler::Step::Complete:
            handleFrame(assembler_.frame());
            break;
        case GatewayFrameAssembler::Step::Overflow:
            intact = false;
            if (trace_ != nullptr)
                trace_->event("frame longer than 128 bytes: dropped");
            break;
        case GatewayFrameAssembler::Step::Partial:
            break;
        }
    }
    return intact;
}

void GatewayReceiver::traceFrame(std::string_view frame, std::string_view meaning) const
{
    if (trace_ != nullptr)
        trace_->receivedFrame(frame, meaning);
}

void GatewayReceiver::handleFrame(std::string_view frame)
{
    const auto nodeFrame = ParseNodeFrame(frame);
    if (!nodeFrame || nodeFrame->payload.size() <= 2) {
        traceFrame(frame, IsGatewayStatusFrame(frame) ? "gateway status"
                          : nodeFrame                 ? "no reply letters: dropped"
                                                      : "no node: dropped");
        return;
    }
    const GatewayNodeTable::Dispatch dispatch = nodes_.dispatch(*nodeFrame);
    // Recorded before the reply wait ends, so the waiter finds it in the trace.
    traceDispatch(frame, *nodeFrame, dispatch);
    if (dispatch == GatewayNodeTable::Dispatch::Consumed)
        replies_.answered(nodeFrame->node);
}

void GatewayReceiver::traceDispatch(std::string_view frame, const NodeFrame& nodeFrame,
                                    GatewayNodeTable::Dispatch dispatch) const
{
    if (trace_ == nullptr)
        return;
    const std::string letters(nodeFrame.payload.substr(0, 2));
    switch (dispatch) {
    case GatewayNodeTable::Dispatch::Consumed:
        traceFrame(frame, "reply \"" + letters + "\" taken by the node's panel");
        break;
    case GatewayNodeTable::Dispatch::Ignored:
        traceFrame(frame, "\"" + letters + "\" not awaited: ignored");
        break;
    case GatewayNodeTable::Dispatch::NoEntry:
        traceFrame(frame, "node not open: dropped");
        break;
    }
}

} // namespace vantel
