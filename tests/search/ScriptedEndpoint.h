#pragma once

#include "platform/Clock.h"
#include "search/DatagramEndpoint.h"

#include <deque>
#include <functional>
#include <vector>

namespace vantel::test {

using Datagram = std::vector<std::uint8_t>;

// A datagram socket whose peers are a script: `onSend` answers what the
// search sends, and waiting moves the manual clock instead of sleeping.
class ScriptedEndpoint : public DatagramEndpoint {
public:
    struct Incoming {
        DatagramAddress from;
        Datagram bytes;
    };

    explicit ScriptedEndpoint(ManualClock& clock) : clock_(clock) {}

    void arrive(DatagramAddress from, Datagram bytes) { incoming.push_back({from, std::move(bytes)}); }

    int sendTo(const DatagramAddress& to, std::span<const std::uint8_t> bytes) override
    {
        sent.push_back({to, Datagram(bytes.begin(), bytes.end())});
        if (onSend)
            onSend(to, sent.back().bytes);
        return 0;
    }
    WaitResult waitReadable(int timeoutMs) override
    {
        if (failWaits)
            return WaitResult::Failed;
        if (!incoming.empty())
            return WaitResult::Ready;
        clock_.advance(timeoutMs);
        return WaitResult::TimedOut;
    }
    void pause(std::chrono::milliseconds length) override { clock_.advance(length.count()); }
    int receiveFrom(std::span<std::uint8_t> into, std::size_t& received, DatagramAddress& from) override
    {
        const Incoming next = incoming.front();
        incoming.pop_front();
        received = std::min(into.size(), next.bytes.size());
        std::copy_n(next.bytes.begin(), received, into.begin());
        from = next.from;
        return 0;
    }

    std::deque<Incoming> incoming;
    std::vector<Incoming> sent; // `from` holds the destination here
    std::function<void(const DatagramAddress&, const Datagram&)> onSend;
    bool failWaits = false;

private:
    ManualClock& clock_;
};

} // namespace vantel::test
