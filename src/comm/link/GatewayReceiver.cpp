#include "comm/link/GatewayReceiver.h"

#include "comm/link/GatewayNodeTable.h"
#include "comm/link/NodeReplyCounter.h"

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
            break;
        case GatewayFrameAssembler::Step::Partial:
            break;
        }
    }
    return intact;
}

void GatewayReceiver::handleFrame(std::string_view frame)
{
    const auto nodeFrame = ParseNodeFrame(frame);
    if (!nodeFrame || nodeFrame->payload.size() <= 2)
        return;
    if (nodes_.dispatch(*nodeFrame) == GatewayNodeTable::Dispatch::Consumed)
        replies_.answered(nodeFrame->node);
}

} // namespace vantel
