// Feeds arbitrary datagrams to the unit search: the classifier and detail
// parsers directly, then a whole search whose replies (probe replies, detail
// replies, strays from other addresses) all come from the input.
#include "platform/Clock.h"
#include "search/DiscoveryDatagrams.h"
#include "search/DiscoveryTexts.h"
#include "search/FoundUnit.h"
#include "search/UnitDiscovery.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

using namespace vantel;

namespace {

// Splits the input into datagrams: one length byte, then that many bytes
// (fewer at the end). The length byte's top bits pick one of four senders.
struct Datagrams {
    struct One {
        DatagramAddress from;
        std::vector<std::uint8_t> bytes;
    };
    std::deque<One> queue;

    Datagrams(const std::uint8_t* data, std::size_t size)
    {
        std::size_t at = 0;
        while (at < size) {
            const std::uint8_t head = data[at++];
            const std::size_t length = std::min<std::size_t>((head & 0x3F) * 3, size - at);
            std::vector<std::uint8_t> bytes(data + at, data + at + length);
            at += length;
            // Dress every other datagram as a plausible reply so the later stages run too.
            if ((head & 0x40) != 0 && bytes.size() > 9)
                bytes[8] = (head & 0x80) != 0 ? '_' : 'X';
            queue.push_back({{0x0100007Fu + (static_cast<Ipv4Address>(head >> 6) << 24), 30718}, std::move(bytes)});
        }
    }
};

class ReplayEndpoint : public DatagramEndpoint {
public:
    ReplayEndpoint(Datagrams& input, ManualClock& clock) : input_(input), clock_(clock) {}
    int sendTo(const DatagramAddress&, std::span<const std::uint8_t>) override { return 0; }
    WaitResult waitReadable(int timeoutMs) override
    {
        if (!input_.queue.empty())
            return WaitResult::Ready;
        clock_.advance(timeoutMs);
        return WaitResult::TimedOut;
    }
    void pause(std::chrono::milliseconds length) override { clock_.advance(length.count()); }
    int receiveFrom(std::span<std::uint8_t> into, std::size_t& received, DatagramAddress& from) override
    {
        const Datagrams::One next = std::move(input_.queue.front());
        input_.queue.pop_front();
        received = std::min(into.size(), next.bytes.size());
        std::copy_n(next.bytes.begin(), received, into.begin());
        from = next.from;
        return 0;
    }

private:
    Datagrams& input_;
    ManualClock& clock_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> whole(data, size);
    if (const auto reply = ClassifyProbeReply(whole))
        MacText(reply->mac);
    for (int kind = DiscoveryKind::Plain; kind <= DiscoveryKind::ThirdWireless; ++kind)
        DetailControlPort(whole, kind);
    SecondDetailMentionsGc(whole);

    Datagrams input(data, size);
    ManualClock clock;
    ReplayEndpoint endpoint(input, clock);
    DiscoveryTable table;
    UnitDiscovery discovery(clock);
    discovery.setModelQuery([](DiscoveryEntry& entry) {
        entry.modelCode = entry.mac[0];
        return true;
    });
    DiscoverySettings settings;
    settings.searchPort = data != nullptr && size > 0 ? data[0] : 0;
    discovery.search(endpoint, table, settings);
    for (int i = 0; i < table.count(); ++i) {
        DiscoveryEntry& entry = table.at(i);
        ModelColumnText(entry);
        SettleGcKind(entry);
        ProposedConnection(entry);
    }
    return 0;
}
