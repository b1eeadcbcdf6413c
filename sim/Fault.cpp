#include "Fault.h"

#include "NameTable.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vantel::sim {
namespace {

constexpr std::array<std::pair<Fault, std::string_view>, 9> kNames{{
    {Fault::None, "none"},
    {Fault::NoReply, "no-reply"},
    {Fault::StaleEcho, "stale-echo"},
    {Fault::Garbage, "garbage"},
    {Fault::OversizeFrame, "oversize"},
    {Fault::DropConnection, "drop"},
    {Fault::Restart, "restart"},
    {Fault::Echo, "echo"},
    {Fault::ShortReply, "short"},
}};

std::uint8_t NextNoise(std::uint32_t& seed)
{
    seed = seed * 1664525u + 1013904223u;
    // Never the terminator, so the garbage cannot end a frame early.
    return static_cast<std::uint8_t>((seed >> 24) % kTerminator);
}

} // namespace

std::optional<Fault> ParseFault(std::string_view name)
{
    return ValueNamed<Fault>(kNames, name);
}

std::string_view FaultName(Fault fault)
{
    return NameOf(kNames, fault);
}

Bytes GarbageLike(const Bytes& reply, std::uint32_t& seed)
{
    Bytes noise(reply.size());
    for (auto& byte : noise)
        byte = NextNoise(seed);
    if (!reply.empty() && reply.back() == kTerminator)
        noise.back() = kTerminator;
    return noise;
}

Bytes OversizedLike(const Bytes& reply)
{
    Bytes frame(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(reply.size(), 2)));
    frame.resize(kOversizeLength, '0');
    return frame;
}

} // namespace vantel::sim

namespace vantel::sim {

Bytes ShortenedLike(const Bytes& reply)
{
    const std::size_t kept = std::max<std::size_t>(1, reply.size() / 2);
    return Bytes(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(std::min(kept, reply.size())));
}

} // namespace vantel::sim
