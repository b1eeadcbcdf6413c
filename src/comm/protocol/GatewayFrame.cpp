#include "comm/protocol/GatewayFrame.h"

#include "comm/protocol/AsciiCodec.h"
#include "comm/protocol/ReplyShape.h"

namespace vantel {

namespace {

constexpr std::string_view kStatusPrefix = "00gq";

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

} // namespace

bool IsGatewayStatusFrame(std::string_view frame)
{
    return frame.starts_with(kStatusPrefix);
}

std::optional<NodeFrame> ParseNodeFrame(std::string_view frame)
{
    if (frame.size() < 2 || IsGatewayStatusFrame(frame) || !IsHexDigit(frame[0]) || !IsHexDigit(frame[1]))
        return std::nullopt;
    const std::optional<int> node = ascii::codec::ParseHex(frame.substr(0, 2));
    if (!node || *node >= kGatewayNodeCount)
        return std::nullopt;
    return NodeFrame{*node, frame.substr(2)};
}

std::optional<std::string> NodeCommand(int node, std::string_view command)
{
    if (node < 0 || node >= kGatewayNodeCount || command.empty() || command.size() > kGatewayCommandLimit)
        return std::nullopt;
    return ascii::codec::Hex(node, 2) + std::string(command);
}

GatewayFrameAssembler::Step GatewayFrameAssembler::push(char byte)
{
    if (complete_) {
        complete_ = false;
        count_ = 0;
    }
    if (skipping_) {
        skipping_ = byte != kTerminator;
        return Step::Partial;
    }
    if (count_ == buffer_.size()) {
        count_ = 0;
        skipping_ = byte != kTerminator;
        return Step::Overflow;
    }
    buffer_[count_++] = byte;
    if (byte != kTerminator)
        return Step::Partial;
    complete_ = true;
    return Step::Complete;
}

void GatewayFrameAssembler::reset()
{
    count_ = 0;
    complete_ = false;
    skipping_ = false;
}

} // namespace vantel
