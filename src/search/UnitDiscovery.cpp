#include "search/UnitDiscovery.h"

#include "comm/link/TraceMeaning.h"
#include "search/ModelQuery.h"
#include "search/TracingDatagramEndpoint.h"

#include <algorithm>
#include <chrono>

namespace vantel {

namespace {

// Waiting for the first reply takes longer than waiting for the next one.
constexpr int kFirstReplyWaitMs = 3000;
constexpr int kNextReplyWaitMs = 1000;
constexpr auto kProbePause = std::chrono::milliseconds(10);
// Longest single wait, so a cancelled search ends soon.
constexpr int kWaitSliceMs = 100;

} // namespace

UnitDiscovery::UnitDiscovery(const Clock& clock, const std::atomic<bool>* cancel) : clock_(clock), cancel_(cancel) {}

bool UnitDiscovery::search(DiscoveryTable& table, const DiscoverySettings& settings)
{
    table.reset(settings.timeoutMs);
    UdpSocket socket;
    if (socket.open(settings.adapter, 0, true) != 0)
        return false;
    UdpDatagramEndpoint endpoint(socket);
    return search(endpoint, table, settings);
}

bool UnitDiscovery::search(DatagramEndpoint& endpoint, DiscoveryTable& table, const DiscoverySettings& settings)
{
    TraceTarget target = TraceHub::process().target();
    if (!target)
        return run(endpoint, table, settings);
    TracingDatagramEndpoint traced(endpoint, std::move(target));
    trace_ = &traced;
    const bool found = run(traced, table, settings);
    trace_ = nullptr;
    return found;
}

void UnitDiscovery::noteReply(std::string_view meaning)
{
    if (trace_ != nullptr)
        trace_->noteReply(meaning);
}

bool UnitDiscovery::run(DatagramEndpoint& endpoint, DiscoveryTable& table, const DiscoverySettings& settings)
{
    table.reset(settings.timeoutMs);
    // A probe that cannot be sent simply finds nobody, as a probe nobody hears.
    endpoint.sendTo(settings.target, kProbe1);
    endpoint.pause(kProbePause);
    endpoint.sendTo(settings.target, kProbe2);
    endpoint.pause(kProbePause);
    if (!collectReplies(endpoint, table)) {
        table.reset(settings.timeoutMs);
        return false;
    }
    queryDetails(endpoint, table, settings);
    return true;
}

bool UnitDiscovery::collectReplies(DatagramEndpoint& endpoint, DiscoveryTable& table)
{
    std::int64_t deadline = clock_.nowMs() + kFirstReplyWaitMs;
    while (!table.full()) {
        const WaitResult wait = waitUntil(endpoint, deadline);
        if (wait == WaitResult::TimedOut)
            return true;
        if (wait == WaitResult::Failed)
            return false;
        std::array<std::uint8_t, kProbeReplyLength> reply{};
        std::size_t received = 0;
        DatagramAddress from;
        if (endpoint.receiveFrom(reply, received, from) != 0)
            continue;
        const auto probeReply = ClassifyProbeReply(std::span(reply).first(received));
        noteReply(!probeReply ? "not a probe reply: ignored"
                  : table.contains(from, probeReply->mac)
                      ? "probe reply again: already listed"
                      : "probe reply: family " + std::string(1, probeReply->family) + ", listed");
        // Only an accepted reply earns more time: stray datagrams cannot keep the search going.
        if (probeReply && !table.contains(from, probeReply->mac)) {
            table.append(*probeReply, from);
            deadline = clock_.nowMs() + kNextReplyWaitMs;
        }
    }
    return true;
}

void UnitDiscovery::queryDetails(DatagramEndpoint& endpoint, DiscoveryTable& table, const DiscoverySettings& settings)
{
    const ModelQuery query = modelQuery_ ? modelQuery_ : [adapter = settings.adapter](DiscoveryEntry& entry) {
        return QueryUnitModel(entry, adapter);
    };
    for (int i = 0; i < table.count() && !cancelled();) {
        DiscoveryEntry& entry = table.at(i);
        if (NeedsDetailQuery(entry.kind) && !queryDetail(endpoint, entry, settings.timeoutMs)) {
            table.remove(i);
            continue;
        }
        // A unit that does not tell its model here is asked again when it is added.
        if (settings.searchPort != 0 && settings.searchPort == entry.controlPort)
            query(entry);
        ++i;
    }
}

bool UnitDiscovery::queryDetail(DatagramEndpoint& endpoint, DiscoveryEntry& entry, int timeoutMs)
{
    const auto detail = ask(endpoint, entry.replyAddress, kDetailQuery, kDetailReplyLength, timeoutMs);
    if (!detail)
        return false;
    if (NeedsSecondDetailQuery(entry.family, entry.subLetter)) {
        entry.kind = DiscoveryKind::SerialLine;
        const auto second = ask(endpoint, entry.replyAddress, kSecondDetailQuery, kSecondDetailReplyLength, timeoutMs);
        if (!second)
            return false;
        if (SecondDetailMentionsGc(*second))
            entry.kind = DiscoveryKind::GcCapable;
    }
    const auto port = DetailControlPort(*detail, entry.kind);
    if (!port)
        return false;
    // Port 0 cannot be connected to; the unit then gets the usual control port.
    entry.controlPort = *port != 0 ? *port : kDefaultControlPort;
    return true;
}

std::optional<std::vector<std::uint8_t>> UnitDiscovery::ask(DatagramEndpoint& endpoint, const DatagramAddress& unit,
                                                            std::span<const std::uint8_t> query,
                                                            std::size_t replyLength, int timeoutMs)
{
    if (endpoint.sendTo(unit, query) != 0)
        return std::nullopt;
    const std::int64_t deadline = clock_.nowMs() + timeoutMs;
    std::vector<std::uint8_t> reply(replyLength);
    for (;;) {
        if (waitUntil(endpoint, deadline) != WaitResult::Ready) {
            if (trace_ != nullptr)
                trace_->noteEvent(unit, NoReplyMeaning(timeoutMs));
            return std::nullopt;
        }
        std::size_t received = 0;
        DatagramAddress from;
        if (endpoint.receiveFrom(reply, received, from) != 0)
            return std::nullopt;
        // Late probe replies and other units' answers share the socket; only this unit's reply counts.
        if (from == unit) {
            noteReply("detail reply");
            reply.resize(received);
            return reply;
        }
        noteReply("not from the unit asked: ignored");
    }
}

WaitResult UnitDiscovery::waitUntil(DatagramEndpoint& endpoint, std::int64_t deadline) const
{
    for (;;) {
        const std::int64_t left = deadline - clock_.nowMs();
        if (left <= 0 || cancelled())
            return WaitResult::TimedOut;
        const WaitResult result = endpoint.waitReadable(static_cast<int>(std::min<std::int64_t>(left, kWaitSliceMs)));
        if (result != WaitResult::TimedOut)
            return result;
    }
}

} // namespace vantel
