#pragma once

#include "platform/Clock.h"
#include "search/DatagramEndpoint.h"
#include "search/DiscoveryTable.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace vantel {

struct DiscoverySettings {
    Ipv4Address adapter = kAnyAddress; // every socket of the search binds to it
    DatagramAddress target{kLimitedBroadcast, kDiscoveryPort};
    int timeoutMs = 3000;
    // When not 0, units whose control port is this one are asked for their model.
    int searchPort = 0;
};

// Finds units on the network: probes, collects the replies into the table,
// asks each unit for its details and drops those that do not answer.
class TracingDatagramEndpoint;

// While the process traces, every datagram and what the search made of it
// is recorded (TracingDatagramEndpoint).
class UnitDiscovery {
public:
    using ModelQuery = std::function<bool(DiscoveryEntry&)>;

    // `cancel` (optional) ends a running search early, keeping what was found.
    explicit UnitDiscovery(const Clock& clock = SteadyClock::instance(), const std::atomic<bool>* cancel = nullptr);

    // Replaces the TCP model query run for units on the search port.
    void setModelQuery(ModelQuery query) { modelQuery_ = std::move(query); }

    // Opens a UDP socket on the adapter and searches. False when the socket
    // cannot be had or waiting for replies fails; the table is then empty.
    bool search(DiscoveryTable& table, const DiscoverySettings& settings);
    bool search(DatagramEndpoint& endpoint, DiscoveryTable& table, const DiscoverySettings& settings);

private:
    bool run(DatagramEndpoint& endpoint, DiscoveryTable& table, const DiscoverySettings& settings);
    // Says what the last datagram received was, when tracing.
    void noteReply(std::string_view meaning);
    bool collectReplies(DatagramEndpoint& endpoint, DiscoveryTable& table);
    void queryDetails(DatagramEndpoint& endpoint, DiscoveryTable& table, const DiscoverySettings& settings);
    bool queryDetail(DatagramEndpoint& endpoint, DiscoveryEntry& entry, int timeoutMs);
    std::optional<std::vector<std::uint8_t>> ask(DatagramEndpoint& endpoint, const DatagramAddress& unit,
                                                 std::span<const std::uint8_t> query, std::size_t replyLength,
                                                 int timeoutMs);
    WaitResult waitUntil(DatagramEndpoint& endpoint, std::int64_t deadline) const;
    bool cancelled() const { return cancel_ != nullptr && cancel_->load(); }

    const Clock& clock_;
    const std::atomic<bool>* cancel_;
    ModelQuery modelQuery_;
    TracingDatagramEndpoint* trace_ = nullptr; // during a traced search
};

} // namespace vantel
