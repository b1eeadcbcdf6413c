#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantel {

// Node numbers 0-254 address the wireless units behind the gateway.
inline constexpr int kGatewayNodeCount = 255;
// A received frame, terminator included, never exceeds this.
inline constexpr std::size_t kGatewayFrameCapacity = 128;
// The command part of a sent frame (after the two node digits), terminator included.
inline constexpr std::size_t kGatewayCommandLimit = kGatewayFrameCapacity - 2;

// A received frame for one node: the node's number and what follows its two
// digits, starting with the reply letters, terminator included.
struct NodeFrame {
    int node = 0;
    std::string_view payload;
};

// The gateway's own status frames begin "00gq" and are for no node.
bool IsGatewayStatusFrame(std::string_view frame);

// The node frame in `frame`, or nothing for a status frame, a frame whose
// first two bytes are not hex digits, or node FF (beyond the table).
std::optional<NodeFrame> ParseNodeFrame(std::string_view frame);

// "%02X" of the node followed by the command; nothing when the command is
// empty, over kGatewayCommandLimit bytes or the node is outside 0-254.
std::optional<std::string> NodeCommand(int node, std::string_view command);

// Cuts received bytes into frames ending in 0xC8. A frame that would grow
// past kGatewayFrameCapacity is dropped whole: the bytes up to its terminator
// are discarded too, so its tail never turns into the head of a next frame.
class GatewayFrameAssembler {
public:
    enum class Step { Partial, Complete, Overflow };

    // Overflow is reported once per overlong frame, on the byte that overran.
    Step push(char byte);
    // The frame just completed, terminator included; valid until the next push.
    std::string_view frame() const { return {buffer_.data(), count_}; }
    // Forgets a partial frame (the stream was reopened).
    void reset();

private:
    std::array<char, kGatewayFrameCapacity> buffer_{};
    std::size_t count_ = 0;
    bool complete_ = false;
    bool skipping_ = false;
};

} // namespace vantel
