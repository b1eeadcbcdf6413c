#include "Stream.h"

#include "NameTable.h"

#include <array>
#include <utility>

namespace vantel::sim {
namespace {

constexpr std::array<std::pair<Stream, std::string_view>, 5> kNames{{
    {Stream::None, "none"},
    {Stream::WrongEcho, "wrong-echo"},
    {Stream::Terminators, "terminators"},
    {Stream::Trickle, "trickle"},
    {Stream::Flood, "flood"},
}};

// Enough per turn of the unit's loop to keep a reader busy for good.
constexpr std::size_t kFloodChunk = 16 * 1024;

Bytes WrongEchoFrame()
{
    Bytes frame;
    AppendText(frame, "zz00");
    frame.push_back(kTerminator);
    return frame;
}

} // namespace

std::optional<Stream> ParseStream(std::string_view name)
{
    return ValueNamed<Stream>(kNames, name);
}

std::string_view StreamName(Stream stream)
{
    return NameOf(kNames, stream);
}

std::chrono::milliseconds DefaultStreamInterval(Stream stream)
{
    switch (stream) {
    case Stream::Trickle:
        return std::chrono::milliseconds(1000);
    case Stream::Flood:
        return std::chrono::milliseconds(1);
    default:
        return std::chrono::milliseconds(50);
    }
}

Bytes StreamChunk(Stream stream)
{
    switch (stream) {
    case Stream::WrongEcho:
        return WrongEchoFrame();
    case Stream::Terminators:
        return Bytes{kTerminator};
    case Stream::Trickle:
        return Bytes{'0'};
    case Stream::Flood: {
        const Bytes frame = WrongEchoFrame();
        Bytes chunk;
        while (chunk.size() + frame.size() <= kFloodChunk)
            chunk.insert(chunk.end(), frame.begin(), frame.end());
        return chunk;
    }
    case Stream::None:
        break;
    }
    return {};
}

} // namespace vantel::sim
