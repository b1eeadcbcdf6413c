#pragma once

#include "Bytes.h"

#include <optional>
#include <string_view>

namespace vantel::sim {

// How a unit misbehaves when it receives a command.
enum class Fault {
    None,
    NoReply,        // the command is swallowed
    StaleEcho,      // a reply to some other command arrives first, then the right one
    Garbage,        // random bytes of the reply's length instead of the reply
    OversizeFrame,  // 300 bytes starting with the right echo and no terminator
    DropConnection, // the connection is closed without a reply
    Restart,        // every connection and listener is closed, then the unit listens again
    Echo,           // the command itself comes back as the reply
    ShortReply,     // only the first half of the reply, then nothing
};

std::optional<Fault> ParseFault(std::string_view name);
std::string_view FaultName(Fault fault);

// Bytes of `reply`'s length that mean nothing; a trailing terminator is kept
// so framed readers see a complete (but foreign) frame. `seed` advances.
Bytes GarbageLike(const Bytes& reply, std::uint32_t& seed);

inline constexpr std::size_t kOversizeLength = 300;

// The first half of `reply` (at least one byte): a reply cut off on the way.
Bytes ShortenedLike(const Bytes& reply);

Bytes OversizedLike(const Bytes& reply);

} // namespace vantel::sim
