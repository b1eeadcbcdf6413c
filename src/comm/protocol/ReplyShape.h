#pragma once

#include <cstddef>
#include <string>

namespace vantel {

// Byte that ends every ASCII command, every ASCII reply and every gateway frame.
inline constexpr char kTerminator = static_cast<char>(0xC8);

// Largest framed reply a unit channel accepts, terminator included.
inline constexpr std::size_t kFramedReplyCapacity = 256;

// Which carrier an ASCII command travels on; a few replies differ in length
// between the analog channel (fixed length) and the digital channel (framed).
// Gateway replies arrive as frames on the link's receive thread.
enum class ChannelKind { Analog, Digital, Gateway };

// How the transport reads the answer to one command.
struct ReplyShape {
    enum class Kind { Fixed, Framed };
    Kind kind = Kind::Fixed;
    // Fixed: the exact number of bytes to read. Framed: the buffer capacity.
    std::size_t length = 0;

    static constexpr ReplyShape Fixed(std::size_t bytes) { return {Kind::Fixed, bytes}; }
    static constexpr ReplyShape Framed() { return {Kind::Framed, kFramedReplyCapacity}; }
    bool isFramed() const { return kind == Kind::Framed; }
    bool operator==(const ReplyShape&) const = default;
};

// One command ready for a channel: the bytes to send and how to read the reply.
struct Request {
    std::string bytes;
    ReplyShape reply;
};

} // namespace vantel
