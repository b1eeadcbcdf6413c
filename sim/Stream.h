#pragma once

#include "Bytes.h"

#include <chrono>
#include <optional>
#include <string_view>

namespace vantel::sim {

// What a hostile unit sends by itself from the moment a client connects,
// whatever it is asked. Such a unit takes commands and never answers them.
enum class Stream {
    None,
    WrongEcho,   // "zz00" and 0xC8: frames that answer no command
    Terminators, // lone 0xC8 bytes
    Trickle,     // one byte that is never a terminator
    Flood,       // wrong-echo frames as fast as the connection takes them
};

std::optional<Stream> ParseStream(std::string_view name);
std::string_view StreamName(Stream stream);

// How often the stream sends when nothing else is asked for: every 50 ms for
// frames and terminators, a byte a second, and a flood every millisecond.
std::chrono::milliseconds DefaultStreamInterval(Stream stream);

// The bytes sent each time.
Bytes StreamChunk(Stream stream);

} // namespace vantel::sim
