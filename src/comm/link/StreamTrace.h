#pragma once

#include "comm/link/TraceHub.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace vantel {

// The trace of one link: stamps and labels its records and holds the bytes
// of a reply under way until the layer that parses it says what they meant.
// Sends may come from any thread; the held reply belongs to the reading one.
class StreamTrace {
public:
    // ByNode: the gateway link, whose frames start with their node's two hex
    // digits; the unit of each record names the node ("GW host:port #03").
    enum class Units { Fixed, ByNode };

    StreamTrace(TraceTarget target, std::string unit, Units units = Units::Fixed);

    // A frame about to be written: recorded before it goes, so its reply,
    // which another thread may record, comes after it. Reply bytes still
    // held were never taken as a reply: they are recorded first.
    void sent(std::span<const std::uint8_t> bytes);
    // Bytes read; held as the reply under way.
    void received(std::span<const std::uint8_t> bytes);
    // The held bytes as one received record with `meaning` (an event when
    // none arrived); nothing is held afterwards. Without a send since the
    // last reply and with nothing held, there was no exchange: no record.
    void endReply(std::string_view meaning);
    // A whole frame cut by the reader (the gateway's receive thread).
    void receivedFrame(std::string_view frame, std::string_view meaning);
    void event(std::string_view meaning);
    // An event of one node behind the gateway (its reply never came).
    void nodeEvent(int node, std::string_view meaning);

    // The bytes of the reply under way.
    std::string held() const;
    const std::string& unit() const { return unit_; }

private:
    void put(TraceDirection direction, std::string_view bytes, std::string_view meaning, std::int64_t wallMs,
             std::string unit);
    std::string unitOf(std::string_view frame) const;

    const TraceTarget target_;
    const std::string unit_;
    const Units units_;
    mutable std::mutex mutex_;
    std::string held_;
    std::int64_t heldSinceMs_ = 0;
    bool awaitingReply_ = false;
};

// Meaning of bytes that arrived between two exchanges and were thrown away.
inline constexpr std::string_view kStaleInputMeaning = "not read as a reply: dropped before the next command";

} // namespace vantel
