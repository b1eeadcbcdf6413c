#pragma once

#include "comm/link/TraceHub.h"
#include "search/DatagramEndpoint.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantel {

// The search's datagrams recorded as they go, in front of its real endpoint,
// under "udp a.b.c.d:port" of the peer. A received datagram is held until
// the search says what it made of it (noteReply), so its record carries
// that meaning; one never explained is recorded when the next arrives or
// the search ends.
class TracingDatagramEndpoint final : public DatagramEndpoint {
public:
    TracingDatagramEndpoint(DatagramEndpoint& inner, TraceTarget target);
    ~TracingDatagramEndpoint() override;
    TracingDatagramEndpoint(const TracingDatagramEndpoint&) = delete;
    TracingDatagramEndpoint& operator=(const TracingDatagramEndpoint&) = delete;

    int sendTo(const DatagramAddress& to, std::span<const std::uint8_t> bytes) override;
    WaitResult waitReadable(int timeoutMs) override { return inner_.waitReadable(timeoutMs); }
    int receiveFrom(std::span<std::uint8_t> into, std::size_t& received, DatagramAddress& from) override;
    void pause(std::chrono::milliseconds length) override { inner_.pause(length); }

    void noteReply(std::string_view meaning);
    // An event of the search's own (a detail query that went unanswered).
    void noteEvent(const DatagramAddress& peer, std::string_view meaning);

private:
    void record(const DatagramAddress& peer, TraceDirection direction, std::string bytes, std::string_view meaning);

    DatagramEndpoint& inner_;
    const TraceTarget target_;
    struct Held {
        DatagramAddress from;
        std::string bytes;
        std::int64_t wallMs = 0;
    };
    std::optional<Held> held_;
};

// "udp a.b.c.d:port".
std::string DatagramUnit(const DatagramAddress& peer);

} // namespace vantel
