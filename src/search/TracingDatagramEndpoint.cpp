#include "search/TracingDatagramEndpoint.h"

#include <utility>

namespace vantel {

namespace {

std::string BytesOf(std::span<const std::uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace

std::string DatagramUnit(const DatagramAddress& peer)
{
    // The address is in network byte order: its first byte in memory is the first number.
    const auto* octets = reinterpret_cast<const std::uint8_t*>(&peer.address);
    return "udp " + std::to_string(octets[0]) + "." + std::to_string(octets[1]) + "." + std::to_string(octets[2]) +
           "." + std::to_string(octets[3]) + ":" + std::to_string(peer.port);
}

TracingDatagramEndpoint::TracingDatagramEndpoint(DatagramEndpoint& inner, TraceTarget target)
    : inner_(inner), target_(std::move(target))
{
}

TracingDatagramEndpoint::~TracingDatagramEndpoint()
{
    noteReply("");
}

void TracingDatagramEndpoint::record(const DatagramAddress& peer, TraceDirection direction, std::string bytes,
                                     std::string_view meaning)
{
    target_.sink->record(
        TraceRecord{target_.wallMs(), DatagramUnit(peer), direction, std::move(bytes), std::string(meaning)});
}

int TracingDatagramEndpoint::sendTo(const DatagramAddress& to, std::span<const std::uint8_t> bytes)
{
    const int error = inner_.sendTo(to, bytes);
    record(to, TraceDirection::Sent, BytesOf(bytes), error == 0 ? "" : "send failed: code " + std::to_string(error));
    return error;
}

int TracingDatagramEndpoint::receiveFrom(std::span<std::uint8_t> into, std::size_t& received, DatagramAddress& from)
{
    noteReply("");
    const int error = inner_.receiveFrom(into, received, from);
    if (error == 0)
        held_ = Held{from, BytesOf(into.first(received)), target_.wallMs()};
    return error;
}

void TracingDatagramEndpoint::noteReply(std::string_view meaning)
{
    if (!held_)
        return;
    Held held = std::move(*held_);
    held_.reset();
    target_.sink->record(TraceRecord{held.wallMs, DatagramUnit(held.from), TraceDirection::Received,
                                     std::move(held.bytes), std::string(meaning)});
}

void TracingDatagramEndpoint::noteEvent(const DatagramAddress& peer, std::string_view meaning)
{
    record(peer, TraceDirection::Event, {}, meaning);
}

} // namespace vantel
