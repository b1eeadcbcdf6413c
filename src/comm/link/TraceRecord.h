#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantel {

class TextCodec;

// Which way a traced frame went; Event is a line of its own about the link
// (a connect and its outcome, a lost connection, a reply that never came).
enum class TraceDirection { Sent, Received, Event };

// One line of the communication trace.
struct TraceRecord {
    std::int64_t wallMs = 0; // milliseconds since 1970-01-01 UTC
    std::string unit;        // "host:port", "GW host:port #03", "udp 192.168.0.5:30718"
    TraceDirection direction = TraceDirection::Event;
    std::string bytes;   // the frame exactly as it travelled
    std::string meaning; // what the program made of it

    bool operator==(const TraceRecord&) const = default;
};

// "→", "←" or "·": the arrow the window and the file show.
std::string_view DirectionArrow(TraceDirection direction);
// "1A 2B C8": each byte as two upper-case hex digits, separated by a space.
std::string HexOf(std::string_view bytes);
// The bytes as text in `codec`'s code page (UTF-8 out), control bytes and
// the terminator shown as ".".
std::string TextOf(std::string_view bytes, const TextCodec& codec);

} // namespace vantel
