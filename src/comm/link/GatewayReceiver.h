#pragma once

#include "comm/link/GatewayNodeTable.h"
#include "comm/protocol/GatewayFrame.h"

#include <string_view>

namespace vantel {

class NodeReplyCounter;
class StreamTrace;

// What the link does with received bytes: cuts them into frames, drops the
// gateway's status frames, frames without a node and frames without a
// reply, hands the others to their node's handler and counts a reply the
// handler took against its node.
class GatewayReceiver {
public:
    GatewayReceiver(GatewayNodeTable& nodes, NodeReplyCounter& replies) : nodes_(nodes), replies_(replies) {}

    // False when a frame outgrew its 128 bytes on the way (it was dropped).
    bool take(std::string_view bytes);
    // The stream was opened again: a frame cut off by the loss is forgotten.
    void restart() { assembler_.reset(); }
    // Each frame, and what became of it, is recorded there (null: not traced).
    void setTrace(StreamTrace* trace) { trace_ = trace; }

private:
    void handleFrame(std::string_view frame);
    void traceFrame(std::string_view frame, std::string_view meaning) const;
    void traceDispatch(std::string_view frame, const NodeFrame& nodeFrame, GatewayNodeTable::Dispatch dispatch) const;

    GatewayNodeTable& nodes_;
    NodeReplyCounter& replies_;
    GatewayFrameAssembler assembler_;
    StreamTrace* trace_ = nullptr;
};

} // namespace vantel
