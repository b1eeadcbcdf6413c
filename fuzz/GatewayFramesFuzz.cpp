// Whatever the gateway's stream carries, the link's frame handling must
// never read or write past its 128-byte frame, hand a handler a frame of
// another node or one without its terminator, or let a reply count run
// below zero; and the panels' reply parsers must never read past a frame or
// name a channel the unit does not have.
#include "comm/link/GatewayConnectReply.h"
#include "comm/link/GatewayNodeTable.h"
#include "comm/link/GatewayReceiver.h"
#include "comm/link/NodeReplyCounter.h"
#include "comm/protocol/AsciiReplies.h"
#include "comm/protocol/ReplyShape.h"
#include "panels/gateway/GatewayAnalogReplies.h"
#include "platform/Clock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// A panel's handler: checks what it is handed and parses it as a panel would.
vantel::NodeHandler CheckingHandler(int node)
{
    return [node](const vantel::NodeFrame& frame) {
        Require(frame.node == node);
        Require(frame.payload.size() > 2 && frame.payload.size() <= vantel::kGatewayFrameCapacity - 2);
        Require(frame.payload.back() == vantel::kTerminator);
        vantel::ascii::ParseDI(frame.payload, vantel::ChannelKind::Gateway);
        vantel::ascii::ParseSN(frame.payload);
        vantel::ascii::ParseMR(frame.payload);
        vantel::ascii::ParseAIAll(frame.payload);
        vantel::ascii::ParseAY(frame.payload);
        for (const auto& read : vantel::ThresholdsInReply(frame.payload, 3))
            Require(read.channel >= 0 && read.channel < 3);
        for (const auto& read : vantel::ThermocouplesInReply(frame.payload, 3))
            Require(read.channel >= 0 && read.channel < 3);
        return frame.payload.starts_with("di") || frame.payload.starts_with("sn");
    };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vantel::ManualClock clock;
    vantel::GatewayNodeTable nodes;
    vantel::NodeReplyCounter replies(clock);
    vantel::GatewayReceiver receiver(nodes, replies);
    std::vector<vantel::GatewayNode> registrations;
    for (const int node : {0, 4, 0x0A, 0x9F, 254})
        registrations.push_back(nodes.install(node, CheckingHandler(node)));
    registrations.push_back(nodes.install(0x12, vantel::ConnectReplyHandler([](const vantel::ascii::UnitIdentity& id) {
                                              Require(id.modelCode >= -0x20 && id.modelCode < 0x100 - 0x20);
                                          })));
    for (const int node : {0, 4, 0x12})
        replies.sent(node);

    // Cut where the input says, as reads of any size would.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = size > 0 ? data[0] % (size + 1) : 0;
    receiver.take(bytes.substr(0, cut));
    receiver.take(bytes.substr(cut));
    for (int node = 0; node < vantel::kGatewayNodeCount; ++node)
        Require(replies.pending(node) >= 0 && replies.pending(node) <= 1);
    return 0;
}
