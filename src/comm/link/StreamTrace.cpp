#include "comm/link/StreamTrace.h"

#include "comm/protocol/AsciiCodec.h"

#include <cctype>
#include <utility>

namespace vantel {

namespace {

std::string_view AsText(std::span<const std::uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace

StreamTrace::StreamTrace(TraceTarget target, std::string unit, Units units)
    : target_(std::move(target)), unit_(std::move(unit)), units_(units)
{
}

void StreamTrace::put(TraceDirection direction, std::string_view bytes, std::string_view meaning, std::int64_t wallMs,
                      std::string unit)
{
    target_.sink->record(TraceRecord{wallMs, std::move(unit), direction, std::string(bytes), std::string(meaning)});
}

std::string StreamTrace::unitOf(std::string_view frame) const
{
    if (units_ == Units::Fixed || frame.size() < 2 || !std::isxdigit(static_cast<unsigned char>(frame[0])) ||
        !std::isxdigit(static_cast<unsigned char>(frame[1])))
        return unit_;
    return unit_ + " #" + std::string(frame.substr(0, 2));
}

void StreamTrace::sent(std::span<const std::uint8_t> bytes)
{
    std::string stale;
    std::int64_t staleMs = 0;
    {
        const std::lock_guard lock(mutex_);
        stale.swap(held_);
        staleMs = heldSinceMs_;
        awaitingReply_ = true;
    }
    if (!stale.empty())
        put(TraceDirection::Received, stale, kStaleInputMeaning, staleMs, unitOf(stale));
    put(TraceDirection::Sent, AsText(bytes), {}, target_.wallMs(), unitOf(AsText(bytes)));
}

void StreamTrace::received(std::span<const std::uint8_t> bytes)
{
    const std::lock_guard lock(mutex_);
    if (held_.empty())
        heldSinceMs_ = target_.wallMs();
    held_.append(AsText(bytes));
}

void StreamTrace::endReply(std::string_view meaning)
{
    std::string reply;
    std::int64_t wallMs = 0;
    {
        const std::lock_guard lock(mutex_);
        if (!awaitingReply_ && held_.empty())
            return;
        awaitingReply_ = false;
        reply.swap(held_);
        wallMs = reply.empty() ? target_.wallMs() : heldSinceMs_;
    }
    put(reply.empty() ? TraceDirection::Event : TraceDirection::Received, reply, meaning, wallMs, unitOf(reply));
}

void StreamTrace::receivedFrame(std::string_view frame, std::string_view meaning)
{
    put(TraceDirection::Received, frame, meaning, target_.wallMs(), unitOf(frame));
}

void StreamTrace::event(std::string_view meaning)
{
    put(TraceDirection::Event, {}, meaning, target_.wallMs(), unit_);
}

void StreamTrace::nodeEvent(int node, std::string_view meaning)
{
    put(TraceDirection::Event, {}, meaning, target_.wallMs(), unitOf(ascii::codec::Hex(node, 2)));
}

std::string StreamTrace::held() const
{
    const std::lock_guard lock(mutex_);
    return held_;
}

} // namespace vantel
